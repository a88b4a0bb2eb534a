// The real program converting the bundled examples from the command line:
// MIDI and ring tones become iMelody ring tones with their WAV previews.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

quint32 Le32(const QByteArray& bytes, int at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

quint16 Le16(const QByteArray& bytes, int at)
{
    return quint16(quint8(bytes.at(at)) | (quint8(bytes.at(at + 1)) << 8));
}

class TunraProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Scratch.isValid());
        m_App = QString::fromUtf8(ORV_APP_DIR);
        m_Work = m_Scratch.filePath(QStringLiteral("work"));
        ASSERT_TRUE(QDir().mkpath(m_Work + QStringLiteral("/out")));
        for (const char* name : {"morning.mid", "lantern.rtx", "harbour.rtx"})
            ASSERT_TRUE(QFile::copy(QString::fromUtf8(ORV_SOURCE_DIR) + QStringLiteral("/examples/")
                                        + QString::fromLatin1(name),
                                    m_Work + QLatin1Char('/') + QString::fromLatin1(name)));
    }

    // Runs the main job on one source; returns the exit code.
    int Convert(const QString& source, const QString& profile = QStringLiteral("Model A"))
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORVANEDIR"), m_App);
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_Work);
        process.start(QStringLiteral(ORV_PROGRAM_FILE),
                      {QStringLiteral("/profile=") + profile, QStringLiteral("/converter=imy"),
                       QStringLiteral("/destination=out"), QStringLiteral("/preview"),
                       QStringLiteral("/logfile=run.log"), source});
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished(1000);
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QString Out(const char* name) const { return m_Work + QStringLiteral("/out/") + QString::fromLatin1(name); }
    QByteArray Log() const { return ReadAll(m_Work + QStringLiteral("/run.log")); }

    QTemporaryDir m_Scratch;
    QString m_App;
    QString m_Work;
};
} // namespace

TEST_F(TunraProgram, MidiExampleBecomesAnIMelodyWithItsPreview)
{
    ASSERT_EQ(Convert(QStringLiteral("morning.mid")), 0) << Log().constData();
    EXPECT_EQ(ReadAll(Out("morning.IMY")),
              QByteArray("BEGIN:IMELODY\r\nVERSION:1.0\r\nFORMAT:CLASS1.0\r\nNAME:morning\r\nBEAT:120\r\n"
                         "STYLE:0\r\nVOLUME:7\r\nMELODY:c2e2g2e2f3g3a2g1r2e2d3c3d2e2c1r2*3g2c1.\r\nEND:IMELODY"));

    const QByteArray wave = ReadAll(Out("morning_previewIMY.WAV"));
    ASSERT_GE(wave.size(), 44);
    EXPECT_EQ(wave.left(4), QByteArray("RIFF"));
    EXPECT_EQ(wave.mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(Le16(wave, 20), 1);      // PCM
    EXPECT_EQ(Le16(wave, 22), 1);      // mono
    EXPECT_EQ(Le32(wave, 24), 22050u); // rate
    EXPECT_EQ(Le16(wave, 34), 16);     // bits
    // At beat 120, Natural: a quarter 11024 samples, an eighth 5512, a half
    // 22050, a quarter rest 11025, the closing dotted half 33074.
    const quint32 samples =
        4 * 11024 + 2 * 5512 + 11024 + 22050 + 11025 + 11024 + 2 * 5512 + 2 * 11024 + 22050 + 11025 + 11024 + 33074;
    EXPECT_EQ(Le32(wave, 40), samples * 2);
    EXPECT_EQ(Le32(wave, 4), 36 + samples * 2);
    EXPECT_EQ(wave.size(), int(44 + samples * 2));
}

TEST_F(TunraProgram, RingToneExamplesBecomeIMelodies)
{
    struct Case
    {
        const char* source;
        const char* output;
        const char* beat;
        const char* melody;
    };
    // Each at its own tempo. Model A's buzzer plays keys 57 to 93: harbour's
    // B and C of octave 6 come down an octave.
    const Case cases[] = {
        {"lantern.rtx", "lantern.IMY", "112", "MELODY:c3e3g3*5c2b3g3e1d3f3a3g2e3d3c1\r\n"},
        {"harbour.rtx", "harbour.IMY", "140", "MELODY:*5c3*5e3*5g3*5e2*5d3*5f3*5a3*5f2*5e3*5g3b3*5g2*5c1r3*5c2\r\n"},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.source);
        ASSERT_EQ(Convert(QString::fromLatin1(t.source)), 0) << Log().constData();
        const QByteArray name = QByteArray(t.source).left(int(std::strlen(t.source)) - 4);
        EXPECT_EQ(ReadAll(Out(t.output)), "BEGIN:IMELODY\r\nVERSION:1.0\r\nFORMAT:CLASS1.0\r\nNAME:" + name
                                              + "\r\nBEAT:" + t.beat + "\r\nSTYLE:0\r\nVOLUME:7\r\n"
                                              + QByteArray(t.melody) + "END:IMELODY");
        EXPECT_TRUE(QFile::exists(Out(t.output).replace(QStringLiteral(".IMY"), QStringLiteral("_previewIMY.WAV"))));
    }
}

TEST_F(TunraProgram, RingToneThatWritesBAsBPlaysIt)
{
    // B of text octave 5 twice, then C of octave 6: iMelody octave 4 needs no
    // prefix, octave 5 does.
    ASSERT_TRUE(WriteAll(m_Work + QStringLiteral("/bee.rtx"), "x:d=4,o=5,b=100:8b5,8h5,8c6"));
    ASSERT_EQ(Convert(QStringLiteral("bee.rtx")), 0) << Log().constData();
    const QByteArray out = ReadAll(Out("bee.IMY"));
    EXPECT_TRUE(out.endsWith("\r\nMELODY:b3b3*5c3\r\nEND:IMELODY")) << out.constData();
}

TEST_F(TunraProgram, DrumsOnlyMidiFailsWithItsMessageInTheLog)
{
    // Two drum hits on MIDI channel 10 and nothing else.
    const QByteArray drums = QByteArray::fromHex("4D546864000000060000000100604D54726B00000014"
                                                 "0099246460892400009926646089260000FF2F00");
    ASSERT_TRUE(WriteAll(m_Work + QStringLiteral("/drums.mid"), drums));
    EXPECT_NE(Convert(QStringLiteral("drums.mid")), 0);
    EXPECT_TRUE(Log().contains("The melody holds no note to play.")) << Log().constData();
    EXPECT_FALSE(QFile::exists(Out("drums.IMY")));
}
