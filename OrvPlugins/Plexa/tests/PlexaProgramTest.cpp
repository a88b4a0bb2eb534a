// The real program turning the bundled spoken example into a VOX clip with
// its preview from the command line, and refusing what it cannot code.
#include "ProgramRun.h"
#include "TestBytes.h"
#include "WavBuilder.h"

#include "Wave/CDocumentWave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>

namespace {
// A mono WAV file of the given sample format with `frames` samples of a ramp.
QByteArray Wav(quint32 rate, quint16 bits, quint16 format, quint32 frames)
{
    WavBuilder::Format fields;
    fields.tag = format;
    fields.rate = rate;
    fields.bits = bits;
    QByteArray samples(int(frames * bits / 8), '\0');
    for (int i = 0; i < samples.size(); ++i)
        samples[i] = char((i * 37) & 0x7F);
    return WavBuilder::Canonical(fields, samples);
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
    for (int at = 4; at + 1 < vox.size();) {
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
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/examples/hello.wav"), m_Work + QStringLiteral("/hello.wav")));
    }

    int Convert(const QString& source, const QString& profile, const QStringList& extra = {})
    {
        return RunProgramIn(m_Work, QStringList({QStringLiteral("/profile=") + profile,
                                                 QStringLiteral("/converter=vox"), QStringLiteral("/destination=out"),
                                                 QStringLiteral("/preview"), QStringLiteral("/logfile=run.log")})
                                        + extra + QStringList({source}));
    }

    QString Out(const char* name) const { return m_Work + QStringLiteral("/out/") + QString::fromLatin1(name); }
    QByteArray Log() const { return ReadFileBytes(m_Work + QStringLiteral("/run.log")); }
    QStringList Written() const { return QDir(m_Work + QStringLiteral("/out")).entryList(QDir::Files); }

    QTemporaryDir m_Scratch;
    QString m_Work;
};
} // namespace

TEST_F(PlexaProgram, SpokenExampleBecomesAnAmr122ClipWithItsPreview)
{
    ASSERT_EQ(Convert(QStringLiteral("hello.wav"), QStringLiteral("Model C")), 0) << Log().constData();
    const QByteArray vox = ReadFileBytes(Out("hello.VOX"));
    const QByteArray preview = ReadFileBytes(Out("hello_previewVOX.WAV"));
    ASSERT_TRUE(vox.startsWith(".VOX"));
    const std::vector<int> lengths = MessageLengths(vox);
    int consumed = 4;
    for (int length : lengths)
        consumed += 2 * length;
    EXPECT_EQ(consumed, vox.size());

    // One message per whole 20 ms frame of the source brought to 8000 Hz.
    EXPECT_EQ(int(lengths.size()), int(ResampledSamples(ReadFileBytes(m_Work + QStringLiteral("/hello.wav"))) / 160));
    // The default parameters: 12.2 with DTX, so speech and comfort noise.
    const std::set<int> kinds(lengths.begin(), lengths.end());
    EXPECT_TRUE(kinds.count(17));
    for (int length : kinds)
        EXPECT_TRUE(length == 17 || length == 4 || length == 2) << length;

    ASSERT_EQ(preview.size(), 44 + 320 * int(lengths.size()));
    EXPECT_EQ(LittleAt(preview, 24, 4), 8000u);
    EXPECT_EQ(LittleAt(preview, 40, 4), 320u * quint32(lengths.size()));
}

TEST_F(PlexaProgram, HalfRatePhoneTakesAnAmrModeFromItsParameterFile)
{
    QByteArray parameters =
        ReadFileBytes(QStringLiteral(ORV_SOURCE_DIR "/data/app/Plugins/Parameters/VoxParameters.xml"));
    parameters.replace("VALUE=\"gsm_amr_122\"", "VALUE=\"gsm_amr_475\"");
    parameters.replace("\"EncodeNoDTX\" TYPE=\"Boolean\" VALUE=\"false\"",
                       "\"EncodeNoDTX\" TYPE=\"Boolean\" VALUE=\"true\"");
    ASSERT_TRUE(WriteFileBytes(m_Work + QStringLiteral("/amr475.xml"), parameters));
    ASSERT_EQ(
        Convert(QStringLiteral("hello.wav"), QStringLiteral("Model B"), {QStringLiteral("/parameter=amr475.xml")}), 0)
        << Log().constData();
    const std::vector<int> lengths = MessageLengths(ReadFileBytes(Out("hello.VOX")));
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
        {"deep.wav", Wav(8000, 24, 1, 8000), "Model C"}, {"float.wav", Wav(8000, 32, 3, 8000), "Model C"},
        {"odd.wav", Wav(12000, 16, 1, 8000), "Model C"}, {"short.wav", Wav(8000, 16, 1, 159), "Model C"},
        {"hello.wav", QByteArray(), "Model A"},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromLatin1(c.name);
        if (!c.bytes.isEmpty()) {
            ASSERT_TRUE(WriteFileBytes(m_Work + QLatin1Char('/') + name, c.bytes));
        }
        EXPECT_EQ(Convert(name, QString::fromLatin1(c.profile)), 1) << c.name;
        EXPECT_TRUE(Written().isEmpty()) << c.name << " " << Written().join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(Log().trimmed().isEmpty()) << c.name;
    }
    EXPECT_TRUE(Log().contains("No converter of this phone writes VOX files."));
}

TEST_F(PlexaProgram, ShortSoundIsNamedAsSuch)
{
    ASSERT_TRUE(WriteFileBytes(m_Work + QStringLiteral("/short.wav"), Wav(8000, 16, 1, 100)));
    EXPECT_EQ(Convert(QStringLiteral("short.wav"), QStringLiteral("Model C")), 1);
    EXPECT_TRUE(Log().contains("The sound is shorter than one 20 ms frame"));
}

// What common tools write for high rates or many bits: the extensible format with the PCM sub-format. It is PCM,
// so the clip and its preview are those of the same samples with format tag 1.
TEST_F(PlexaProgram, ExtensiblePcmGivesTheSameClipAsPlainPcm)
{
    const struct
    {
        const char* name;
        int channels;
        quint32 rate;
        int bits;
    } cases[] = {{"mono8k", 1, 8000, 16}, {"stereo44k", 2, 44100, 16}, {"stereo22k8", 2, 22050, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int frames = int(c.rate / 2);
        QByteArray samples(frames * c.channels * c.bits / 8, '\0');
        for (int i = 0; i < samples.size(); ++i)
            samples[i] = char((i * 37 + i / 91) & 0x7F);
        WavBuilder::Format plain;
        plain.channels = c.channels;
        plain.rate = c.rate;
        plain.bits = c.bits;
        const QString name = QString::fromLatin1(c.name);
        ASSERT_TRUE(WriteFileBytes(m_Work + QLatin1Char('/') + name + QStringLiteral(".wav"),
                                   WavBuilder::Canonical(plain, samples)));
        ASSERT_TRUE(WriteFileBytes(m_Work + QLatin1Char('/') + name + QStringLiteral("x.wav"),
                                   WavBuilder::Canonical(WavBuilder::Extensible(c.channels, c.rate, c.bits), samples)));
        ASSERT_EQ(Convert(name + QStringLiteral(".wav"), QStringLiteral("Model C")), 0) << Log().constData();
        ASSERT_EQ(Convert(name + QStringLiteral("x.wav"), QStringLiteral("Model C")), 0) << Log().constData();
        const QString out = m_Work + QStringLiteral("/out/") + name;
        const QByteArray vox = ReadFileBytes(out + QStringLiteral(".VOX"));
        ASSERT_TRUE(vox.startsWith(".VOX"));
        EXPECT_EQ(ReadFileBytes(out + QStringLiteral("x.VOX")), vox);
        EXPECT_EQ(ReadFileBytes(out + QStringLiteral("x_previewVOX.WAV")),
                  ReadFileBytes(out + QStringLiteral("_previewVOX.WAV")));
    }
}
