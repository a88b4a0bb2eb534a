// What the converter makes of the benchmark's ten-minute tunes, byte for byte:
// the sequence and the preview of each, and the debug copies of both, stay as
// they are while the synthesiser and the render are made cheaper.
#include "CPolyra.h"
#include "PolyraBenchTunes.h"
#include "TestBytes.h"

#include "Melody/CDocumentMidi.h"
#include "Parameters/CParameters.h"
#include "Parameters/CProfile.h"
#include "Wave/CDocumentWave.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString DataPath(const char* relative)
{
    return QString::fromUtf8(ORV_SOURCE_DIR) + QStringLiteral("/data/app/") + QString::fromLatin1(relative);
}

QByteArray Sha1(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

// The preview as a wave file: its header, then its samples.
QByteArray WaveFileOf(const CDocumentWave& wave)
{
    return QByteArray(reinterpret_cast<const char*>(&wave.m_WAVEheader), sizeof wave.m_WAVEheader)
           + QByteArray(reinterpret_cast<const char*>(wave.m_pInputData), qsizetype(wave.m_WAVEheader.data_ckSize));
}

struct PinnedTune
{
    const char* name;
    QByteArray (*midi)();
    const char* sequence;
    const char* preview;
};

#ifdef __SANITIZE_ADDRESS__
constexpr bool kFastEnough = false;
#else
constexpr bool kFastEnough = true;
#endif

TEST(PolyraBenchTunes, ConversionsKeepTheirBytes)
{
    if (!kFastEnough)
        GTEST_SKIP() << "twenty minutes of sound rendered twice take too long under the sanitizers";
    const PinnedTune tunes[] = {
        {"dense game tune", &PolyraBenchTunes::DenseGameTune, "6bd68a842ad02486e9be6bbbef1379c08d1ff540",
         "b55fbe70115b0600c4548ca94c615d0545837cfb"},
        {"tune of short notes", &PolyraBenchTunes::ShortNoteGameTune, "db37cfa1ac670b6e86120cd7e42cdf8ae4218d83",
         "41a073c484f527ae712697bc4f0a2bd6648d330e"},
    };
    CParameters parameters;
    CProfile profile;
    ASSERT_TRUE(parameters.Load(DataPath("Plugins/Parameters/MSEQParameters.xml")));
    ASSERT_TRUE(profile.Load(DataPath("Profiles/Model_C.xml")));
    for (const PinnedTune& tune : tunes) {
        SCOPED_TRACE(tune.name);
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QByteArray midi = tune.midi();
        CDocumentMidi document;
        document.SetRawData(reinterpret_cast<const unsigned char*>(midi.constData()), unsigned(midi.size()));
        document.SetName(folder.filePath(QStringLiteral("tune.mid")));
        CPolyra converter;
        converter.SetParameters(&parameters);
        converter.SetProfile(&profile);
        ASSERT_TRUE(converter.Convert(&document)) << converter.GetConversionLog()->GetSummaryText().toStdString();

        ASSERT_EQ(converter.GetRawDataList().size(), 1);
        const QByteArray sequence = converter.GetRawDataList().first();
        const auto* preview = static_cast<const CDocumentWave*>(converter.GetPreviewDocument());
        ASSERT_NE(preview, nullptr);
        const QByteArray wave = WaveFileOf(*preview);
        EXPECT_EQ(Sha1(sequence), QByteArray(tune.sequence));
        EXPECT_EQ(Sha1(wave), QByteArray(tune.preview));
        // Ten minutes of sound at 8000 Hz, a little more with the release of
        // the last notes and the time base's rounding.
        const double seconds = preview->m_WAVEheader.data_ckSize / 2 / 8000.0;
        EXPECT_GE(seconds, 600.0);
        EXPECT_LT(seconds, 602.0);
        EXPECT_TRUE(ReadFileBytes(folder.filePath(QStringLiteral("Debug/Out.seq"))) == sequence);
        EXPECT_TRUE(ReadFileBytes(folder.filePath(QStringLiteral("Debug/Preview.wav"))) == wave);
    }
}

} // namespace
