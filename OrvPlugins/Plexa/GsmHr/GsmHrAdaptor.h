#pragma once
// The half-rate codec behind the VOX frame record (vocoder id 2): homing,
// SID classification, the transmit DTX schedule with its time alignment
// flag, and the 112 frame bits in a 9-word message. Each operation takes the
// run's frame record; Init creates the run's state in VoxFrame::state and
// Release frees it. Init starts the TAF counter and the DTX state at 1 and
// the decoder's homing flag at 1, so that equal input gives equal bytes.
#include "VoxFrame.h"

#include <cstdint>

int GsmHrEncoderInit(VoxFrame& frame);
// 0, or 1 when the frame classified as an invalid SID (logged; the frame is
// still written as a speech message of RX type 1).
int GsmHrEncodeFrame(VoxFrame& frame);
int GsmHrEncoderRelease(VoxFrame& frame);

int GsmHrDecoderInit(VoxFrame& frame);
// A message with bfi set, or too short, or naming another vocoder, decodes as
// a bad frame.
int GsmHrDecoderRelease(VoxFrame& frame);
int GsmHrDecodeFrame(VoxFrame& frame);

// The transmit side after the speech encoder: the frame's 18 parameters into
// the record's message and flags by the TAF and DTX schedule. `tafCounter`
// and `dtxState` carry from frame to frame. Returns 1 for an invalid SID.
int GsmHrScheduleFrame(const int16_t* params, int& tafCounter, int& dtxState, VoxFrame& frame);
