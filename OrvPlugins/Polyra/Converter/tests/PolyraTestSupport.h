#pragma once
// Shared helpers of the Polyra tests: MSEQ words and files worked out by hand.
#include "MseqFormat.h"

#include "Util/CMemFile.h"

#include <QByteArray>
#include <QString>

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

} // namespace PolyraTest

#include "MessageCapture.h"
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

struct PipelineRun
{
    PolyraOutcome outcome = PolyraOutcome::Failed;
    QByteArray sequence;
    QByteArray format0;
    QByteArray dest;
    QString log;
    PolyraResults results;

    // The MISC track's commands, between its 0xFFFF and its close word.
    Words Misc() const
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
    run.log = log.GetSummaryText();
    return run;
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
