#pragma once
// Constant data of the half-rate codec (definitions in GsmHrTables.cpp).
#include <cstdint>

extern const int16_t kGsmHrGainTable[4][32][5];     // gain quantiser error terms per voicing mode
extern const int16_t kGsmHrUnvoicedBasis[2][7][40]; // two 7-vector codebooks of unvoiced frames
extern const int16_t kGsmHrVoicedBasis[9][40];      // the 9-vector codebook of voiced frames
extern const uint8_t kGsmHrRcVq1[2048][3];          // reflection coefficients 1-3
extern const uint8_t kGsmHrRcVq2[512][3];           // reflection coefficients 4-6
extern const uint8_t kGsmHrRcVq3[256][4];           // reflection coefficients 7-10
extern const uint8_t kGsmHrRcPreVq1[64][3];         // pre-quantiser centres of the three stages
extern const uint8_t kGsmHrRcPreVq2[32][3];
extern const uint8_t kGsmHrRcPreVq3[16][4];
extern const int16_t kGsmHrRcLevels[256];      // scalar levels the quantiser indices point to
extern const int16_t kGsmHrSqrtP0[3][32];      // pitch pre-filter strength per voiced mode and gain code
extern const int16_t kGsmHrCgInterp[6][6];     // correlation interpolator [tap][phase]
extern const int16_t kGsmHrPitchInterp[10][6]; // excitation interpolator [tap][phase]
extern const int16_t kGsmHrLags[256];          // codable lags, times 6
extern const int16_t kGsmHrR0Levels[63];       // frame energy: levels at even, decision bounds at odd places
extern const int16_t kGsmHrHighPass[10];       // two biquads: b2 b1 b0 a2 a1
extern const int16_t kGsmHrNoiseWeight[20];    // bandwidth expansion of the weighting filter: zeros, poles
extern const int32_t kGsmHrFlatSmoothing[10];  // lag window of the covariance analysis
extern const int16_t kGsmHrOldShare[4];        // per-subframe weight of last frame's filter
extern const int16_t kGsmHrNewShare[4];        // and of this frame's
