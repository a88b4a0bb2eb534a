#pragma once
// Signal-processing steps the half-rate encoder and decoder share: the LPC
// filters in their several forms, conversions between reflection, direct-form
// and autocorrelation coefficients, energies, excitation construction and
// scaling. Subframes are 40 samples and filters of order 10 throughout.
#include <cstdint>

namespace gsmhr {

constexpr int kFrame = 160;
constexpr int kSub = 40;
constexpr int kSubframes = 4;
constexpr int kOrder = 10;
constexpr int kLtpHistory = 147; // longest lag plus interpolation reach
constexpr int kAShift = 4;       // direct-form coefficients are kept scaled down by 16
constexpr int16_t kAScale = 0x0800;

// A mantissa with its left-shift count.
struct Norm
{
    int16_t man = 0;
    int16_t shift = 0;
};

// Direct-form filters; coef[0] multiplies the newest past sample. The state
// holds the last inputs (FIR) or outputs (IIR), newest first.
void LpcFir(const int16_t* in, const int16_t* coef, int16_t* state, int16_t* out);
void LpcIir(const int16_t* in, const int16_t* coef, int16_t* state, int16_t* out);
void LpcImpulseIir(const int16_t* coef, int16_t* out);
void LpcZeroInputIir(const int16_t* coef, const int16_t* state, int16_t* out);
void LpcZeroStateFir(const int16_t* in, const int16_t* coef, int16_t* out);
void LpcZeroStateIir(const int16_t* in, const int16_t* coef, int16_t* out);
void LpcZeroStatePoleInPlace(int16_t* io, const int16_t* coef);

void AutocorrToRc(int32_t* autocorr, int16_t* rc);              // scales autocorr down
bool DirectToRc(int16_t aShift, const int16_t* a, int16_t* rc); // true when unstable
bool RcToDirect(int16_t aScale, const int16_t* rc, int16_t* a); // true when a value hit a limit
void RcToAutocorr(int16_t aShift, int16_t aScale, const int16_t* rc, int32_t* autocorr);
void SmoothDirect(int16_t aShift, int16_t aScale, const int16_t* in, int16_t* out);

void ResidualEnergy(const int16_t* rc, int16_t rq, Norm* out);
int16_t SquareRoot(int32_t v);
int16_t Energy(const int16_t* in, int32_t* out);
int16_t EnergyScaled(const int16_t* in, int16_t energyShift, int32_t* out);
int16_t Correlation(const int16_t* a, const int16_t* b, int32_t* out);

void SplitLag(int16_t lag, int16_t* whole, int16_t* phase);
void PitchVector(int16_t lag, int16_t* history); // history points at the vector, 147 samples of past before it
void CodeBits(int16_t code, int bits, int16_t* signs);
void BuildCodeVector(const int16_t* basis, int16_t* out, const int16_t* signs, int bits);
void SqrtRatio(const int16_t* excitation, Norm sqrtRs, Norm* out); // with overflow guard
void SqrtRatioPlain(const int16_t* excitation, Norm sqrtRs, Norm* out);
int16_t ScaleExcitation(const int16_t* in, int16_t errorTerm, Norm rs, int16_t* out);
bool InterpolateCheck(const int16_t* refRc, const int16_t* refA, const int16_t* oldA, const int16_t* newA,
                      int16_t oldShare, int16_t newShare, int16_t rq, Norm* sqrtRs, int16_t* outA);
int16_t R0EnergyShift(int16_t r0Index);
void LookupRc(const int16_t* codes, int16_t* rc);
int16_t QuantiseLag(int16_t rawLag, int16_t* code); // nearest codable lag at or below, and its code
int16_t BestSignedRatio(const int16_t* c, const int16_t* g, int16_t* ccMax, int16_t* gMax, int count);

} // namespace gsmhr
