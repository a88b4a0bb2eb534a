// The real program on sources written in the dialects it reads as their authors meant them: every note of a
// ring tone comes out in the phone's range, and the run log says what was read another way.
#include "MidiFileBuilder.h"
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include <gtest/gtest.h>

namespace {

using namespace ProgramRunFixture;

// The MELODY line of an iMelody file; empty when it has none.
QString MelodyLine(const QByteArray& imy)
{
    for (const QByteArray& line : imy.split('\n'))
        if (line.startsWith("MELODY:"))
            return QString::fromLatin1(line.trimmed());
    return QString();
}

using CommandLineSourceReadingTest = CProgramRunTest;

TEST_F(CommandLineSourceReadingTest, EveryRingToneNoteReachesThePhoneInItsBand)
{
    // Model A plays keys 57 to 93: C of octave 3 (key 48) goes up one octave to key 60, C of octave 8 (key 108)
    // down two to key 84.
    Write("dialects.rtx", "x:d=16,o=5,b=180:48f.,64p,a5#,8c3,8c8");
    const CRun run = Imy(Words("dialects.rtx"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(MelodyLine(ReadBytes(W("dialects.IMY"))), QStringLiteral("MELODY:f5.r5#a4*3c3*5c3"));
    const QString log = Log();
    EXPECT_EQ(log.count(QStringLiteral("notes shorter than a thirty-second note")), 1) << log.toStdString();
    EXPECT_EQ(log.count(QStringLiteral("outside octaves 4 to 7")), 1) << log.toStdString();
    EXPECT_FALSE(log.contains(QStringLiteral("was skipped"))) << log.toStdString();
}

TEST_F(CommandLineSourceReadingTest, AFileOfIndependentSequencesSaysWhichOneIsConverted)
{
    SmfTrack first, second;
    first.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60);
    second.NoteOn(0, 0, 72, 100).NoteOff(480, 0, 72).NoteOn(0, 0, 74, 100).NoteOff(480, 0, 74);
    Write("two.mid", SmfFile({first, second}, 480, 2));
    Write("both.mid", SmfFile({first, second}, 480, 1));
    const CRun run = Imy(Words("two.mid"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(MelodyLine(ReadBytes(W("two.IMY"))), QStringLiteral("MELODY:*3c2"));
    EXPECT_EQ(Log().count(QStringLiteral("\nFormat 2: the first of 2 sequences is converted.\n")), 1)
        << Log().toStdString();
    // Tracks that sound together say nothing.
    EXPECT_EQ(Imy(Words("both.mid")).exitCode, 0);
    EXPECT_FALSE(Log().contains(QStringLiteral("sequences"))) << Log().toStdString();
}

} // namespace
