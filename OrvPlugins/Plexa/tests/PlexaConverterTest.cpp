// The converter as the host drives it: the authored parameter file, the
// profile filtering, Convert with its output chunk, preview and failures,
// progress, and the debug files.
#include "PlexaTestSupport.h"

#include "MessageCapture.h"

#include "VoxVocoders.h"

#include "Documents/CDocumentAbstract.h"
#include "Parameters/CEnumType.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Wave/CDocumentWave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace PlexaTest;

namespace {
std::unique_ptr<CDocumentWave> Wave(const Samples& samples, uint32_t rate = 8000,
                                    const QString& name = QStringLiteral("/clips/Hello.wav"))
{
    std::unique_ptr<CDocumentWave> wave(new CDocumentWave(name));
    const QByteArray bytes = SampleBytes(samples);
    wave->SetHeader(PcmHeader(rate, 16, 1, 1, uint32_t(bytes.size())).constData());
    wave->SetInputData(bytes.constData(), uint(bytes.size()));
    return wave;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList VocoderValues(CParameters& parameters)
{
    return parameters.GetEnumParameter(QStringLiteral("VocoderTypeName"))->GetEnumType()->GetValues();
}

struct Converter
{
    explicit Converter(const char* model = "Model_C")
    {
        parametersLoaded = parameters.Load(SourcePath("data/app/Plugins/Parameters/VoxParameters.xml"));
        profileLoaded =
            profile.Load(SourcePath("data/app/Profiles/") + QString::fromLatin1(model) + QStringLiteral(".xml"));
        plexa.SetParameters(&parameters);
        plexa.SetProfile(&profile);
    }

    QByteArray Run(CDocument* document)
    {
        plexa.ClearRawData();
        converted = plexa.Convert(document);
        return plexa.GetRawDataList().isEmpty() ? QByteArray() : plexa.GetRawDataList().first();
    }

    void Set(const char* vocoder, bool noDtx = true, bool debug = false)
    {
        parameters.GetEnumParameter(QStringLiteral("VocoderTypeName"))->mValue = QString::fromLatin1(vocoder);
        parameters.GetBoolParameter(QStringLiteral("EncodeNoDTX"))->mValue = noDtx;
        parameters.GetBoolParameter(QStringLiteral("GenerateDebugFiles"))->mValue = debug;
    }

    CDocumentWave* Preview() const
    {
        CDocument* preview = plexa.GetPreviewDocument();
        return preview && preview->GetDocType() == CDocument::WAVE ? static_cast<CDocumentWave*>(preview) : nullptr;
    }

    QString Detailed() { return plexa.GetConversionLog()->GetDetailedText(); }

    CParameters parameters;
    CProfile profile;
    CPlexa plexa;
    bool parametersLoaded = false;
    bool profileLoaded = false;
    bool converted = false;
    MessageCapture messages;
};

class PlexaConverter : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(LoadLanguage()); }
};
} // namespace

TEST_F(PlexaConverter, ParameterFileDeclaresTheVocodersInTableOrder)
{
    Converter c;
    ASSERT_TRUE(c.parametersLoaded);
    EXPECT_EQ(VocoderValues(c.parameters),
              QStringList({QStringLiteral("gsm_fr"), QStringLiteral("gsm_efr"), QStringLiteral("gsm_hr"),
                           QStringLiteral("gsm_amr_475"), QStringLiteral("gsm_amr_515"), QStringLiteral("gsm_amr_59"),
                           QStringLiteral("gsm_amr_67"), QStringLiteral("gsm_amr_74"), QStringLiteral("gsm_amr_795"),
                           QStringLiteral("gsm_amr_102"), QStringLiteral("gsm_amr_122")}));
    EXPECT_EQ(c.parameters.GetEnumParameter(QStringLiteral("VocoderTypeName"))->GetValue(),
              QStringLiteral("gsm_amr_122"));
    EXPECT_FALSE(c.parameters.GetBoolParameter(QStringLiteral("EncodeNoDTX"))->mValue);
    EXPECT_FALSE(c.parameters.GetBoolParameter(QStringLiteral("GenerateDebugFiles"))->mValue);
    EXPECT_EQ(c.plexa.GetParametersFileName(), QStringLiteral("VoxParameters.xml"));
    EXPECT_EQ(c.plexa.GetExportExtension(), QStringLiteral("VOX"));
    EXPECT_EQ(c.plexa.GetDocumentType(), int(CDocument::WAVE));
    EXPECT_EQ(c.plexa.GetPreviewDocumentType(), int(CDocument::WAVE));
}

TEST_F(PlexaConverter, PhoneTakesClipsOnlyWithVoxCompatible)
{
    for (const auto& model :
         {std::make_pair("Model_A", 0), std::make_pair("Model_B", 1), std::make_pair("Model_C", 1)}) {
        Converter c(model.first);
        ASSERT_TRUE(c.profileLoaded);
        EXPECT_EQ(c.plexa.IsCompatibleWithProfile(&c.profile), model.second) << model.first;
    }
    CProfile empty;
    Converter c;
    EXPECT_EQ(c.plexa.IsCompatibleWithProfile(&empty), 0);
    EXPECT_EQ(c.plexa.IsCompatibleWithProfile(nullptr), 0);
}

TEST_F(PlexaConverter, ProfileFilteringKeepsThePhonesVocoders)
{
    Converter c("Model_B");
    c.plexa.FilterParametersWithProfile(&c.parameters, &c.profile, 1);
    // The default 12.2 is not among Model B's: the first compatible row wins.
    EXPECT_EQ(c.parameters.GetEnumParameter(QStringLiteral("VocoderTypeName"))->GetValue(), QStringLiteral("gsm_hr"));
    EXPECT_EQ(VocoderValues(c.parameters),
              QStringList({QStringLiteral("gsm_hr"), QStringLiteral("gsm_amr_475"), QStringLiteral("gsm_amr_515"),
                           QStringLiteral("gsm_amr_59"), QStringLiteral("gsm_amr_67"), QStringLiteral("gsm_amr_74"),
                           QStringLiteral("gsm_amr_795")}));
    EXPECT_TRUE(CPlexa::IsRowCompatible(2));
    EXPECT_FALSE(CPlexa::IsRowCompatible(10));
    c.plexa.FilterParametersWithProfile(&c.parameters, &c.profile, 0);
    EXPECT_EQ(VocoderValues(c.parameters).size(), 11);

    // A kept compatible value stays.
    Converter keep("Model_C");
    c.plexa.FilterParametersWithProfile(&keep.parameters, &keep.profile, 1);
    EXPECT_EQ(keep.parameters.GetEnumParameter(QStringLiteral("VocoderTypeName"))->GetValue(),
              QStringLiteral("gsm_amr_122"));
    EXPECT_EQ(VocoderValues(keep.parameters).size(), 8);
}

TEST_F(PlexaConverter, ProfileWithOnlyHalfRateSelectsIt)
{
    Converter c("Model_C");
    for (int row = 0; row < kVocoderCompatibilityRows; ++row)
        c.profile.GetBoolParameter(CompatibilityKey(row))->mValue = row == 2;
    c.plexa.FilterParametersWithProfile(&c.parameters, &c.profile, 1);
    EXPECT_EQ(VocoderValues(c.parameters), QStringList({QStringLiteral("gsm_hr")}));
    EXPECT_EQ(c.parameters.GetEnumParameter(QStringLiteral("VocoderTypeName"))->GetValue(), QStringLiteral("gsm_hr"));

    // None compatible: the value is kept, there is nothing better to offer.
    Converter none("Model_A");
    none.plexa.FilterParametersWithProfile(&none.parameters, &none.profile, 1);
    EXPECT_EQ(none.parameters.GetEnumParameter(QStringLiteral("VocoderTypeName"))->GetValue(),
              QStringLiteral("gsm_amr_122"));
}

TEST_F(PlexaConverter, ConvertsWholeFramesAndDecodesThePreview)
{
    Converter c;
    c.Set("gsm_amr_122");
    Samples samples = SpeechLike(1);
    samples.resize(1000);
    std::unique_ptr<CDocumentWave> wave = Wave(samples);
    const QByteArray vox = c.Run(wave.get());
    ASSERT_TRUE(c.converted) << c.Detailed().toStdString();
    // The last 40 samples make no whole frame.
    EXPECT_EQ(MessagesOf(vox).size(), 6u);
    EXPECT_EQ(vox.size(), 4 + 6 * 34);
    ASSERT_TRUE(c.Preview());
    EXPECT_EQ(c.Preview()->m_WAVEheader.data_ckSize, 960u * 2);
    EXPECT_EQ(c.Preview()->m_WAVEheader.nSamplesPerSec, 8000u);
    EXPECT_FALSE(wave->HasOutputData()) << "the resampled samples are released";
    const DecodeResult expected = Decode(vox);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(c.Preview()->m_pInputData), 1920), expected.wav.mid(44));
}

TEST_F(PlexaConverter, SourceAtAnotherRateIsBroughtTo8000Hz)
{
    Converter c;
    c.Set("gsm_amr_475", false);
    Samples samples = SpeechLike(6);
    samples.resize(44100);
    std::unique_ptr<CDocumentWave> wave = Wave(samples, 22050);
    const QByteArray vox = c.Run(wave.get());
    ASSERT_TRUE(c.converted) << c.Detailed().toStdString();
    // 2 s at 8000 Hz: 16000 samples, a hundred frames.
    EXPECT_NEAR(double(MessagesOf(vox).size()), 100.0, 1.0);
}

TEST_F(PlexaConverter, FailuresLeaveNeitherChunkNorPreview)
{
    struct Case
    {
        const char* vocoder;
        Samples samples;
        const char* id;
    };
    const Case cases[] = {
        {"gsm_amr_122", Constant(159, 100), "id_sound_too_short"},
        {"gsm_amr_122", Samples(), "id_sound_too_short"},
        {"gsm_fr", Constant(1000, 100), "id_vocoder_not_implemented"},
        {"gsm_efr", Constant(1000, 100), "id_vocoder_not_implemented"},
    };
    for (const Case& k : cases) {
        Converter c;
        c.Set("gsm_amr_122");
        std::unique_ptr<CDocumentWave> first = Wave(Constant(400, 100));
        c.Run(first.get());
        ASSERT_TRUE(c.Preview());
        c.Set(k.vocoder);
        std::unique_ptr<CDocumentWave> wave = Wave(k.samples);
        c.plexa.GetConversionLog()->AddText(CConversionLog::CLEAR | 3, QString());
        EXPECT_TRUE(c.Run(wave.get()).isEmpty()) << k.id;
        EXPECT_FALSE(c.converted) << k.id;
        EXPECT_TRUE(c.plexa.GetRawDataList().isEmpty()) << k.id;
        EXPECT_EQ(c.plexa.GetPreviewDocument(), nullptr) << k.id;
        EXPECT_EQ(c.Detailed(), LogLine(k.id)) << k.id;
        EXPECT_FALSE(wave->HasOutputData()) << k.id;
    }
}

TEST_F(PlexaConverter, RefusesWithoutParametersProfileOrWave)
{
    std::unique_ptr<CDocumentWave> wave = Wave(Constant(1000, 100));
    {
        Converter c;
        c.plexa.SetParameters(nullptr);
        EXPECT_FALSE(c.plexa.Convert(wave.get()));
        EXPECT_EQ(c.messages.Warnings().size(), 1);
        EXPECT_TRUE(c.messages.Warnings().value(0).contains(QStringLiteral("GetParameters()")));
        EXPECT_TRUE(c.plexa.GetRawDataList().isEmpty());
    }
    {
        Converter c;
        c.plexa.SetProfile(nullptr);
        EXPECT_FALSE(c.plexa.Convert(wave.get()));
        EXPECT_TRUE(c.messages.Warnings().value(0).contains(QStringLiteral("GetProfile()")));
        EXPECT_TRUE(c.plexa.GetRawDataList().isEmpty());
    }
    Converter c;
    CDocumentAbstract bytes;
    EXPECT_FALSE(c.plexa.Convert(&bytes));
    EXPECT_EQ(c.Detailed(), LogLine("id_document_not_compatible"));
    EXPECT_FALSE(c.plexa.Convert(nullptr));
}

TEST_F(PlexaConverter, ReportsProgressOncePerFrame)
{
    Converter c;
    c.Set("gsm_amr_122");
    QList<int> values;
    QObject::connect(&c.plexa, &CPluginBase::SetProgress, [&](const QString text, int value) {
        EXPECT_EQ(text, QStringLiteral("Processing"));
        values << value;
    });
    std::unique_ptr<CDocumentWave> wave = Wave(Constant(160 * 250, 100));
    c.Run(wave.get());
    ASSERT_TRUE(c.converted);
    ASSERT_EQ(values.size(), 250);
    EXPECT_EQ(values.first(), 0);
    EXPECT_EQ(values.last(), 100);
    // "%d done" only when the percentage moves.
    EXPECT_EQ(c.messages.DebugLines().filter(QStringLiteral(" done")).size(), 101);
}

TEST_F(PlexaConverter, DebugFilesHoldTheClipThePreviewAndTheTrace)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString debug = dir.path() + QStringLiteral("/Debug");
    ASSERT_TRUE(QDir().mkpath(debug));
    QFile keep(debug + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.close();
    QFile stale(debug + QStringLiteral("/PreviewVox.wav"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("stale");
    stale.close();

    Converter c;
    c.Set("gsm_amr_122", true, true);
    std::unique_ptr<CDocumentWave> wave = Wave(Constant(320, 8), 8000, dir.path() + QStringLiteral("/Hello.wav"));
    const QByteArray vox = c.Run(wave.get());
    ASSERT_TRUE(c.converted);
    EXPECT_EQ(c.plexa.GetDebugFolder(), debug);
    EXPECT_EQ(ReadFile(debug + QStringLiteral("/out.vox")), vox);
    EXPECT_EQ(ReadFile(debug + QStringLiteral("/PreviewVox.wav")), Decode(vox).wav);
    const QByteArray trace = ReadFile(debug + QStringLiteral("/TraceVox.txt"));
    EXPECT_TRUE(trace.startsWith("########  Frame #0 #######\nmsg_length   : 17\n"));
    EXPECT_TRUE(trace.contains("########  Frame #1 #######\n"));
    EXPECT_TRUE(trace.endsWith(QByteArray("###########################\n\n") + '\0'));
    EXPECT_TRUE(QFile::exists(debug + QStringLiteral("/notes.txt")));

    // A failed conversion leaves its messages in the trace.
    c.Set("gsm_fr", true, true);
    c.Run(wave.get());
    EXPECT_FALSE(c.converted);
    EXPECT_FALSE(QFile::exists(debug + QStringLiteral("/out.vox")));
    EXPECT_TRUE(
        ReadFile(debug + QStringLiteral("/TraceVox.txt")).contains(LogLine("id_vocoder_not_implemented").toLatin1()));
    EXPECT_TRUE(QFile::exists(debug + QStringLiteral("/notes.txt")));
}
