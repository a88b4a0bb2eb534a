// Writes the seed corpora of the Polyra fuzz targets: MIDI files that reach
// every stage, and media scripts with every kind of line.
#include "PolyraTestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using MidiTest::TrackBuilder;

namespace {
bool WriteSeed(const char* target, const char* name, const QByteArray& bytes)
{
    const QString folder = QString::fromUtf8(ORV_CORPUS_DIR) + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + QLatin1String(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadSource(const char* relative)
{
    QFile file(QString::fromUtf8(ORV_SOURCE_DIR) + QLatin1Char('/') + QLatin1String(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST(PolyraFuzzSeeds, AreWritten)
{
    const QByteArray evening = ReadSource("examples/evening/evening.mid");
    ASSERT_FALSE(evening.isEmpty());
    TrackBuilder chord;
    chord.Event(0, {0xC0, 80}).Event(0, {0x90, 60, 100}).Event(0, {0x90, 64, 128}).Event(0, {0xB0, 7, 90})
        .Meta(10, 0x51, ::Bytes({0x07, 0xA1, 0x20})).Event(96, {0x80, 60, 0}).Event(0, {0x90, 64, 0})
        .Event(0, {0x99, 36, 100}).EndOfTrack(2000);
    TrackBuilder running;
    running.Event(0, {0x90, 60, 100}).Event(5000, {60, 0}).Sysex(0, ::Bytes({1, 2, 3})).EndOfTrack();
    ASSERT_TRUE(WriteSeed("PolyraFuzz", "evening.mid", evening));
    ASSERT_TRUE(WriteSeed("PolyraFuzz", "chord.mid", PolyraTest::TwoTrackFile(chord)));
    ASSERT_TRUE(WriteSeed("PolyraFuzz", "running.mid", PolyraTest::TwoTrackFile(running, 40)));

    ASSERT_TRUE(WriteSeed("PolyraScriptFuzz", "evening.emi", ReadSource("examples/evening/.emi")));
    ASSERT_TRUE(WriteSeed("PolyraScriptFuzz", "kinds.emi",
                          "// kinds\n0.5\tQTZ\t\n1\tTXT\ta\\b\n1.2\tPIC\t017\n3\tSND\tx\nno tabs\n-2\tTXT\tx\n"));
}
