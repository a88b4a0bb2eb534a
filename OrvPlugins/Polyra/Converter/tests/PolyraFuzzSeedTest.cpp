// Writes the seed corpora of the Polyra fuzz targets: MIDI files that reach
// every stage, and media scripts with every kind of line.
#include "PolyraTestSupport.h"
#include "TestBytes.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using MidiTest::TrackBuilder;

namespace {
// ORV_CORPUS_DIR is PolyraFuzz's folder; the script reader's target keeps its
// seeds in the folder next to it, under its own name.
bool WriteSeed(const char* target, const char* name, const QByteArray& bytes)
{
    const QString folder = QDir::cleanPath(QStringLiteral(ORV_CORPUS_DIR "/../") + QLatin1String(target));
    QDir().mkpath(folder);
    return WriteFileBytes(folder + QLatin1Char('/') + QLatin1String(name), bytes);
}

QByteArray ReadSource(const char* relative)
{
    return ReadFileBytes(QString::fromUtf8(ORV_SOURCE_DIR) + QLatin1Char('/') + QLatin1String(relative));
}
} // namespace

TEST(PolyraFuzzSeeds, AreWritten)
{
    const QByteArray evening = ReadSource("examples/evening/evening.mid");
    ASSERT_FALSE(evening.isEmpty());
    TrackBuilder chord;
    chord.Event(0, {0xC0, 80})
        .Event(0, {0x90, 60, 100})
        .Event(0, {0x90, 64, 128})
        .Event(0, {0xB0, 7, 90})
        .Meta(10, 0x51, ::Bytes({0x07, 0xA1, 0x20}))
        .Event(96, {0x80, 60, 0})
        .Event(0, {0x90, 64, 0})
        .Event(0, {0x99, 36, 100})
        .EndOfTrack(2000);
    TrackBuilder running;
    running.Event(0, {0x90, 60, 100}).Event(5000, {60, 0}).Sysex(0, ::Bytes({1, 2, 3})).EndOfTrack();
    ASSERT_TRUE(WriteSeed("Polyra", "evening.mid", evening));
    ASSERT_TRUE(WriteSeed("Polyra", "chord.mid", PolyraTest::TwoTrackFile(chord)));
    ASSERT_TRUE(WriteSeed("Polyra", "running.mid", PolyraTest::TwoTrackFile(running, 40)));

    ASSERT_TRUE(WriteSeed("PolyraScript", "evening.emi", ReadSource("examples/evening/.emi")));
    ASSERT_TRUE(WriteSeed("PolyraScript", "kinds.emi",
                          "// kinds\n0.5\tQTZ\t\n1\tTXT\ta\\b\n1.2\tPIC\t017\n3\tSND\tx\nno tabs\n-2\tTXT\tx\n"));
}
