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

class CommandLineParameterTest : public CProgramRunTest
{};

TEST_F(CommandLineParameterTest, ASourceConvertsAtItsOwnTempoUnlessAParameterFileSetsOne)
{
    Write(QStringLiteral("lantern.rtx"), "Lantern:d=4,o=5,b=112:8c,8e,8g,c6,8g,2e");
    Write(QStringLiteral("slow.mid"), MidiAt(90));
    Write(QStringLiteral("mine.xml"), ImyParametersAt(150));
    Write(QStringLiteral("fast.xml"), ImyParametersAt(300));
    const struct
    {
        const char* source;
        const char* parameters;
        const char* beat;
    } cases[] = {
        {"lantern.rtx", nullptr, "BEAT:112"},
        {"slow.mid", nullptr, "BEAT:90"},
        {"lantern.rtx", "mine.xml", "BEAT:150"},
        // Model A plays 40 to 200 beats per minute.
        {"slow.mid", "fast.xml", "BEAT:200"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " " + (c.parameters ? c.parameters : "-"));
        QStringList arguments{QString::fromLatin1(c.source)};
        if (c.parameters)
            arguments << QStringLiteral("/parameter=") + QString::fromLatin1(c.parameters);
        const CRun run = Imy(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QString output =
            W(QString::fromLatin1(c.source).section(QLatin1Char('.'), 0, 0) + QStringLiteral(".IMY"));
        EXPECT_EQ(Beat(ReadBytes(output)), QString::fromLatin1(c.beat));
        const QString clamped = QStringLiteral("Tempo is 200 instead of 300: Model A takes 40 to 200.\n");
        EXPECT_EQ(Log().contains(clamped), QByteArray(c.beat) == "BEAT:200") << Log().toStdString();
    }
}

TEST_F(CommandLineParameterTest, AClipUsesAVocoderThePhoneOffersAndTheLogNamesTheChange)
{
    WavBuilder::Format format;
    format.rate = 8000;
    Write(QStringLiteral("hello.wav"), WavBuilder::Canonical(format, WavBuilder::Samples(3200)));
    const CRun run = Run({QStringLiteral("/profile=Model B"), QStringLiteral("/converter=vox"),
                          QStringLiteral("/logfile=run.log"), QStringLiteral("hello.wav")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The first vocoder the phone offers: GSM half rate.
    EXPECT_EQ(Vocoders(ReadBytes(W(QStringLiteral("hello.VOX")))), QSet<int>{2});
    EXPECT_TRUE(Log().contains(
        QStringLiteral("VocoderTypeName is gsm_hr instead of gsm_amr_122: Model B does not offer gsm_amr_122.\n")))
        << Log().toStdString();
}

} // namespace
