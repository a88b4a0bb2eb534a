#pragma once
// The codec's operations by their names, on the run's encoder and decoder
// objects; the homing tests are in GsmHrFrame.h.
#include "GsmHrDecoder.h"
#include "GsmHrEncoder.h"

// One frame: 160 samples in, 18 speech parameters plus the VAD and SP flags out.
inline void GsmHrEncode(GsmHrEncoder& encoder, const int16_t* samples, int16_t* out)
{
    encoder.Encode(samples, out);
}

// One frame: 18 parameters, bfi, ufi, SID class and taf in, 160 samples out.
inline void GsmHrDecode(GsmHrDecoder& decoder, const int16_t* in, int16_t* samples)
{
    decoder.Decode(in, samples);
}

inline void GsmHrResetEncoder(GsmHrEncoder& encoder)
{
    encoder.Reset();
}
inline void GsmHrResetDecoder(GsmHrDecoder& decoder)
{
    decoder.Reset();
}
