#pragma once
// The AMR-NB codec behind the VOX frame record. The codec library speaks
// storage frames (a type byte, then the bits in order of importance); a VOX
// message carries the same bits in parameter order, most significant first.
// Homing (TS 26.073) is done here: the library has none.
//
// These carry the reference interface names, which the codec library exports
// too: hence the namespace. Each takes the run's frame record; Init and Exit
// own VoxFrame::state.
#include "VoxFrame.h"

namespace PlexaAmr {
// TX frame types of the encoder and their RX counterparts in a message.
enum TxType
{
    TX_SPEECH_GOOD = 0,
    TX_SID_FIRST = 1,
    TX_SID_UPDATE = 2,
    TX_NO_DATA = 3
};

enum RxType
{
    RX_SPEECH_GOOD = 0,
    RX_SPEECH_DEGRADED = 1,
    RX_ONSET = 2,
    RX_SPEECH_BAD = 3,
    RX_SID_FIRST = 4,
    RX_SID_UPDATE = 5,
    RX_SID_BAD = 6,
    RX_NO_DATA = 7
};

// 0 on success, 1 when a state cannot be made.
int Encoder_Interface_init(VoxFrame& frame);
// Codes frame.samples in the mode of the record's vocoder id into words and
// flags. 0, or -1 when the frame type has no RX counterpart.
int Encoder_Interface_Encode(VoxFrame& frame);
int Encoder_Interface_exit(VoxFrame& frame);

int Decoder_Interface_init(VoxFrame& frame);
// Decodes the message in words and flags into frame.samples. A frame that
// cannot be taken as sent (bad, too short for its mode, of another vocoder)
// is decoded as a lost one, which the codec conceals.
int Decoder_Interface_Decode(VoxFrame& frame);
int Decoder_Interface_exit(VoxFrame& frame);

// The RX type of a TX type; an unknown one is logged, gives RX_NO_DATA and
// sets ok to false.
int tx_to_rx(int txType, bool* ok = nullptr);

// Parameter-order bits <-> codec parameters of a mode (0..7, or 8 for SID).
void AmrParametersToBits(int mode, const uint16_t* parameters, uint8_t* bits);
void AmrBitsToParameters(int mode, const uint8_t* bits, uint16_t* parameters);
} // namespace PlexaAmr
