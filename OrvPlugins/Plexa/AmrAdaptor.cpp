#include "AmrAdaptor.h"

#include "AmrTables.h"
#include "PlexaLog.h"
#include "VoxBits.h"
#include "VoxVocoders.h"

#include <opencore-amrnb/interf_dec.h>
#include <opencore-amrnb/interf_enc.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace PlexaAmr {
namespace {
// A storage frame: the type byte, then at most 244 bits.
constexpr int kStorageBytes = 1 + (kMaxBits + 7) / 8;
constexpr uint8_t kNoDataStorage = 0x7C;
constexpr int16_t kHomingSample = 0x0008;
// Storage position of the SID frame's type indicator, then its three-bit mode
// indication, least significant bit first.
constexpr int kStiBit = 35;
constexpr int kModeIndicationBit = 36;

struct AmrEncoderState
{
    void* codec = nullptr;
    int dtx = 0;
};

struct AmrDecoderState
{
    void* codec = nullptr;
    bool previousHoming = true;
    int previousRx = RX_SPEECH_GOOD;
    int previousMode = 0;
};

inline int StorageBit(const uint8_t* storage, int i)
{
    return (storage[1 + (i >> 3)] >> (7 - (i & 7))) & 1;
}

inline void SetStorageBit(uint8_t* storage, int i)
{
    storage[1 + (i >> 3)] = uint8_t(storage[1 + (i >> 3)] | (0x80 >> (i & 7)));
}

bool IsEncoderHomingFrame(const int16_t* samples)
{
    return std::all_of(samples, samples + kVoxFrameSamples, [](int16_t s) { return s == kHomingSample; });
}

// The decoder homing frame of each mode as VOX payload words, so that a
// message is compared with it word by word.
struct HomingPayload
{
    uint16_t words[16];
    int firstSubframeBits;
};

const HomingPayload& HomingOf(int mode)
{
    static const struct Payloads
    {
        Payloads()
        {
            for (int m = 0; m < kModeCount; ++m) {
                const AmrModeTable& table = ModeTable(m);
                uint8_t bits[kMaxBits] = {};
                AmrParametersToBits(m, table.homing, bits);
                std::fill(all[m].words, all[m].words + 16, uint16_t(0));
                PackBits(table.bits, bits, all[m].words);
                all[m].firstSubframeBits = 0;
                for (int p = 0; p < table.firstSubframe; ++p)
                    all[m].firstSubframeBits += table.widths[p];
            }
        }
        HomingPayload all[kModeCount];
    } payloads;
    return payloads.all[mode];
}

// Whether the first `bits` payload bits equal those of the homing frame.
bool MatchesHoming(int mode, const uint16_t* payload, int bits)
{
    const uint16_t* homing = HomingOf(mode).words;
    const int whole = bits / 16;
    if (!std::equal(payload, payload + whole, homing))
        return false;
    const uint16_t mask = uint16_t((1u << (bits % 16)) - 1);
    return ((payload[whole] ^ homing[whole]) & mask) == 0;
}

int VoxMode(const VoxFrame& frame)
{
    return VoxFlags::VocoderId(frame.flags) & 0x07;
}
} // namespace

void AmrParametersToBits(int mode, const uint16_t* parameters, uint8_t* bits)
{
    const AmrModeTable& table = ModeTable(mode);
    for (int p = 0; p < table.parameters; ++p) {
        ValueToBits(parameters[p], table.widths[p], bits);
        bits += table.widths[p];
    }
}

void AmrBitsToParameters(int mode, const uint8_t* bits, uint16_t* parameters)
{
    const AmrModeTable& table = ModeTable(mode);
    for (int p = 0; p < table.parameters; ++p) {
        parameters[p] = uint16_t(BitsToValue(table.widths[p], bits));
        bits += table.widths[p];
    }
}

int tx_to_rx(int txType, bool* ok)
{
    static const int kRx[8] = {RX_SPEECH_GOOD,     RX_SID_FIRST,  RX_SID_UPDATE, RX_NO_DATA,
                               RX_SPEECH_DEGRADED, RX_SPEECH_BAD, RX_SID_BAD,    RX_ONSET};
    if (ok)
        *ok = txType >= 0 && txType < 8;
    if (txType >= 0 && txType < 8)
        return kRx[txType];
    LogError(QStringLiteral("tx_to_rx: unknown TX frame type %1\n").arg(txType));
    return RX_NO_DATA;
}

int Encoder_Interface_init(VoxFrame& frame)
{
    if (frame.state)
        Encoder_Interface_exit(frame);
    AmrEncoderState* state = new (std::nothrow) AmrEncoderState;
    if (!state) {
        LogError(QStringLiteral("Encoder_Interface_init: can not malloc state structure\n"));
        return 1;
    }
    state->dtx = frame.dtx ? 1 : 0;
    state->codec = ::Encoder_Interface_init(state->dtx);
    if (!state->codec) {
        delete state;
        LogError(QStringLiteral("Encoder_Interface_init: can not malloc state structure\n"));
        return 1;
    }
    frame.state = state;
    return 0;
}

int Encoder_Interface_exit(VoxFrame& frame)
{
    AmrEncoderState* state = static_cast<AmrEncoderState*>(frame.state);
    if (state) {
        ::Encoder_Interface_exit(state->codec);
        delete state;
        frame.state = nullptr;
    }
    return 0;
}

int Encoder_Interface_Encode(VoxFrame& frame)
{
    AmrEncoderState* state = static_cast<AmrEncoderState*>(frame.state);
    if (!state || !state->codec)
        return -1;
    const int mode = VoxMode(frame);
    uint8_t bits[kMaxBits] = {};
    int usedMode = mode;
    int txType = TX_SPEECH_GOOD;

    if (IsEncoderHomingFrame(frame.samples)) {
        // The answer to an encoder homing frame is the start of the decoder
        // homing frame, then a fresh encoder with a fresh DTX schedule.
        const AmrModeTable& table = ModeTable(mode);
        uint16_t parameters[kMaxParameters] = {};
        std::copy(table.homing, table.homing + table.firstSubframe, parameters);
        AmrParametersToBits(mode, parameters, bits);
        ::Encoder_Interface_exit(state->codec);
        state->codec = ::Encoder_Interface_init(state->dtx);
        if (!state->codec)
            return -1;
    } else {
        // The library writes its filtered input back into the buffer it is given.
        int16_t speech[kVoxFrameSamples];
        std::memcpy(speech, frame.samples, sizeof(speech));
        uint8_t storage[kStorageBytes] = {};
        ::Encoder_Interface_Encode(state->codec, static_cast<enum Mode>(mode), speech, storage, 0);
        const int frameType = (storage[0] >> 3) & 0x0F;
        if (frameType < kModeCount) {
            usedMode = frameType;
            const AmrModeTable& table = ModeTable(usedMode);
            for (int i = 0; i < table.bits; ++i)
                bits[table.sort[i]] = uint8_t(StorageBit(storage, i));
        } else if (frameType == kModeSid) {
            usedMode = kModeSid;
            txType = StorageBit(storage, kStiBit) ? TX_SID_UPDATE : TX_SID_FIRST;
            for (int i = 0; i < kSidBits; ++i)
                bits[i] = uint8_t(StorageBit(storage, i));
        } else {
            usedMode = kModeNoData;
            txType = TX_NO_DATA;
        }
    }

    bool mapped = true;
    const int rxType = tx_to_rx(txType, &mapped);
    if (!mapped)
        return -1;

    std::memset(frame.words + 1, 0, sizeof(frame.words) - sizeof(frame.words[0]));
    int length = 2;
    if (rxType == RX_SPEECH_GOOD || rxType == RX_SID_UPDATE) {
        const AmrModeTable& table = ModeTable(usedMode);
        PackBits(table.bits, bits, frame.words + 1);
        length = table.payloadWords + 1;
        // A SID_UPDATE message keeps the first 32 of its 35 bits: its third
        // payload word is the flag word.
        if (rxType == RX_SID_UPDATE)
            frame.words[3] = 0;
    }
    frame.words[0] = VoxHeader(length);
    uint16_t flags = frame.flags & uint16_t(~(VoxFlags::kBfi | VoxFlags::kTaf | VoxFlags::kUfi));
    flags = VoxFlags::WithVocoderId(flags, VocoderAmrFirst + mode);
    frame.flags = VoxFlags::WithRxType(flags, rxType);
    return 0;
}

int Decoder_Interface_init(VoxFrame& frame)
{
    if (frame.state)
        Decoder_Interface_exit(frame);
    AmrDecoderState* state = new (std::nothrow) AmrDecoderState;
    if (!state) {
        LogError(QStringLiteral("Decoder_Interface_init: can not malloc state structure\n"));
        return 1;
    }
    state->codec = ::Decoder_Interface_init();
    if (!state->codec) {
        delete state;
        return 1;
    }
    frame.state = state;
    return 0;
}

int Decoder_Interface_exit(VoxFrame& frame)
{
    AmrDecoderState* state = static_cast<AmrDecoderState*>(frame.state);
    if (state) {
        ::Decoder_Interface_exit(state->codec);
        delete state;
        frame.state = nullptr;
    }
    return 0;
}

int Decoder_Interface_Decode(VoxFrame& frame)
{
    AmrDecoderState* state = static_cast<AmrDecoderState*>(frame.state);
    if (!state || !state->codec)
        return 1;
    const int vocoder = VoxFlags::VocoderId(frame.flags);
    const bool amrMessage = IsAmrVocoder(vocoder);
    const int payloadWords = VoxMessageLength(frame) - 1;
    int rxType = VoxFlags::RxType(frame.flags);
    int mode = rxType >= RX_SID_FIRST ? kModeSid : VoxMode(frame);
    if (rxType == RX_SPEECH_BAD) {
        if (state->previousRx > RX_SPEECH_BAD) {
            mode = kModeSid;
            rxType = RX_SID_BAD;
        } else {
            mode = state->previousMode;
        }
    } else if (rxType == RX_NO_DATA) {
        mode = state->previousMode;
    }

    // The library's one input for a frame it cannot use is NO_DATA, which it
    // conceals; every frame not taken as sent goes to it that way.
    uint8_t storage[kStorageBytes] = {kNoDataStorage};
    bool speechUnpacked = false;
    if (VoxFlags::Bfi(frame.flags)) {
        rxType = mode < kModeSid ? RX_SPEECH_BAD : RX_SID_BAD;
    } else if (amrMessage && rxType == RX_SPEECH_GOOD && payloadWords >= ModeTable(mode).payloadWords) {
        const AmrModeTable& table = ModeTable(mode);
        const uint16_t* payload = frame.words + 1;
        storage[0] = uint8_t((mode << 3) | 0x04);
        // Storage bits in order of importance, eight to a byte, first bit highest.
        for (int i = 0; i < table.bits; i += 8) {
            const int end = std::min(i + 8, table.bits);
            unsigned byte = 0;
            for (int j = i; j < end; ++j) {
                const int bit = table.sort[j];
                byte |= ((payload[bit >> 4] >> (bit & 15)) & 1u) << (7 - (j - i));
            }
            storage[1 + (i >> 3)] = uint8_t(byte);
        }
        speechUnpacked = true;
    } else if (amrMessage && (rxType == RX_SID_FIRST || (rxType == RX_SID_UPDATE && payloadWords >= 3))) {
        storage[0] = uint8_t((kModeSid << 3) | 0x04);
        if (rxType == RX_SID_UPDATE) {
            // Only 32 of the 35 bits travel; the rest are taken as 0.
            uint8_t bits[32];
            UnpackBits(32, frame.words + 1, bits);
            for (int i = 0; i < 32; ++i)
                if (bits[i])
                    SetStorageBit(storage, i);
            SetStorageBit(storage, kStiBit);
        }
        const int indication = AmrModeOf(vocoder);
        for (int b = 0; b < 3; ++b)
            if ((indication >> b) & 1)
                SetStorageBit(storage, kModeIndicationBit + b);
    }

    // Only a speech frame unpacked from its own message can be a homing
    // frame: nothing is left over from an earlier frame to compare.
    bool homing = false;
    if (state->previousHoming && speechUnpacked
        && MatchesHoming(mode, frame.words + 1, HomingOf(mode).firstSubframeBits)) {
        homing = true;
        std::fill(frame.samples, frame.samples + kVoxFrameSamples, kHomingSample);
    } else {
        ::Decoder_Interface_Decode(state->codec, storage, frame.samples, 0);
        if (!state->previousHoming && speechUnpacked)
            homing = MatchesHoming(mode, frame.words + 1, ModeTable(mode).bits);
    }
    if (homing) {
        ::Decoder_Interface_exit(state->codec);
        state->codec = ::Decoder_Interface_init();
        if (!state->codec)
            return 1;
    }
    state->previousHoming = homing;
    state->previousRx = rxType;
    state->previousMode = mode;
    return 0;
}
} // namespace PlexaAmr
