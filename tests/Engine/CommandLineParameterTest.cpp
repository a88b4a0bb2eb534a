// The real program on the built application folder: a source converts at its own tempo, a parameter file's
// values stay as far as the phone allows them, and every value the phone changed is named in the run log.
#include "MidiFileBuilder.h"
#include "ProgramRunFixture.h"
#include "QtPrinters.h"
#include "WavBuilder.h"
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

using namespace ProgramRunFixture;

// A tune of four quarter notes at the given tempo.
QByteArray MidiAt(int bpm)
{
    SmfTrack track;
    track.Tempo(0, uint32_t(60000000 / bpm));
    for (int key : {60, 64, 67, 72})
        track.NoteOn(0, 0, key, 100).NoteOff(480, 0, key);
    return SmfFile({track}, 480, 0);
}

// The shipped iMelody parameters with another tempo.
QByteArray ImyParametersAt(int tempo)
{
    QByteArray file = ReadBytes(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/IMYParameters.xml"));
    return file.replace("NAME=\"Tempo\" TYPE=\"Integer\" VALUE=\"120\"",
                        "NAME=\"Tempo\" TYPE=\"Integer\" VALUE=\"" + QByteArray::number(tempo) + "\"");
}

// The BEAT line of an iMelody file; empty when it has none.
QString Beat(const QByteArray& imy)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("(?:^|\n)(BEAT:\\d+)\r?\n")).match(QString::fromLatin1(imy));
    return match.captured(1);
}

// The vocoder of every message of a VOX clip (bits 11 to 8 of each message's last word); -1 for a clip that is
// not one.
QSet<int> Vocoders(const QByteArray& vox)
{
    if (!vox.startsWith(".VOX"))
        return {-1};
    QSet<int> vocoders;
    const auto word = [&vox](int at) { return int(uchar(vox[at])) | int(uchar(vox[at + 1])) << 8; };
    for (int at = 4; at + 1 < vox.size();) {
        const int words = word(at) >> 8;
        if (words < 2 || at + 2 * words > vox.size())
            return {-1};
        vocoders.insert((word(at + 2 * (words - 1)) >> 8) & 0x0F);
        at += 2 * words;
    }
    return vocoders;
}

using CommandLineParameterTest = CProgramRunTest;

TEST_F(CommandLineParameterTest, ASourceConvertsAtItsOwnTempoUnlessAParameterFileSetsOne)
{
    Write("lantern.rtx", "Lantern:d=4,o=5,b=112:8c,8e,8g,c6,8g,2e");
    Write("slow.mid", MidiAt(90));
    Write("mine.xml", ImyParametersAt(150));
    Write("fast.xml", ImyParametersAt(300));
    const QString clamped = QStringLiteral("Tempo is 200 instead of 300: Model A takes 40 to 200.\n");
    const struct
    {
        const char *source, *parameters, *output, *beat;
    } cases[] = {
        {"lantern.rtx", nullptr, "lantern.IMY", "BEAT:112"},
        {"slow.mid", nullptr, "slow.IMY", "BEAT:90"},
        {"lantern.rtx", "/parameter=mine.xml", "lantern.IMY", "BEAT:150"},
        // Model A plays 40 to 200 beats per minute.
        {"slow.mid", "/parameter=fast.xml", "slow.IMY", "BEAT:200"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " " + (c.parameters ? c.parameters : "-"));
        const CRun run = Imy(c.parameters ? Words(c.source, c.parameters) : Words(c.source));
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(Beat(ReadBytes(W(c.output))), Word(c.beat));
        EXPECT_EQ(Log().contains(clamped), QByteArray(c.beat) == "BEAT:200") << Log().toStdString();
    }
}

TEST_F(CommandLineParameterTest, AClipUsesAVocoderThePhoneOffersAndTheLogNamesTheChange)
{
    WavBuilder::Format format;
    format.rate = 8000;
    Write("hello.wav", WavBuilder::Canonical(format, WavBuilder::Samples(3200)));
    const CRun run = Run(Words("/profile=Model B", "/converter=vox", "/logfile=run.log", "hello.wav"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The first vocoder the phone offers: GSM half rate.
    EXPECT_EQ(Vocoders(ReadBytes(W("hello.VOX"))), QSet<int>{2});
    EXPECT_TRUE(Log().contains(
        QStringLiteral("VocoderTypeName is gsm_hr instead of gsm_amr_122: Model B does not offer gsm_amr_122.\n")))
        << Log().toStdString();
}

} // namespace
