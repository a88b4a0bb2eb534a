#include "Wave/ToneSamples.h"

#include "Wave/VectorUnitState.h"
#include "Wave/WaveSamples.h"

#include <cmath>
#include <cstring>

const int16_t* ToneSamples::Get(double step, int amplitude, uint64_t count)
{
    Key key{0, amplitude};
    std::memcpy(&key.stepBits, &step, sizeof step);
    std::vector<int16_t>& samples = m_Tones[key];
    if (samples.size() < count) {
        samples.reserve(count);
        // Whatever ran before (XML loading, the event loop) may have left the
        // vector registers in a state that slows this loop down tenfold.
        ClearUpperVectorState();
        for (uint64_t i = samples.size(); i < count; ++i)
            samples.push_back(
                int16_t(WaveSamples::TruncateSaturated(std::sin(double(i) * step) * amplitude, -32768, 32767)));
    }
    return samples.data();
}
