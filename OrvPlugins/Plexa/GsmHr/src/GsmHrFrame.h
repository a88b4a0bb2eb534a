#pragma once
// The half-rate frame on the wire: where each of the 18 speech parameters'
// bits sits among the 112 frame bits, the SID classification of a received
// frame and the homing patterns.
#include <cstdint>

constexpr int kGsmHrSpeechParams = 18;
constexpr int kGsmHrFrameBits = 112;
constexpr int kGsmHrPayloadWords = 7;

// The decoder homing frame's parameters (widths of the unvoiced layout).
extern const int16_t kGsmHrDecoderHomingFrame[kGsmHrSpeechParams];
// Every sample of the encoder homing frame.
constexpr int16_t kGsmHrHomingSample = 0x0008;

// Bit counts of each parameter in the unvoiced (voicing mode 0) and the voiced
// layouts.
extern const uint8_t kGsmHrUnvoicedWidths[kGsmHrSpeechParams];
extern const uint8_t kGsmHrVoicedWidths[kGsmHrSpeechParams];

// Frame bit i carries bit `bit` of parameter `param`.
struct BitSlot
{
    uint8_t param;
    uint8_t bit;
};
extern const BitSlot kUnvoicedOrder[kGsmHrFrameBits];
extern const BitSlot kVoicedOrder[kGsmHrFrameBits];

// Per-parameter masks of the SID code word and of the class-2 bits.
extern const uint16_t kGsmHrSidMask[2][kGsmHrSpeechParams]; // [voiced]
extern const uint16_t kGsmHrClass2Mask[2][kGsmHrSpeechParams];

// 0 speech, 1 invalid SID, 2 valid SID, from the zeros in the SID code word.
int GsmHrSidClass(const int16_t* params);

// Frame bits in payload words, bit i in bit i mod 16 of word i div 16.
void GsmHrPackFrame(const int16_t* params, uint16_t* words);
// The voicing-mode bits (frame bits 93 and 94) choose the layout first.
void GsmHrUnpackFrame(const uint16_t* words, int16_t* params);

bool GsmHrEncoderHomingTest(const int16_t* samples);
// The first n parameters, each masked to its unvoiced width, against the
// decoder homing frame.
bool GsmHrDecoderHomingTest(const int16_t* params, int n);
