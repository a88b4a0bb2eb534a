// The real program turning the bundled spoken example into a VOX clip with
// its preview from the command line, and refusing what it cannot code.
#include "Wave/CDocumentWave.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

quint32 Le(const QByteArray& bytes, int at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

QByteArray Wav(quint32 rate, quint16 bits, quint16 format, quint32 frames)
{
    const quint32 size = frames * bits / 8;
    QByteArray file("RIFF");
    auto put = [&](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.append(char((value >> (8 * i)) & 0xFF));
    };
    put(36 + size, 4);
    file += "WAVEfmt ";
    put(16, 4);
    put(format, 2);
    put(1, 2);
    put(rate, 4);
    put(rate * bits / 8, 4);
    put(bits / 8, 2);
    put(bits, 2);
    file += "data";
    put(size, 4);
    for (quint32 i = 0; i < size; ++i)
        file.append(char((i * 37) & 0x7F));
    return file;
}

// Samples of a WAV file once the SDK has brought it to 8000 Hz mono.
quint32 ResampledSamples(const QByteArray& file)
{
    int error = 0;
    WAVEHEADER header;
    unsigned int offset = 0;
    if (!CDocumentWave::ReadHeader(file, error, header, offset))
        return 0;
    CDocumentWave wave;
    wave.SetHeader(&header);
    wave.SetInputData(file.constData() + offset, header.data_ckSize);
    wave.ConvertFormat(1, 16, 8000);
    const quint32 samples = wave.HasOutputData() ? wave.m_OutputWAVEheader.data_ckSize / 2 : 0;
    if (wave.HasOutputData())
        wave.FreeOutputData();
    return samples;
}

// Message lengths of a VOX file, one per message.
std::vector<int> MessageLengths(const QByteArray& vox)
{
    std::vector<int> lengths;
    for (int at = 4; at + 1 < vox.size();)
    {
        const int length = quint8(vox.at(at + 1));
        if (length == 0)
            break;
        lengths.push_back(length);
        at += 2 * length;
    }
    return lengths;
}

class PlexaProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Scratch.isValid());
        m_Work = m_Scratch.path();
        ASSERT_TRUE(QDir().mkpath(m_Work + QStringLiteral("/out")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/examples/hello.wav"),
                                m_Work + QStringLiteral("/hello.wav")));
    }

    int Convert(const QString& source, const QString& profile, const QStringList& extra = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORVANEDIR"), QStringLiteral(ORV_APP_DIR));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_Work);
        process.start(QStringLiteral(ORVANE_PROGRAM),
                      QStringList({QStringLiteral("/profile=") + profile, QStringLiteral("/converter=vox"),
                                   QStringLiteral("/destination=out"), QStringLiteral("/preview"),
                                   QStringLiteral("/logfile=run.log")})
                          + extra + QStringList({source}));
        if (!process.waitForFinished(30000))
        {
            process.kill();
            process.waitForFinished(1000);
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QString Out(const char* name) const { return m_Work + QStringLiteral("/out/") + QString::fromLatin1(name); }
    QByteArray Log() const { return ReadAll(m_Work + QStringLiteral("/run.log")); }
    QStringList Written() const { return QDir(m_Work + QStringLiteral("/out")).entryList(QDir::Files); }

    QTemporaryDir m_Scratch;
    QString m_Work;
};
} // namespace

TEST_F(PlexaProgram, SpokenExampleBecomesAnAmr122ClipWithItsPreview)
{
    ASSERT_EQ(Convert(QStringLiteral("hello.wav"), QStringLiteral("Model C")), 0) << Log().constData();
    const QByteArray vox = ReadAll(Out("hello.VOX"));
    const QByteArray preview = ReadAll(Out("hello_previewVOX.WAV"));
    ASSERT_TRUE(vox.startsWith(".VOX"));
    const std::vector<int> lengths = MessageLengths(vox);
    int consumed = 4;
    for (int length : lengths)
        consumed += 2 * length;
    EXPECT_EQ(consumed, vox.size());

    // One message per whole 20 ms frame of the source brought to 8000 Hz.
    EXPECT_EQ(int(lengths.size()), int(ResampledSamples(ReadAll(m_Work + QStringLiteral("/hello.wav"))) / 160));
    // The default parameters: 12.2 with DTX, so speech and comfort noise.
    const std::set<int> kinds(lengths.begin(), lengths.end());
    EXPECT_TRUE(kinds.count(17));
    for (int length : kinds)
        EXPECT_TRUE(length == 17 || length == 4 || length == 2) << length;

    ASSERT_EQ(preview.size(), 44 + 320 * int(lengths.size()));
    EXPECT_EQ(Le(preview, 24, 4), 8000u);
    EXPECT_EQ(Le(preview, 40, 4), 320u * quint32(lengths.size()));
}

TEST_F(PlexaProgram, HalfRatePhoneTakesAnAmrModeFromItsParameterFile)
{
    QByteArray parameters = ReadAll(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/VoxParameters.xml"));
    parameters.replace("VALUE=\"gsm_amr_122\"", "VALUE=\"gsm_amr_475\"");
    parameters.replace("\"EncodeNoDTX\" TYPE=\"Boolean\" VALUE=\"false\"", "\"EncodeNoDTX\" TYPE=\"Boolean\" VALUE=\"true\"");
    ASSERT_TRUE(WriteAll(m_Work + QStringLiteral("/amr475.xml"), parameters));
    ASSERT_EQ(Convert(QStringLiteral("hello.wav"), QStringLiteral("Model B"), {QStringLiteral("/parameter=amr475.xml")}),
              0)
        << Log().constData();
    const std::vector<int> lengths = MessageLengths(ReadAll(Out("hello.VOX")));
    ASSERT_FALSE(lengths.empty());
    for (int length : lengths)
        ASSERT_EQ(length, 8);
}

TEST_F(PlexaProgram, BadInputFailsWithAMessageAndNoFile)
{
    const struct
    {
        const char* name;
        QByteArray bytes;
        const char* profile;
    } cases[] = {
        {"deep.wav", Wav(8000, 24, 1, 8000), "Model C"},
        {"float.wav", Wav(8000, 32, 3, 8000), "Model C"},
        {"odd.wav", Wav(12000, 16, 1, 8000), "Model C"},
        {"short.wav", Wav(8000, 16, 1, 159), "Model C"},
        {"hello.wav", QByteArray(), "Model A"},
    };
    for (const auto& c : cases)
    {
        const QString name = QString::fromLatin1(c.name);
        if (!c.bytes.isEmpty())
            ASSERT_TRUE(WriteAll(m_Work + QLatin1Char('/') + name, c.bytes));
        EXPECT_EQ(Convert(name, QString::fromLatin1(c.profile)), 1) << c.name;
        EXPECT_TRUE(Written().isEmpty()) << c.name << " " << Written().join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(Log().trimmed().isEmpty()) << c.name;
    }
    EXPECT_TRUE(Log().contains("No converter of this phone writes VOX files."));
}

TEST_F(PlexaProgram, ShortSoundIsNamedAsSuch)
{
    ASSERT_TRUE(WriteAll(m_Work + QStringLiteral("/short.wav"), Wav(8000, 16, 1, 100)));
    EXPECT_EQ(Convert(QStringLiteral("short.wav"), QStringLiteral("Model C")), 1);
    EXPECT_TRUE(Log().contains("The sound is shorter than one 20 ms frame"));
}
