#pragma once
// Measurements on rendered samples: block energy, peak, the strongest
// frequency (a fine DFT scan) and the period by autocorrelation.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

inline int PeakOf(const std::vector<int16_t>& samples, size_t from = 0, size_t to = SIZE_MAX)
{
    int peak = 0;
    for (size_t i = from; i < samples.size() && i < to; ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak;
}

// Index of the first sample of the first block of 32 that holds sound, or -1.
inline long FirstSoundingBlock(const std::vector<int16_t>& samples, size_t from = 0)
{
    for (size_t block = from / 32; block * 32 < samples.size(); ++block)
        for (size_t i = block * 32; i < block * 32 + 32 && i < samples.size(); ++i)
            if (samples[i] != 0)
                return long(block * 32);
    return -1;
}

// The frequency (Hz at 8000 Hz) of the strongest component between low and
// high, scanned in steps of step Hz over count samples from start.
inline double StrongestFrequency(const std::vector<int16_t>& samples, size_t start, size_t count, double low,
                                 double high, double step = 0.5)
{
    double best = 0, bestPower = -1;
    for (double f = low; f <= high; f += step) {
        // Goertzel filter at f.
        const double w = 2 * M_PI * f / 8000.0;
        const double coefficient = 2 * std::cos(w);
        double s1 = 0, s2 = 0;
        for (size_t i = start; i < start + count && i < samples.size(); ++i) {
            const double s0 = samples[i] + coefficient * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        if (power > bestPower) {
            bestPower = power;
            best = f;
        }
    }
    return best;
}

// The fundamental (Hz) by autocorrelation: the best lag within a period
// range, refined on ten periods.
inline double AutocorrelationFrequency(const std::vector<int16_t>& samples, size_t start, size_t count, int minLag,
                                       int maxLag)
{
    const auto correlation = [&](int lag) {
        double sum = 0;
        for (size_t i = start; i + lag < start + count && i + lag < samples.size(); ++i)
            sum += double(samples[i]) * samples[i + lag];
        return sum;
    };
    int period = minLag;
    for (int lag = minLag; lag <= maxLag; ++lag)
        if (correlation(lag) > correlation(period))
            period = lag;
    int best = 10 * period;
    for (int lag = 10 * period - 10; lag <= 10 * period + 10; ++lag)
        if (correlation(lag) > correlation(best))
            best = lag;
    const double left = correlation(best - 1), centre = correlation(best), right = correlation(best + 1);
    const double offset = 0.5 * (left - right) / (left - 2 * centre + right);
    return 10 * 8000.0 / (best + offset);
}
