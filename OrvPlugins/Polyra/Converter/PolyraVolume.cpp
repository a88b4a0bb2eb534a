// Program and volume changes reduced to those that matter, and the channel
// volumes scaled: by class, by the loudest instant, and by the first render.
#include "PolyraStages.h"
#include "PolyraVoiceCount.h"
#include "PolyraWorkspace.h"

#include <algorithm>
#include <cmath>

namespace PolyraStages {
namespace {
const int kSineVolume = 32;
const int kMaxVolume = 127;

// Erases each command of the type that another of the same channel follows
// before any note of that channel, and those with no note after them.
unsigned long EraseUnheard(PolyraWorkspace& ws, int16_t type)
{
    int pending[16];
    std::fill(std::begin(pending), std::end(pending), -1);
    unsigned long erased = 0;
    for (size_t i = 0; i < ws.commands.size(); ++i) {
        const PolyraCommand& command = ws.commands[i];
        if (command.IsNote())
            pending[command.channel] = -1;
        else if (command.type == type) {
            if (pending[command.channel] >= 0) {
                ws.Erase(pending[command.channel]);
                ++erased;
            }
            pending[command.channel] = int(i);
        }
    }
    for (int index : pending)
        if (index >= 0) {
            ws.Erase(index);
            ++erased;
        }
    return erased;
}

PolyraCommand VolumeChange(int channel, int volume)
{
    PolyraCommand command;
    command.type = CmdControl;
    command.status = uint8_t(0xB0 | channel);
    command.channel = uint8_t(channel);
    command.length = 2;
    command.data[0] = 7;
    command.data[1] = uint8_t(volume);
    return command;
}

// A scaled volume, truncated and kept within the channel's range (a NaN
// coefficient from a hand-edited file gives 0).
int Cap(PolyraWorkspace& ws, double value, bool* saturated)
{
    const int cap = ws.sineMode ? kSineVolume : kMaxVolume;
    if (value >= kMaxVolume + 1 && saturated)
        *saturated = true;
    if (!(value > 0))
        return 0;
    return int(std::min(std::floor(value), double(cap)));
}

// The classes in use with their largest volume before and after a scaling.
struct ClassVolumes
{
    int before[Polyra::ClassCount];
    int after[Polyra::ClassCount];
    bool saturated[Polyra::ClassCount];
    ClassVolumes()
    {
        std::fill(std::begin(before), std::end(before), -1);
        std::fill(std::begin(after), std::end(after), -1);
        std::fill(std::begin(saturated), std::end(saturated), false);
    }
};

// Scales every volume change (or only controller 7) through `scale`.
template <typename Scale>
ClassVolumes ScaleEach(PolyraWorkspace& ws, bool volumeOnly, Scale scale)
{
    ClassVolumes table;
    ws.ResetChannels();
    for (PolyraCommand& command : ws.commands) {
        if (!command.IsActive() || command.type == CmdSyncTag)
            continue;
        ws.TrackChannel(command);
        if (command.type != CmdControl || (volumeOnly && command.data[0] != 7))
            continue;
        const int c = ws.ClassOf(command.channel);
        bool saturated = false;
        const int value = scale(command.data[1], c, &saturated);
        table.before[c] = std::max(table.before[c], int(command.data[1]));
        table.after[c] = std::max(table.after[c], value);
        table.saturated[c] = table.saturated[c] || saturated;
        command.data[1] = uint8_t(value);
        ws.stats[c].volumeAfter = table.after[c];
    }
    return table;
}

void TraceTable(PolyraWorkspace& ws, const char* heading, const ClassVolumes& table, const char* marker,
                const double* coefficients)
{
    ws.trace->Line(PolyraTrace::StageLine, "%s", heading);
    for (int c = 0; c < Polyra::ClassCount; ++c)
        if (table.before[c] >= 0)
            ws.trace->Line(PolyraTrace::StageLine, "\t%-18s %10d  %11.3f  %11d  %s\n", Polyra::ClassNames[c],
                           table.before[c], coefficients[c], table.after[c], table.saturated[c] ? marker : "");
}
} // namespace

bool InstrumentStrategy(PolyraWorkspace& ws)
{
    ws.trace->Line(PolyraTrace::StageLine, "*** Mise en place de la strategie des instruments...\n");
    for (size_t i = 0; i < ws.commands.size(); ++i) {
        PolyraCommand& command = ws.commands[i];
        if (command.type != CmdProgram)
            continue;
        const int c = (command.data[0] & 0x7F) / 8;
        command.data[0] = uint8_t((c << 3) | (ws.parameters.ambiance[c] & 7));
        if (command.channel == 9)
            ws.Erase(int(i));
    }
    const unsigned long erased = EraseUnheard(ws, CmdProgram);
    ws.trace->Line(PolyraTrace::StageLine, "\t%lu PRG retires\n\n", erased);

    // A lone synth lead line plays as a plain sine.
    bool onlySynthLead = false;
    bool otherClass = false;
    ws.ResetChannels();
    for (const PolyraCommand& command : ws.commands) {
        if (!command.IsActive() || command.type == CmdSyncTag)
            continue;
        ws.TrackChannel(command);
        if (command.type != CmdNoteOn)
            continue;
        if (ws.ClassOf(command.channel) == Polyra::SynthLeadClass)
            onlySynthLead = true;
        else
            otherClass = true;
    }
    ws.sineMode = onlySynthLead && !otherClass && ws.peaksAfter[0] <= 1.0f;
    ws.trace->Line(PolyraTrace::StageLine, "Sinus monophonique = %d\n", ws.sineMode ? 1 : 0);
    if (ws.sineMode) {
        ws.defaultVolume = kSineVolume;
        ws.booster = 2;
        ws.equalizer = 0;
    } else if (ws.booster == 0)
        ws.booster = 1;
    return true;
}

bool VolumeStrategy(PolyraWorkspace& ws)
{
    ws.trace->Line(PolyraTrace::StageLine, "*** Mise en place de la strategie des volumes...\n");
    unsigned long added = 0;
    auto overflow = [&ws]() {
        ws.trace->Line(PolyraTrace::UserLine,
                       "\n\nUSER : MIDI file too large (too much MIDI commands) - converter memory limit exceed\n");
        return ws.Fail(ErrWorkingSpace);
    };
    for (int channel = 15; channel >= 0; --channel) {
        if (!ws.Insert(0, VolumeChange(channel, ws.defaultVolume)))
            return overflow();
        ++added;
    }
    for (size_t i = 0; i < ws.commands.size(); ++i) {
        if (ws.commands[i].type != CmdProgram)
            continue;
        if (!ws.Insert(int(i) + 1, VolumeChange(ws.commands[i].channel, ws.defaultVolume)))
            return overflow();
        ++added;
        ++i;
    }
    const unsigned long erased = EraseUnheard(ws, CmdControl);
    ws.trace->Line(PolyraTrace::StageLine, "\t%lu CTRL retires,  %lu CTRL ajoutes\n\n", erased, added);
    return true;
}

void ScaleVolumes(PolyraWorkspace& ws)
{
    ws.trace->Line(PolyraTrace::StageLine, "*** Modification du volume des instruments:\n\n");
    const ClassVolumes table = ScaleEach(ws, false, [&ws](int value, int c, bool* saturated) {
        const int scaled = Cap(ws, double(value) * ws.parameters.volume[c], saturated);
        if (*saturated)
            ws.trace->Line(PolyraTrace::Detail, "\tSaturation !\n");
        return scaled;
    });
    double coefficients[Polyra::ClassCount];
    for (int c = 0; c < Polyra::ClassCount; ++c)
        coefficients[c] = ws.parameters.volume[c];
    TraceTable(ws, "\tINSTRUMENT         MAX.ANCIEN  COEF.VOLUME  MAX.NOUVEAU  SATURATION\n", table, "\tSAT !",
               coefficients);
}

bool AutomaticGain(PolyraWorkspace& ws)
{
    PolyraVoiceCount voices(ws);
    float peak = 0;
    for (const PolyraCommand& command : ws.commands) {
        voices.RunDown(command.delta);
        if (!command.IsActive() || command.type == CmdSyncTag)
            continue;
        int channelVolume = voices.channels.volume[command.channel & 0x0F];
        if (ws.sineMode)
            channelVolume = std::min(channelVolume, kSineVolume);
        voices.Play(command, float(channelVolume) * float(command.data[1]) / 16129.0f);
        if (command.type == CmdNoteOn)
            peak = std::max(peak, voices.volume);
    }
    if (peak <= 0) {
        ws.trace->Line(PolyraTrace::UserLine, "USER : all volumes in MIDI file are set to 0 : translation aborted\n");
        return ws.Fail(ErrAllVolumesNull);
    }
    const ClassVolumes table = ScaleEach(ws, true, [&ws, peak](int value, int, bool* saturated) {
        return Cap(ws, double(value) / double(peak), saturated);
    });
    double coefficients[Polyra::ClassCount];
    std::fill(std::begin(coefficients), std::end(coefficients), double(peak));
    TraceTable(ws, "\tINSTRUMENT         MAX.ANCIEN  COEF.AGC  MAX.NOUVEAU\n", table, "SAT! ", coefficients);
    return true;
}

void ScaleVolumesToWave(PolyraWorkspace& ws, float factor)
{
    const double coefficient = double(factor) * 0.9;
    ws.trace->Line(PolyraTrace::StageLine, "\tMarge sur coef volume = %f - 10%% = %f\n", double(factor), coefficient);
    ScaleEach(ws, true, [&ws, coefficient](int value, int, bool* saturated) {
        return Cap(ws, double(value) * coefficient, saturated);
    });
}
} // namespace PolyraStages
