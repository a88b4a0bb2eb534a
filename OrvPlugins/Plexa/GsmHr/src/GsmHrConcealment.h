#pragma once
// Substitution and muting of lost frames in the half-rate decoder. A bad
// frame repeats the last good frame's parameters, attenuated from the third
// bad frame on and silenced from the sixth; an unreliable frame whose energy
// jumps is treated as bad or may be muted. Each subframe's synthesis is
// checked against the level of the last four subframes, and muted (with the
// decoder's filter states) when it rises further than speech does.
#include <cstdint>

class GsmHrConcealment
{
public:
    // Works on the frame's 18 parameters in place; returns whether the signal
    // may be muted.
    bool ConcealParameters(bool bad, bool unreliable, int16_t* params);

    // Mean and maximum level in dB of the last four output subframes.
    void Levels(int16_t* mean, int16_t* max) const;
    // Takes one output subframe into the level history.
    void RecordLevel(const int16_t* subframe);

    // Mutes the subframe's excitation and the decoder states it fed (40
    // samples each of the synthesis state's 10, the pitch history and the
    // pre-filter history) when a trial synthesis is too loud. Returns true
    // when it muted an unreliable frame, which keeps muting allowed in the
    // next frame.
    bool ConcealSubframe(int16_t* excitation, const int16_t* synthAs, int16_t* synthState, int16_t* ltpState,
                         int16_t* prefilterState, bool unreliable, bool mutedBefore, bool permit) const;

private:
    int32_t m_energy[4] = {80, 80, 80, 0};
    int16_t m_level[4] = {-72, -72, -72, 0};
    int16_t m_lastR0 = 0;
    int16_t m_lastGood[18] = {};
    int16_t m_badRun = 7; // more than six: the first frame after a reset
    bool m_lastBad = false;
};
