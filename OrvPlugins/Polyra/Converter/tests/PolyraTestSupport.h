#pragma once
// Shared helpers of the Polyra tests: MSEQ words and files worked out by hand.
#include "MseqFormat.h"

#include "Util/CMemFile.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace PolyraTest {

using Words = std::vector<uint16_t>;

inline QByteArray WordBytes(const Words& words)
{
    QByteArray bytes;
    for (uint16_t word : words) {
        bytes.append(char(word & 0xFF));
        bytes.append(char(word >> 8));
    }
    return bytes;
}

inline Words BytesToWords(const uint8_t* bytes, int length)
{
    Words words;
    for (int i = 0; i + 1 < length; i += 2)
        words.push_back(uint16_t(bytes[i] | (bytes[i + 1] << 8)));
    return words;
}

inline QByteArray FileBytes(const CMemFile& file)
{
    return QByteArray(reinterpret_cast<const char*>(file.GetBuffer()), int(file.GetSize()));
}

// The MISC track around the given commands: open word, size, 0xFFFF, the
// commands, close word.
inline Words MiscTrack(const Words& commands)
{
    const uint32_t size = (uint32_t(commands.size() + 5) << 8) | 0x01;
    Words words = {0x019E, uint16_t(size & 0xFFFF), uint16_t(size >> 16), 0xFFFF};
    words.insert(words.end(), commands.begin(), commands.end());
    words.push_back(0x01FE);
    return words;
}

inline uint16_t NoteWord(int channel, int pitch)
{
    return uint16_t((pitch << 9) | (channel << 5) | 2);
}
inline uint16_t NoteLength(unsigned duration, unsigned velocity)
{
    return uint16_t((duration << 6) | velocity);
}
inline uint16_t VolumeWord(int channel, int volume)
{
    return uint16_t((volume << 9) | (channel << 5) | 4);
}
inline uint16_t DelayWord(unsigned ticks)
{
    return uint16_t((ticks << 5) | 22);
}
inline uint16_t RtbWord(unsigned rtb)
{
    return uint16_t((rtb << 5) | 27);
}

// A note as the MISC track plays it: from its start for length ticks. The
// NOTE commands of one long note split at the same instant count as one.
struct WrittenNote
{
    uint64_t start = 0;
    uint64_t length = 0; // ticks
    int channel = 0;
    int pitch = 0;
};

inline std::vector<WrittenNote> WrittenNotes(const Words& misc)
{
    std::vector<WrittenNote> notes;
    uint64_t now = 0;
    uint64_t rtb = 1;
    bool split = false; // the last command was a NOTE at this instant
    for (size_t i = 0; i < misc.size(); ++i) {
        const uint16_t word = misc[i];
        const int code = word & 0x1F;
        const bool note = code == 2 && i + 1 < misc.size();
        if (note) {
            const int channel = (word >> 5) & 0x0F;
            const int pitch = word >> 9;
            const uint64_t length = uint64_t(misc[++i] >> 6) * rtb;
            if (split && notes.back().start == now && notes.back().channel == channel && notes.back().pitch == pitch)
                notes.back().length += length;
            else
                notes.push_back({now, length, channel, pitch});
        } else if (code == 27)
            rtb = word >> 5;
        else if (code == 22)
            now += word >> 5;
        else if (code == 23 && i + 1 < misc.size())
            now += (word >> 5) | (uint64_t(misc[++i]) << 11);
        else if (code == 6)
            ++i;
        split = note;
    }
    return notes;
}

// Every NOTE command as pitch and duration in units, in the track's order;
// a note split at one instant gives several.
struct NoteCommand
{
    int pitch = 0;
    unsigned units = 0;
    bool operator==(const NoteCommand& other) const { return pitch == other.pitch && units == other.units; }
};

inline std::vector<NoteCommand> NoteCommands(const Words& misc)
{
    std::vector<NoteCommand> commands;
    for (size_t i = 0; i < misc.size(); ++i) {
        const int code = misc[i] & 0x1F;
        if (code == 2 && i + 1 < misc.size()) {
            commands.push_back({misc[i] >> 9, unsigned(misc[i + 1] >> 6)});
            ++i;
        } else if (code == 23 || code == 6)
            ++i;
    }
    return commands;
}

// The most notes sounding at one instant; a note ending where another
// starts does not overlap it.
inline int MostSounding(const std::vector<WrittenNote>& notes)
{
    int most = 0;
    for (const WrittenNote& at : notes) {
        int sounding = 0;
        for (const WrittenNote& other : notes)
            sounding += other.start <= at.start && at.start < other.start + other.length;
        most = std::max(most, sounding);
    }
    return most;
}

} // namespace PolyraTest

#include "ExporterTestSupport.h"
#include "MessageCapture.h"
#include "MidiClasses/MidiArchive.h"
#include "MidiClasses/MidiEventData.h"
#include "MidiClasses/MidiMemoryStream.h"
#include "MidiClasses/MidiStream.h"
#include "MidiFileBuilder.h"
#include "Plugin/CConversionLog.h"
#include "PolyraPipeline.h"

#include <QDir>
#include <QTemporaryDir>

namespace PolyraTest {

// A phone like Model C: band 12..120, 16 voices, every class costing one of
// each budget, releases of 450 ms.
inline PolyraProfile TestProfile()
{
    PolyraProfile profile;
    profile.lowNote = 12;
    profile.highNote = 120;
    const float maxima[Polyra::LoadKinds] = {16, 40, 32};
    for (int kind = 0; kind < Polyra::LoadKinds; ++kind) {
        profile.loads[kind].maximum = maxima[kind];
        for (float& load : profile.loads[kind].perClass)
            load = 1;
    }
    for (float& release : profile.release)
        release = 450;
    return profile;
}

// Every class kept at its own volume, no detune, booster off.
inline PolyraParameters TestParameters()
{
    PolyraParameters parameters;
    for (int c = 0; c < Polyra::ClassCount; ++c) {
        parameters.keep[c] = 1;
        parameters.volume[c] = 1;
    }
    parameters.booster = 1;
    return parameters;
}

// The MISC track's commands of a sequence, between its 0xFFFF and its close
// word.
inline Words MiscCommands(const QByteArray& sequence)
{
    if (sequence.size() < 32)
        return {};
    const Words track =
        BytesToWords(reinterpret_cast<const uint8_t*>(sequence.constData()) + 24, int(sequence.size()) - 24);
    const size_t length = size_t((track[1] | (track[2] << 16)) >> 8);
    if (length < 5 || length > track.size())
        return {};
    return Words(track.begin() + 4, track.begin() + long(length) - 1);
}

struct PipelineRun
{
    PolyraOutcome outcome = PolyraOutcome::Failed;
    QByteArray sequence;
    QByteArray format0;
    QByteArray dest;
    QByteArray wave;
    QString log;
    PolyraResults results;

    Words Misc() const { return MiscCommands(sequence); }
};

// Runs the whole pipeline in an empty current folder (no media script
// unless one is given).
inline PipelineRun RunPipeline(const QByteArray& midi, const PolyraProfile& profile = TestProfile(),
                               const PolyraParameters& parameters = TestParameters(), bool bassMute = false,
                               const QByteArray& script = QByteArray())
{
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    if (!script.isNull()) {
        QFile file(QStringLiteral(".emi"));
        if (file.open(QIODevice::WriteOnly))
            file.write(script);
    }
    CMemFile source, format0, dest, sequence, wave;
    source.SetData(reinterpret_cast<const uchar*>(midi.constData()), uint(midi.size()));
    PolyraFiles files{source, format0, dest, sequence, wave};
    CConversionLog log;
    PipelineRun run;
    run.outcome = Polyra::RunPipeline(profile, parameters, files, run.results, &log, nullptr, bassMute);
    QDir::setCurrent(previous);
    run.sequence = FileBytes(sequence);
    run.format0 = FileBytes(format0);
    run.dest = FileBytes(dest);
    run.wave = FileBytes(wave);
    run.log = log.GetSummaryText();
    return run;
}

// The line a converter notice leaves in the log: its text in the language
// file with the arguments. Needs ExporterTest::LoadLanguage.
inline QString NoticeLine(const char* id, const QString& first, const QString& second = QString())
{
    const QString text = ExporterTest::LogLine("CPolyra", id).chopped(1);
    return (second.isNull() ? text.arg(first) : text.arg(first, second)) + QLatin1Char('\n');
}

// The notice of folded tempo changes: one change is said in the singular.
inline const char* FoldedId(int changes)
{
    return changes == 1 ? "id_tempo_change_folded" : "id_tempo_changes_folded";
}

// A note of a MIDI file as the SDK's reader gives it, in ticks and in
// seconds under the file's tempo changes.
struct HeardNote
{
    int channel = 0;
    int pitch = 0;
    uint64_t start = 0;
    uint64_t length = 0; // ticks
    double startSeconds = 0;
    double seconds = 0;
};

struct HeardMidi
{
    bool loaded = false;
    int division = 0;
    std::vector<HeardNote> notes; // by start, then by the file's order
    double seconds = 0;           // to the last event, the end of track
};

inline HeardMidi HearMidi(const QByteArray& bytes)
{
    HeardMidi heard;
    MidiStream stream;
    MidiMemoryStream source(reinterpret_cast<const unsigned char*>(bytes.constData()), uint32_t(bytes.size()));
    MidiArchive archive(source);
    if (!stream.Serialize(archive) || stream.GetDivision() == 0 || (stream.GetDivision() & 0x8000))
        return heard;
    heard.loaded = true;
    heard.division = stream.GetDivision();
    struct Timed
    {
        uint64_t tick;
        MidiEventData data;
    };
    std::vector<Timed> events;
    for (MidiTrack* track = stream.GetFirstTrack(); track; track = stream.GetNextTrack()) {
        uint64_t tick = 0;
        for (MidiEvent* event = track->GetEventList()->GetNext(); event; event = event->GetNext()) {
            tick += event->GetDeltaTime();
            Timed timed{tick, MidiEventData()};
            event->GetData(timed.data);
            events.push_back(timed);
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const Timed& a, const Timed& b) { return a.tick < b.tick; });
    double seconds = 0;
    uint64_t last = 0;
    uint32_t tempo = 500000;
    int open[16][128];
    for (auto& channel : open)
        std::fill(std::begin(channel), std::end(channel), -1);
    for (const Timed& timed : events) {
        seconds += double(timed.tick - last) * tempo / heard.division / 1e6;
        last = timed.tick;
        const MidiEventData& data = timed.data;
        if (data.m_Kind == MidiEventData::KIND_META && data.m_MetaType == 0x51 && data.m_Data.size() >= 3) {
            const auto* b = reinterpret_cast<const uint8_t*>(data.m_Data.constData());
            tempo = (uint32_t(b[0]) << 16) | (uint32_t(b[1]) << 8) | b[2];
            continue;
        }
        if (data.m_Kind != MidiEventData::KIND_MESSAGE)
            continue;
        const int kind = data.m_Status & 0xF0;
        const int channel = data.m_Status & 0x0F;
        const int pitch = data.m_Data1 & 0x7F;
        if (kind == 0x90 && data.m_Data2 > 0) {
            open[channel][pitch] = int(heard.notes.size());
            heard.notes.push_back({channel, pitch, timed.tick, 0, seconds, 0});
        } else if ((kind == 0x80 || kind == 0x90) && open[channel][pitch] >= 0) {
            HeardNote& note = heard.notes[size_t(open[channel][pitch])];
            note.length = timed.tick - note.start;
            note.seconds = seconds - note.startSeconds;
            open[channel][pitch] = -1;
        }
    }
    heard.seconds = seconds;
    return heard;
}

// An event at its tick; events of one tick keep the order given.
struct TimedEvent
{
    uint32_t tick = 0;
    QByteArray bytes;
};

// The events as one track, in time order, ending at `end` (or at the last
// event when that comes later).
inline MidiTest::TrackBuilder TrackOf(std::vector<TimedEvent> events, uint32_t end = 0)
{
    std::stable_sort(events.begin(), events.end(),
                     [](const TimedEvent& a, const TimedEvent& b) { return a.tick < b.tick; });
    MidiTest::TrackBuilder track;
    uint32_t now = 0;
    for (const TimedEvent& event : events) {
        track.Event(event.tick - now, event.bytes);
        now = event.tick;
    }
    track.EndOfTrack(end > now ? end - now : 0);
    return track;
}

inline QByteArray TempoBytes(uint32_t microseconds)
{
    return ::Bytes(
        {0xFF, 0x51, 0x03, int(microseconds >> 16), int((microseconds >> 8) & 0xFF), int(microseconds & 0xFF)});
}

// A format 0 file of the events at the division.
inline QByteArray FileOf(const std::vector<TimedEvent>& events, int division, uint32_t end = 0)
{
    MidiTest::FileBuilder file;
    file.Header(0, 1, division).Track(TrackOf(events, end));
    return file.Data();
}

// A format 1 file at the division: a tempo track (500000 us a quarter) and
// the given track.
inline QByteArray TwoTrackFile(const MidiTest::TrackBuilder& music, int division = 96)
{
    MidiTest::TrackBuilder tempo;
    tempo.Meta(0, 0x51, ::Bytes({0x07, 0xA1, 0x20})).EndOfTrack();
    MidiTest::FileBuilder file;
    file.Header(1, 2, division).Track(tempo).Track(music);
    return file.Data();
}

} // namespace PolyraTest
