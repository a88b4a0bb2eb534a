// Algorithm 2: modal synthesis. The note's key zone gives a set of damped
// sinusoidal resonators, each turned by a fixed rotation a little shorter
// than 1 every sample; the damper shortens them all once the note is released.
#include "FixedPoint.h"
#include "VoiceAlgorithms.h"

#include <algorithm>
#include <cstdlib>

using namespace FixedPoint;

namespace VoiceAlgorithms {
namespace {
// The rotation of one resonator, shrunk by its decay and kept strictly
// inside the unit circle so that no rounding can make it grow.
void SetRotation(ResonatorState& state, int k, int16_t decay)
{
    int16_t c = mul16(SynthTables::Cosine(state.increment[k]), decay);
    int16_t s = mul16(SynthTables::Sine(state.increment[k]), decay);
    while (int64_t(c) * c + int64_t(s) * s >= int64_t(32700) * 32700) {
        if (std::abs(int(c)) > std::abs(int(s)))
            c = int16_t(c > 0 ? c - 1 : c + 1);
        else
            s = int16_t(s > 0 ? s - 1 : s + 1);
    }
    state.c[k] = c;
    state.s[k] = s;
}
} // namespace

int ResonatorZoneIndex(const SynthPresets::ResonatorPreset& preset, int note)
{
    int below = -1, above = -1;
    for (int z = 0; z < preset.zoneCount && z < SynthPresets::MaxZones; ++z) {
        const int key = preset.zones[z].zoneWord >> 8;
        if (key == note)
            return z;
        if (key < note && (below < 0 || key > (preset.zones[below].zoneWord >> 8)))
            below = z;
        if (key > note && (above < 0 || key < (preset.zones[above].zoneWord >> 8)))
            above = z;
    }
    if (below < 0)
        return above < 0 ? 0 : above;
    if (above < 0)
        return below;
    const int distanceBelow = note - (preset.zones[below].zoneWord >> 8);
    const int distanceAbove = (preset.zones[above].zoneWord >> 8) - note;
    return distanceAbove < distanceBelow ? above : below;
}

void ResonatorStart(ResonatorState& state, const SynthPresets::ResonatorPreset& preset, int note, int velocity)
{
    state = ResonatorState{};
    const SynthPresets::ResonatorZone& zone = preset.zones[ResonatorZoneIndex(preset, note)];
    state.exponent = zone.exponent;
    state.releaseDecay = preset.releaseDecay;
    state.releaseLength = preset.releaseLength;
    const int64_t base = SynthTables::NotePhaseIncrement(note);
    const int16_t velocityGain = VelocityGain(velocity);
    const int partials = std::min(int(zone.zoneWord & 0xFF), SynthPresets::MaxPartials);
    for (int p = 0; p < partials; ++p) {
        const SynthPresets::ResonatorPartial& partial = zone.partials[p];
        const int64_t increment = base * partial.ratio / 1024;
        if (increment <= 0 || increment >= 0x8000)
            continue; // at or above half the sampling rate: not heard
        const int k = state.count++;
        state.increment[k] = uint16_t(increment);
        state.decay[k] = partial.decay;
        SetRotation(state, k, partial.decay);
        // Starting on the sine axis, the partial sets off from silence.
        state.x[k] = 0;
        state.y[k] = mul16(partial.amplitude, velocityGain);
    }
}

int ResonatorRender(ResonatorState& state, int64_t remaining, int16_t out[BlockSize])
{
    set_saturate();
    if (!state.released && remaining < state.releaseLength) {
        state.released = true;
        for (int k = 0; k < state.count; ++k)
            if (state.releaseDecay < state.decay[k])
                SetRotation(state, k, state.releaseDecay);
    }

    int32_t sum[BlockSize] = {};
    for (int k = 0; k < state.count; ++k) {
        const int16_t c = state.c[k], s = state.s[k];
        int16_t x = state.x[k], y = state.y[k];
        for (int i = 0; i < BlockSize; i += 2) {
            // Two samples per step.
            int16_t nx = round16(sub32(mul32(c, x), mul32(s, y)));
            int16_t ny = round16(add32(mul32(s, x), mul32(c, y)));
            sum[i] = add32(sum[i], nx);
            x = round16(sub32(mul32(c, nx), mul32(s, ny)));
            y = round16(add32(mul32(s, nx), mul32(c, ny)));
            sum[i + 1] = add32(sum[i + 1], x);
        }
        state.x[k] = x;
        state.y[k] = y;
    }
    for (int i = 0; i < BlockSize; ++i)
        out[i] = high16(shl32(shr32(sum[i], state.exponent), 16));
    set_wrap();
    return state.released ? StateReleasing : StateSounding;
}
} // namespace VoiceAlgorithms
