#pragma once
// Voice activity detection of the half-rate encoder. An adaptive inverse
// filter, trained on frames judged to be noise, whitens each frame; the
// energy left over is compared with a threshold that follows the noise level.
// Adaptation stops while the spectrum changes, a pitch is present or a tone
// is found. A burst of three active frames earns five frames of hangover.
#include <cstdint>

// What the encoder's frame analysis hands the detector: the autocorrelation
// of the scaled analysis window (lags 0-8) and the window's down-shift.
struct GsmHrVadInput
{
    static constexpr int kLags = 9;
    int32_t acf[kLags] = {};
    int16_t scale = 0;
};

class GsmHrVad
{
public:
    // 1 for voice activity. `rc` holds the frame's first four unquantised
    // reflection coefficients.
    int16_t Decide(const GsmHrVadInput& in, const int16_t* rc);
    // After the open-loop lag search: whether the next frame counts as pitched.
    void UpdatePeriodicity(const int16_t* lags);

private:
    static constexpr int kOrder = 8;

    // mantissa and exponent of a value m * 2^(e - 31)
    struct Pseudo
    {
        int16_t m = 0;
        int16_t e = 0;
    };

    void Energies(const GsmHrVadInput& in, Pseudo* pvad, Pseudo* acf0) const;
    void AverageAcf(const GsmHrVadInput& in, int32_t* av0, int32_t* av1);
    bool Stationary(const int16_t* rav1, int16_t normRav1, const int32_t* av0);
    void AdaptThreshold(bool stationary, bool tone, const int16_t* rav1, int16_t normRav1, Pseudo pvad, Pseudo acf0);
    int16_t Hangover(bool active);

    int16_t m_rvad[kOrder + 1] = {24576, 0, 0, 0, 0, 0, 0, 0, 0};
    int16_t m_normRvad = 7;
    int32_t m_sacf[3 * (kOrder + 1)] = {}; // scaled acf of the last three frames
    int32_t m_sav0[4 * (kOrder + 1)] = {}; // four-frame averages of the last four frames
    int16_t m_sacfAt = 0;
    int16_t m_sav0At = 0;
    int32_t m_lastDm = 0;
    Pseudo m_threshold = {21875, 21};
    int16_t m_adaptCount = 0;
    int16_t m_burstCount = 0;
    int16_t m_hangCount = -1;
    int16_t m_oldLagCount = 0;
    int16_t m_veryOldLagCount = 0;
    int16_t m_oldLag = 21;
    bool m_periodic = true;
};
