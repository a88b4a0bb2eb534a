#pragma once
// The benchmark tunes, built with the suite's MIDI helpers: the benchmark
// converts them in process, the tool PolyraBenchTunes writes them for the
// peer comparison of scripts/bench-mseq.sh, and the tests pin what the
// converter makes of them.
#include "MidiFileBuilder.h"

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace PolyraBenchTunes {

// 180 seconds at 120 beats a minute, 96 ticks a quarter, one track per
// channel: each of the 16 channels plays its own instrument in notes of a
// sixteenth or an eighth, repeating a pitch for a while before a seeded step
// moves it, about 10,000 notes in all. A repeated note takes over its own
// voice; the changes of pitch, with the releases still running, pass
// Model C's 16 voices a few hundred times.
inline QByteArray LongTune()
{
    // A pitch holds for about 60 notes; 42 % of the steps are rests.
    const uint32_t kRepeats = 60;
    const uint32_t kRestPercent = 42;
    const uint32_t ticks = 360 * 96;
    uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    QByteArray file("MThd");
    AppendU32(file, 6);
    file.append(QByteArray::fromHex("0001001100"
                                    "60"));
    QByteArray tempo = QByteArray::fromHex("00FF510307A120") + QByteArray::fromHex("00FF2F00");
    file.append("MTrk");
    AppendU32(file, uint32_t(tempo.size()));
    file.append(tempo);
    for (int channel = 0; channel < 16; ++channel) {
        QByteArray track;
        if (channel != 9)
            track.append(char(0x00)).append(char(0xC0 | channel)).append(char(channel * 8));
        uint32_t now = 0;
        uint32_t pending = 0;
        int pitch = 48 + channel * 2;
        while (now < ticks) {
            const uint32_t length = (next() % 3 == 0) ? 48 : 24;
            const bool rest = next() % 100 < kRestPercent;
            if (!rest) {
                if (next() % kRepeats == 0)
                    pitch = std::clamp(pitch + int(next() % 7) - 3, 30, 90);
                AppendVarLen(track, pending);
                track.append(char(0x90 | channel)).append(char(pitch)).append(char(60 + next() % 60));
                AppendVarLen(track, length - 4);
                track.append(char(0x80 | channel)).append(char(pitch)).append(char(0));
                pending = 4;
            } else
                pending += length;
            now += length;
        }
        AppendVarLen(track, pending);
        track.append(QByteArray::fromHex("FF2F00"));
        file.append("MTrk");
        AppendU32(file, uint32_t(track.size()));
        file.append(track);
    }
    return file;
}

// Notes gathered per track in any order, then written as one SMF track each
// (its tempo and program first).
class TuneTracks
{
public:
    explicit TuneTracks(int count) : m_Tracks(size_t(count)) {}
    void Note(int track, int channel, uint32_t tick, int key, uint32_t length, int velocity)
    {
        m_Tracks[size_t(track)].push_back({tick, 0x90 | channel, key, velocity});
        m_Tracks[size_t(track)].push_back({tick + length, 0x80 | channel, key, 0});
    }
    // tempo (microseconds a quarter) goes on the first track; programs[t] < 0
    // gives track t no program change.
    QByteArray File(uint32_t tempo, const std::vector<int>& programs, int division = 96)
    {
        QList<SmfTrack> smf;
        for (size_t track = 0; track < m_Tracks.size(); ++track) {
            std::vector<Event>& events = m_Tracks[track];
            std::stable_sort(events.begin(), events.end(),
                             [](const Event& a, const Event& b) { return a.tick < b.tick; });
            SmfTrack out;
            if (track == 0)
                out.Tempo(0, tempo);
            if (track < programs.size() && programs[track] >= 0)
                out.Program(0, int(track), programs[track]);
            uint32_t now = 0;
            for (const Event& e : events) {
                out.Message(e.tick - now, e.status, e.key, e.velocity);
                now = e.tick;
            }
            smf.append(out);
        }
        return SmfFile(smf, division);
    }

private:
    struct Event
    {
        uint32_t tick;
        int status, key, velocity;
    };
    std::vector<std::vector<Event>> m_Tracks;
};

// A seeded choice in 0..range-1, the same on every platform.
class TuneRandom
{
public:
    explicit TuneRandom(uint32_t seed) : m_Seed(seed) {}
    uint32_t operator()(uint32_t range)
    {
        m_Seed = m_Seed * 1103515245u + 12345u;
        return ((m_Seed >> 16) & 0x7FFF) % range;
    }

private:
    uint32_t m_Seed;
};

// A dense game tune: 10 minutes at 150 beats a minute, 96 ticks a quarter,
// five tracks (square lead in sixteenths with a few rests, synth bass in
// eighths, piano triads on every half note, vibraphone arpeggio and drums on
// every quarter), about 20 notes a second: 12,450 notes, 24,900 note events.
constexpr double kDenseTuneSeconds = 600.0;

inline QByteArray DenseGameTune()
{
    const uint32_t ticks = 600 * 150 / 60 * 96;
    TuneRandom next(2024);
    TuneTracks tracks(5);
    for (uint32_t t = 0; t < ticks; t += 24)
        if (next(10) < 7)
            tracks.Note(0, 0, t, 72 + int(next(12)), 20, 110);
    for (uint32_t t = 0; t < ticks; t += 48)
        tracks.Note(1, 1, t, 36 + int(next(12)), 40, 100);
    for (uint32_t t = 0; t < ticks; t += 192)
        for (int step : {0, 4, 7})
            tracks.Note(2, 2, t, 60 + step, 180, 80);
    for (uint32_t t = 0; t < ticks; t += 96) {
        tracks.Note(3, 3, t, 84 + int(next(8)), 30, 70);
        const int drums[] = {36, 42, 38, 42};
        tracks.Note(4, 9, t, drums[(t / 96) % 4], 10, 100);
    }
    return tracks.File(400000, {80, 38, 0, 11});
}

// A game tune of short notes: 10 minutes at 120 beats a minute, 96 ticks a
// quarter, clavinet, muted electric guitar and slap bass on three channels
// and drums, nearly every note an eighth or shorter. The clavinet picks
// sixteenths (now and then a quarter), the guitar chops eighths, the bass
// slaps sixteenths with octave jumps, the drums keep eighths of hi-hat with
// kick and snare: about 12,300 notes, 20 a second.
constexpr double kShortNoteTuneSeconds = 600.0;

inline QByteArray ShortNoteGameTune()
{
    const uint32_t quarter = 96;
    const uint32_t ticks = 600 * 120 / 60 * quarter;
    TuneRandom next(1987);
    TuneTracks tracks(4);
    const int scale[] = {0, 2, 3, 5, 7, 10}; // a minor pentatonic and its fourth
    for (uint32_t t = 0; t < ticks; t += quarter / 4) {
        if (next(100) < 59) {
            const uint32_t length = next(12) == 0 ? quarter - 8 : quarter / 4 - 6;
            tracks.Note(0, 0, t, 64 + scale[next(6)] + 12 * int(next(2)), length, 70 + int(next(40)));
        }
    }
    for (uint32_t t = 0; t < ticks; t += quarter / 2)
        if (next(100) < 88)
            tracks.Note(1, 1, t, 52 + scale[next(6)], quarter / 2 - 30, 60 + int(next(30)));
    int root = 33;
    for (uint32_t t = 0; t < ticks; t += quarter / 4) {
        if (t % (8 * quarter) == 0)
            root = 28 + int(next(8));
        if (next(100) < 79)
            tracks.Note(2, 2, t, root + 12 * int(next(3) == 0), quarter / 4 - 10, 80 + int(next(40)));
    }
    for (uint32_t t = 0; t < ticks; t += quarter / 2) {
        tracks.Note(3, 9, t, next(8) == 0 ? 46 : 42, 8, 70 + int(next(30)));
        const uint32_t beat = t / quarter;
        if (t % quarter == 0)
            tracks.Note(3, 9, t, beat % 2 == 0 ? 36 : 38, 8, 110);
    }
    return tracks.File(500000, {7, 28, 36, -1});
}

} // namespace PolyraBenchTunes
