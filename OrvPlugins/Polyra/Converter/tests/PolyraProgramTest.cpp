// The real program on the built application folder: the bundled evening
// example becomes an MSEQ sequence with its preview; bad input fails with its
// message in the run log and leaves no file.
#include "ProgramRun.h"
#include "TestBytes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
class PolyraProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Scratch.isValid());
        m_Work = m_Scratch.filePath(QStringLiteral("work"));
        ASSERT_TRUE(QDir().mkpath(m_Work + QStringLiteral("/out")));
        const QString example = QString::fromUtf8(ORV_SOURCE_DIR) + QStringLiteral("/examples/evening/");
        for (const char* name : {"evening.mid", ".emi"})
            ASSERT_TRUE(QFile::copy(example + QLatin1String(name), m_Work + QLatin1Char('/') + QLatin1String(name)));
    }

    int Convert(const QString& source, const QString& profile = QStringLiteral("Model C"),
                const QStringList& extra = {})
    {
        return RunProgramIn(m_Work,
                            QStringList{QStringLiteral("/profile=") + profile, QStringLiteral("/converter=seq"),
                                        QStringLiteral("/destination=out"), QStringLiteral("/preview"),
                                        QStringLiteral("/logfile=run.log")}
                                + extra + QStringList{source},
                            60000);
    }

    QString Work(const char* name) const { return m_Work + QLatin1Char('/') + QLatin1String(name); }
    QByteArray Log() const { return ReadFileBytes(Work("run.log")); }

    QTemporaryDir m_Scratch;
    QString m_Work;
};
} // namespace

TEST_F(PolyraProgram, EveningExampleBecomesASequenceWithItsPreview)
{
    ASSERT_EQ(Convert(QStringLiteral("evening.mid")), 0) << Log().constData();
    const QByteArray sequence = ReadFileBytes(Work("out/evening.SEQ"));
    ASSERT_GE(sequence.size(), 26);
    EXPECT_EQ(sequence.left(5), QByteArray(".SEQ!"));
    // The media script beside the source adds the text and picture tracks.
    EXPECT_EQ(int(sequence[22]), 3);
    EXPECT_EQ(LittleAt(sequence, 5, 3) * 2, quint32(sequence.size()));
    EXPECT_EQ(sequence.right(2), QByteArray("\x1f\x00", 2));
    // Its notes fit the duration field in units of their common divisor:
    // the sequence keeps the bytes it has always had.
    EXPECT_EQ(QCryptographicHash::hash(sequence, QCryptographicHash::Sha1).toHex(),
              QByteArray("c1ce88ba2975e8040f6f0f19e64284f9ed1b7219"));

    const QByteArray wave = ReadFileBytes(Work("out/evening_previewSEQ.WAV"));
    ASSERT_GE(wave.size(), 44);
    EXPECT_EQ(wave.left(4), QByteArray("RIFF"));
    EXPECT_EQ(LittleAt(wave, 22, 2), 1u);
    EXPECT_EQ(LittleAt(wave, 24, 4), 8000u);
    EXPECT_EQ(LittleAt(wave, 34, 2), 16u);
    // Eight bars at 120 beats a minute: 16 seconds.
    const double seconds = LittleAt(wave, 40, 4) / 2 / 8000.0;
    EXPECT_NEAR(seconds, 16.0, 1.0);

    const QByteArray log = Log();
    EXPECT_TRUE(log.contains("*** Reduction des surcharges globales")) << log.constData();
    EXPECT_TRUE(log.contains("USER : Statistics on overload dispatching :"));
    EXPECT_TRUE(log.contains("5 media inseres"));
    EXPECT_TRUE(log.contains("USER : optimized volume peak in .wav is"));
}

TEST_F(PolyraProgram, BadInputFailsWithItsMessageAndNoFile)
{
    const QByteArray midi = ReadFileBytes(Work("evening.mid"));
    QByteArray smpte = midi;
    smpte[12] = char(0xE7);
    smpte[13] = char(0x28);
    ASSERT_TRUE(WriteFileBytes(Work("cut.mid"), midi.left(10)));
    ASSERT_TRUE(WriteFileBytes(Work("smpte.mid"), smpte));
    QByteArray parameters =
        ReadFileBytes(QString::fromUtf8(ORV_APP_DIR) + QStringLiteral("/Plugins/Parameters/MSEQParameters.xml"));
    ASSERT_TRUE(WriteFileBytes(Work("all.xml"), parameters));
    parameters.replace("TYPE=\"Boolean\" VALUE=\"true\"", "TYPE=\"Boolean\" VALUE=\"false\"");
    ASSERT_TRUE(WriteFileBytes(Work("none.xml"), parameters));

    struct Case
    {
        const char* source;
        const char* profile;
        QStringList extra;
        const char* message;
        const char* output;
    };
    const Case cases[] = {
        {"evening.mid", "Model A", {}, "No converter of this phone writes SEQ files.", "out/evening.SEQ"},
        // A source whose notes cannot be read leaves every instrument offered, with or without a parameter file,
        // so the file's own fault shows.
        {"cut.mid", "Model C", {}, "Conversion error : FORMAT 1 TO FORMAT 0 CONVERSION ERROR", "out/cut.SEQ"},
        {"cut.mid",
         "Model C",
         {QStringLiteral("/parameter=all.xml")},
         "Conversion error : FORMAT 1 TO FORMAT 0 CONVERSION ERROR",
         "out/cut.SEQ"},
        {"smpte.mid", "Model C", {}, "Conversion error : MIDI TEMPO TOO BIG", "out/smpte.SEQ"},
        {"evening.mid",
         "Model C",
         {QStringLiteral("/parameter=none.xml")},
         "At least one instrument of the file must be kept.",
         "out/evening.SEQ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(Convert(QString::fromLatin1(c.source), QString::fromLatin1(c.profile), c.extra), 1);
        EXPECT_TRUE(Log().contains(c.message)) << Log().constData();
        EXPECT_FALSE(QFile::exists(Work(c.output)));
    }
}
