#include "GsmHrSpeechSignal.h"

#include <algorithm>
#include <cmath>

namespace {

struct Resonator
{
    double b1 = 0, b2 = 0, gain = 0, y1 = 0, y2 = 0;
    void Tune(double freq, double bandwidth)
    {
        const double r = std::exp(-M_PI * bandwidth / 8000.0);
        b1 = 2 * r * std::cos(2 * M_PI * freq / 8000.0);
        b2 = -r * r;
        gain = 1 - r;
    }
    double Run(double x)
    {
        const double y = gain * x + b1 * y1 + b2 * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

} // namespace

std::vector<int16_t> MakeSpeechLikeSignal(double seconds)
{
    static const double kVowels[5][3] = {
        {730, 1090, 2440}, {270, 2290, 3010}, {530, 1840, 2480}, {570, 840, 2410}, {300, 870, 2240}};
    const int total = static_cast<int>(seconds * 8000);
    const int syllable = 2000; // 250 ms
    std::vector<double> raw(total, 0.0);
    Resonator f[3];
    double phase = 0, d1 = 0, d2 = 0, prevPulse = 0;
    uint32_t noise = 12345;
    for (int n = 0; n < total; ++n) {
        const int syl = n / syllable;
        const int inSyl = n % syllable;
        if (inSyl == 0) {
            const double* v = kVowels[syl % 5];
            for (int k = 0; k < 3; ++k)
                f[k].Tune(v[k], 60 + 40 * k);
        }
        const bool pause = syl % 5 == 4;
        const double glide = 0.5 + 0.5 * std::sin(2 * M_PI * n / 12000.0);
        const double f0 = 110 + 30 * glide;
        phase += f0 / 8000.0;
        double pulse = 0;
        if (phase >= 1) {
            phase -= 1;
            pulse = 1;
        }
        // double differentiation of a smoothed pulse gives a glottal-like excitation
        const double smooth = 0.6 * prevPulse + 0.4 * pulse;
        prevPulse = smooth;
        const double first = smooth - d1;
        d1 = smooth;
        const double second = first - d2;
        d2 = first;
        noise = noise * 1664525u + 1013904223u;
        const double white = (static_cast<int32_t>(noise) / 2147483648.0);
        double voiced = pause ? 0.0 : second;
        double fricative = (!pause && inSyl > syllable * 3 / 4) ? white * 0.08 : 0.0;
        double y = voiced * 40;
        for (auto& r : f)
            y = r.Run(y) * 4;
        raw[n] = y + fricative;
    }
    double peak = 0;
    for (double v : raw)
        peak = std::max(peak, std::fabs(v));
    const double scale = peak > 0 ? 32767 * 0.316 / peak : 0;
    std::vector<int16_t> out(total);
    for (int n = 0; n < total; ++n)
        out[n] = static_cast<int16_t>(std::lround(raw[n] * scale));
    return out;
}

double SegmentalSnr(const std::vector<int16_t>& reference, const std::vector<int16_t>& decoded)
{
    double best = -1e9;
    for (int delay = 0; delay <= 160; ++delay) {
        double sum = 0;
        int frames = 0;
        for (size_t start = 0; start + 160 <= reference.size(); start += 160) {
            if (start + delay + 160 > decoded.size())
                break;
            double signal = 0, error = 0;
            for (int i = 0; i < 160; ++i) {
                const double r = reference[start + i];
                const double d = decoded[start + delay + i];
                signal += r * r;
                error += (r - d) * (r - d);
            }
            if (std::sqrt(signal / 160) < 100)
                continue;
            double snr = error > 0 ? 10 * std::log10(signal / error) : 35;
            sum += std::clamp(snr, -10.0, 35.0);
            ++frames;
        }
        if (frames > 0)
            best = std::max(best, sum / frames);
    }
    return best;
}

std::vector<int16_t> MakeWhiteNoise(double seconds, double rms, uint32_t seed)
{
    // four uniform values in [-1, 1) sum to variance 4/3
    const double scale = rms / std::sqrt(4.0 / 3.0);
    std::vector<int16_t> out(static_cast<size_t>(seconds * 8000));
    for (auto& v : out) {
        double sum = 0;
        for (int k = 0; k < 4; ++k) {
            seed = seed * 1664525u + 1013904223u;
            sum += static_cast<int32_t>(seed) / 2147483648.0;
        }
        v = static_cast<int16_t>(std::lround(std::clamp(sum * scale, -32768.0, 32767.0)));
    }
    return out;
}

double Rms(const std::vector<int16_t>& signal, size_t at, size_t count)
{
    double sum = 0;
    for (size_t i = at; i < at + count && i < signal.size(); ++i)
        sum += double(signal[i]) * signal[i];
    return count ? std::sqrt(sum / double(count)) : 0.0;
}
