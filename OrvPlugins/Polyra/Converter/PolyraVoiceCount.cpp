#include "PolyraVoiceCount.h"

#include <algorithm>
#include <cmath>

PolyraVoiceCount::PolyraVoiceCount(const PolyraWorkspace& ws) : mWs(&ws), mCells(16 * 128)
{
    mReleasing.reserve(mCells.size());
    Reset();
}

void PolyraVoiceCount::Reset(const float* start)
{
    channels.Reset();
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind)
        loads[kind] = start ? start[kind] : 0.0f;
    volume = 0;
    std::fill(mCells.begin(), mCells.end(), NoteCell());
    mReleasing.clear();
}

void PolyraVoiceCount::RunDown(uint32_t ticks)
{
    if (ticks == 0)
        return;
    size_t kept = 0;
    for (size_t i = 0; i < mReleasing.size(); ++i) {
        const uint16_t at = mReleasing[i];
        NoteCell& cell = mCells[at];
        if (!cell.releasing) {
            cell.listed = false;
            continue;
        }
        cell.release -= float(ticks);
        if (cell.release > 0) {
            mReleasing[kept++] = at;
            continue;
        }
        cell.releasing = false;
        cell.listed = false;
        cell.sounding = false;
        TakeOff(cell);
    }
    mReleasing.resize(kept);
}

int PolyraVoiceCount::Play(const PolyraCommand& command, float noteVolume)
{
    channels.Track(command);
    if (command.type == CmdNoteOff)
        Release(command.channel, command.data[0]);
    if (command.type != CmdNoteOn)
        return -1;
    Strike(command.channel, command.data[0], noteVolume);
    return OverloadedKind();
}

void PolyraVoiceCount::Hold(int channel, int pitch)
{
    NoteCell& cell = Cell(channel, pitch);
    cell.held = true;
    cell.sounding = true;
    cell.releasing = false;
}

void PolyraVoiceCount::Silence(int channel, int pitch)
{
    NoteCell& cell = Cell(channel, pitch);
    TakeOff(cell);
    cell.held = cell.sounding = cell.releasing = false;
}

int PolyraVoiceCount::OverloadedKind() const
{
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind)
        if (loads[kind] > mWs->maxima[kind])
            return kind;
    return -1;
}

bool PolyraVoiceCount::SameAs(const PolyraVoiceCount& other, int channel, int pitch) const
{
    // Sums of the same loads taken in another order may differ in their
    // last bits (loads such as 0.1); that is no difference in the count.
    auto same = [](float a, float b) { return std::fabs(a - b) <= 1e-5f * std::max(1.0f, std::fabs(a)); };
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind)
        if (!same(loads[kind], other.loads[kind]))
            return false;
    if (!same(volume, other.volume) || channels.classOf[channel & 0x0F] != other.channels.classOf[channel & 0x0F])
        return false;
    const NoteCell& mine = Cell(channel, pitch);
    const NoteCell& theirs = other.Cell(channel, pitch);
    if (!mine.sounding && !theirs.sounding)
        return true;
    if (mine.sounding != theirs.sounding || mine.held != theirs.held || mine.releasing != theirs.releasing
        || mine.volume != theirs.volume || (mine.releasing && mine.release != theirs.release))
        return false;
    return std::equal(std::begin(mine.load), std::end(mine.load), std::begin(theirs.load));
}

void PolyraVoiceCount::Strike(int channel, int pitch, float noteVolume)
{
    NoteCell& cell = Cell(channel, pitch);
    if (cell.sounding)
        TakeOff(cell);
    const int c = channels.classOf[channel & 0x0F];
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind) {
        cell.load[kind] = mWs->profile.loads[kind].perClass[c];
        loads[kind] += cell.load[kind];
    }
    cell.volume = noteVolume;
    volume += noteVolume;
    cell.held = true;
    cell.sounding = true;
    cell.releasing = false;
}

void PolyraVoiceCount::Release(int channel, int pitch)
{
    NoteCell& cell = Cell(channel, pitch);
    cell.held = false;
    if (!cell.sounding || cell.releasing)
        return;
    cell.releasing = true;
    cell.release = mWs->releaseTicks[channels.classOf[channel & 0x0F]];
    if (!cell.listed) {
        cell.listed = true;
        mReleasing.push_back(uint16_t(((channel & 0x0F) << 7) | (pitch & 0x7F)));
    }
}

void PolyraVoiceCount::TakeOff(const NoteCell& cell)
{
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind)
        loads[kind] = std::max(0.0f, loads[kind] - cell.load[kind]);
    volume = std::max(0.0f, volume - cell.volume);
}
