#pragma once
// The phone's voices as the budgets count them, command by command: a NOTE
// ON adds its class's loads, which stay until the release that its NOTE OFF
// starts (the class's release time, in the table's ticks) has run out; a key
// struck again ends its earlier note. The removal of overloads, the peak
// loads, the gain stage and the placement of short notes all count with it.
#include "PolyraWorkspace.h"

#include <cstdint>
#include <vector>

class PolyraVoiceCount
{
public:
    // Reads the loads, release times and maxima of the workspace as they
    // are when used.
    explicit PolyraVoiceCount(const PolyraWorkspace& ws);

    // Nothing sounds, every channel at its first class; the load totals
    // start at `start` (null: 0) and the volume total at 0.
    void Reset(const float* start = nullptr);
    // Time moves on: releases count down, and a note whose release has run
    // out stops sounding; its loads and volume leave the totals (never
    // below 0). Nothing ends while no time passes.
    void RunDown(uint32_t ticks);
    // One command, after its delta has been run down: program and volume
    // changes set their channel's state, a NOTE OFF starts its key's
    // release, a NOTE ON strikes its key with `volume`. After a NOTE ON, the
    // first load kind over its maximum; -1 otherwise.
    int Play(const PolyraCommand& command, float volume = 0);
    // A NOTE ON of a key that sounds already, counted as the same note: held
    // again, its release stopped, its loads kept.
    void Hold(int channel, int pitch);
    // A note taken back: its loads and volume leave, it sounds no more.
    void Silence(int channel, int pitch);

    bool IsSounding(int channel, int pitch) const { return Cell(channel, pitch).sounding; }
    int OverloadedKind() const;
    // True when this count and `other` will count alike from here on, given
    // that they can differ only in the key's note: the key sounds alike in
    // both and the totals are equal but for the rounding of their sums.
    bool SameAs(const PolyraVoiceCount& other, int channel, int pitch) const;

    PolyraChannels channels;
    float loads[Polyra::LoadKinds] = {};
    float volume = 0;

private:
    struct NoteCell
    {
        bool held = false;
        bool sounding = false;
        bool releasing = false;
        bool listed = false; // in the list of releasing notes
        float release = 0;
        float load[Polyra::LoadKinds] = {};
        float volume = 0;
    };

    NoteCell& Cell(int channel, int pitch) { return mCells[size_t(channel & 0x0F) * 128 + size_t(pitch & 0x7F)]; }
    const NoteCell& Cell(int channel, int pitch) const
    {
        return mCells[size_t(channel & 0x0F) * 128 + size_t(pitch & 0x7F)];
    }
    void Strike(int channel, int pitch, float noteVolume);
    void Release(int channel, int pitch);
    void TakeOff(const NoteCell& cell);

    const PolyraWorkspace* mWs;
    std::vector<NoteCell> mCells;
    std::vector<uint16_t> mReleasing; // channel << 7 | pitch
};
