// WAV files built byte by byte, next to the wave documents they must give.
#include "CSonra.h"
#include "PluginLibraryCheck.h"
#include "WavBuilder.h"

#include "Wave/CDocumentWave.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

using namespace WavBuilder;

namespace {
class SonraImport : public ImporterTest
{
protected:
    // The imported wave, or null; the importer's summary goes to m_Summary.
    std::unique_ptr<CDocumentWave> Import(const QByteArray& bytes)
    {
        return ImportAs<CDocumentWave, CSonra>(bytes, CDocument::WAVE, m_Summary);
    }

    static QByteArray InputOf(const CDocumentWave& wave)
    {
        return QByteArray(reinterpret_cast<const char*>(wave.m_pInputData), int(wave.m_WAVEheader.data_ckSize));
    }

    // The 44 header bytes as the document keeps them.
    static QByteArray HeaderOf(const CDocumentWave& wave)
    {
        return QByteArray(reinterpret_cast<const char*>(&wave.m_WAVEheader), 44);
    }

    std::string m_Summary;
};
} // namespace

TEST_F(SonraImport, CanonicalFileKeepsItsHeaderAndSamples)
{
    Format mono;
    const QByteArray bytes = Canonical(mono, Samples(100));
    auto wave = Import(bytes);
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(HeaderOf(*wave), bytes.left(44));
    EXPECT_EQ(InputOf(*wave), bytes.mid(44));
    // The samples are the file's own bytes, not a copy: a long sound is held once.
    EXPECT_EQ(wave->m_pInputData, reinterpret_cast<const unsigned char*>(bytes.constData()) + 44);
    EXPECT_TRUE(m_Summary.empty());
    SaveSeed(QStringLiteral("canonical.wav"), bytes);
}

// Whatever surrounds the two chunks, the document holds the canonical header of
// the format, with block align and byte rate worked out from channels and bits.
TEST_F(SonraImport, ChunkChainIsFollowed)
{
    Format stereo;
    stereo.channels = 2;
    stereo.rate = 8000;
    Format odd = stereo;
    odd.blockAlign = 7;
    odd.byteRate = 3;
    odd.extra = Little(0, 2);
    const QByteArray canonicalHeader = Canonical(stereo, Samples(8)).left(44);

    struct Case
    {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"plain", Riff(FormatChunk(stereo) + Chunk("data", Samples(8)))},
        {"list-with-data-text",
         Riff(FormatChunk(stereo) + Chunk("LIST", QByteArray("INFOdata1234data")) + Chunk("data", Samples(8)))},
        {"odd-chunk-padded",
         Riff(FormatChunk(stereo) + Chunk("junk", QByteArray("data!")) + Chunk("data", Samples(8)))},
        {"long-format-wrong-align", Riff(FormatChunk(odd) + Chunk("data", Samples(8)))},
        {"data-before-format", Riff(Chunk("data", Samples(8)) + FormatChunk(stereo))},
        {"streamed-riff-size", Riff(FormatChunk(stereo) + Chunk("data", Samples(8)), 0xFFFFFFFF)},
        {"trailing-chunk", Riff(FormatChunk(stereo) + Chunk("data", Samples(8)) + Chunk("LIST", "xy"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto wave = Import(c.bytes);
        ASSERT_NE(wave, nullptr);
        EXPECT_EQ(HeaderOf(*wave), canonicalHeader);
        EXPECT_EQ(InputOf(*wave), Samples(8));
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".wav"), c.bytes);
    }
}

TEST_F(SonraImport, BrokenChainFallsBackToTheTagSearch)
{
    Format mono;
    const QByteArray file = Canonical(mono, Samples(6));
    auto wave = Import(QByteArray("junk") + file);
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(InputOf(*wave), Samples(6));

    // A chunk size that runs past the end breaks the chain before "data".
    auto skipped = Import(Riff(FormatChunk(mono) + Chunk("LIST", "ab", 1000) + Chunk("data", Samples(4))));
    ASSERT_NE(skipped, nullptr);
    EXPECT_EQ(InputOf(*skipped), Samples(4));
}

TEST_F(SonraImport, DataBeyondTheFileIsCutToTheWholeFramesPresent)
{
    Format stereo;
    stereo.channels = 2;
    for (qint64 declared : {qint64(0xFFFFFFFF), qint64(1000)}) {
        const QByteArray bytes =
            Riff(FormatChunk(stereo)) + QByteArray("data") + Little(quint32(declared), 4) + Samples(10);
        auto wave = Import(bytes);
        ASSERT_NE(wave, nullptr) << declared;
        EXPECT_EQ(wave->m_WAVEheader.data_ckSize, 8u);
        EXPECT_EQ(wave->m_WAVEheader.RIFF_ckSize, 44u);
        EXPECT_EQ(InputOf(*wave), Samples(8));
        SaveSeed(QStringLiteral("streamed-%1.wav").arg(declared), bytes);
    }
}

TEST_F(SonraImport, RefusalsNameTheirReason)
{
    auto format = [](int tag, int channels, quint32 rate, int bits) {
        Format f;
        f.tag = tag;
        f.channels = channels;
        f.rate = rate;
        f.bits = bits;
        return Canonical(f, Samples(12));
    };
    struct Case
    {
        const char* name;
        QByteArray bytes;
        const char* id;
        const char* which = nullptr; // the message's %1, if it has one
    };
    const Case cases[] = {
        {"32k", format(1, 1, 32000, 16), "id_import_wav_sampling_error"},
        {"24-bit-stereo", format(1, 2, 44100, 24), "id_import_wav_bitdepth_error"},

        // Another format is named first: a float sound's 32 bits are no fault of their own.
        {"float", format(3, 1, 8000, 32), "id_import_wav_format_error", "float (0x0003)"},
        {"three-channels", format(1, 3, 8000, 16), "id_import_wav_channel_error"},
        {"everything-wrong", format(3, 5, 1234, 12), "id_import_wav_format_error", "float (0x0003)"},
        {"everything-else-wrong", format(1, 5, 1234, 12), "id_import_wav_bitdepth_error"},
        {"no-riff", QByteArray("WAVEfmt data"), "id_import_wav_header_error"},
        {"empty", QByteArray(), "id_import_wav_header_error"},
        {"empty-data", Canonical(Format(), QByteArray()), "id_import_wav_error"},
        {"data-header-only", Riff(FormatChunk(Format())) + QByteArray("data") + Little(100, 4), "id_import_wav_error"},
        {"half-a-frame", Riff(FormatChunk(Format())) + QByteArray("data") + Little(100, 4) + "x",
         "id_import_wav_error"},
        {"no-data-chunk", format(1, 1, 8000, 16).left(36), "id_import_wav_header_error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Import(c.bytes), nullptr);
        QString text = CLanguageResources::GetMessage(QStringLiteral("CSonra"), QString::fromLatin1(c.id));
        if (c.which)
            text = text.arg(QString::fromLatin1(c.which));
        EXPECT_EQ(m_Summary, (text + QLatin1Char('\n')).toStdString());
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".wav"), c.bytes);
    }
}

// A file in the extensible format whose sub-format is PCM is PCM: the same document as with format tag 1.
TEST_F(SonraImport, ExtensiblePcmIsPcm)
{
    struct Case
    {
        const char* name;
        int channels;
        quint32 rate;
        int bits;
    };
    const Case cases[] = {
        {"mono-16", 1, 8000, 16},
        {"stereo-8", 2, 44100, 8},
        {"stereo-16-96k", 2, 96000, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Format plain;
        plain.channels = c.channels;
        plain.rate = c.rate;
        plain.bits = c.bits;
        const QByteArray samples = Samples(c.channels * c.bits / 8 * 50);
        const QByteArray extensible = Canonical(Extensible(c.channels, c.rate, c.bits), samples);
        auto expected = Import(Canonical(plain, samples));
        ASSERT_NE(expected, nullptr);
        auto wave = Import(extensible);
        ASSERT_NE(wave, nullptr) << m_Summary;
        EXPECT_EQ(HeaderOf(*wave), HeaderOf(*expected));
        EXPECT_EQ(InputOf(*wave), samples);
        EXPECT_TRUE(m_Summary.empty());
        // The same through the tag search of a file whose chunk chain is broken.
        const QByteArray broken = QByteArray("junk") + extensible;
        wave = Import(broken);
        ASSERT_NE(wave, nullptr) << m_Summary;
        EXPECT_EQ(HeaderOf(*wave), HeaderOf(*expected));
        SaveSeed(QStringLiteral("extensible-") + QString::fromLatin1(c.name) + QStringLiteral(".wav"), extensible);
    }
}

// Any other format says which one it is; the channel and sample size limits keep their own messages.
TEST_F(SonraImport, OtherFormatsSayWhichOneTheyAre)
{
    auto format = [](int tag, int channels, quint32 rate, int bits) {
        Format f;
        f.tag = tag;
        f.channels = channels;
        f.rate = rate;
        f.bits = bits;
        return f;
    };
    Format oddGuid = Extensible(1, 8000, 16);
    oddGuid.extra = ExtensibleExtra(16, 4, 0, QByteArray::fromHex("00112233445566778899AABBCCDDEEFF"));
    Format shortExtensible = format(0xFFFE, 1, 8000, 16);
    struct Case
    {
        const char* name;
        Format format;
        const char* id;
        const char* which; // the message's %1, or null
    };
    const Case cases[] = {
        {"adpcm", format(2, 1, 8000, 16), "id_import_wav_format_error", "ADPCM (0x0002)"},
        {"rate-and-tag", format(3, 1, 1234, 16), "id_import_wav_format_error", "float (0x0003)"},
        // Its 32 bits are a float's: the format is what is wrong, and it comes first.
        {"float-32-bit", format(3, 1, 8000, 32), "id_import_wav_format_error", "float (0x0003)"},
        {"float-stereo-64-bit", format(3, 2, 44100, 64), "id_import_wav_format_error", "float (0x0003)"},
        {"mu-law-8-bit", format(7, 1, 8000, 8), "id_import_wav_format_error", "mu-law (0x0007)"},
        {"unnamed-tag", format(0x50, 1, 8000, 16), "id_import_wav_format_error", "0x0050"},
        {"extensible-float", Extensible(1, 8000, 16, 3), "id_import_wav_subformat_error", "float (0x0003)"},
        {"extensible-float-32-bit", Extensible(1, 8000, 32, 3), "id_import_wav_subformat_error", "float (0x0003)"},
        {"extensible-odd-guid", oddGuid, "id_import_wav_subformat_error", "{33221100-5544-7766-8899-AABBCCDDEEFF}"},
        {"extensible-without-guid", shortExtensible, "id_import_wav_subformat_error", "0xFFFE"},
        {"extensible-24-bit", Extensible(1, 8000, 24), "id_import_wav_bitdepth_error", nullptr},
        {"extensible-six-channels", Extensible(6, 48000, 16), "id_import_wav_channel_error", nullptr},
        {"extensible-32k", Extensible(2, 32000, 16), "id_import_wav_sampling_error", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = Canonical(c.format, Samples(48));
        EXPECT_EQ(Import(bytes), nullptr);
        QString text = CLanguageResources::GetMessage(QStringLiteral("CSonra"), QString::fromLatin1(c.id));
        if (c.which)
            text = text.arg(QString::fromLatin1(c.which));
        EXPECT_EQ(m_Summary, (text + QLatin1Char('\n')).toStdString());
        SaveSeed(QString::fromLatin1(c.name) + QStringLiteral(".wav"), bytes);
    }
}

TEST_F(SonraImport, EmptyInputRaisesTheNonFatalCheck)
{
    Import(QByteArray());
    ASSERT_FALSE(m_Quiet.Lines().isEmpty());
    EXPECT_TRUE(
        m_Quiet.Lines().first().startsWith(QStringLiteral("ASSERT: \"!RawData.isNull() && !RawData.isEmpty()\"")));
}

TEST_F(SonraImport, EveryTruncationGivesWholeFramesOrARefusal)
{
    Format stereo;
    stereo.channels = 2;
    const QByteArray bytes = Riff(FormatChunk(stereo) + Chunk("LIST", "INFO") + Chunk("data", Samples(16)));
    const qsizetype dataStart = bytes.size() - 16;
    for (qsizetype length = 0; length <= bytes.size(); ++length) {
        auto wave = Import(bytes.left(length));
        const qsizetype frames = qMax<qsizetype>(0, length - dataStart) / 4;
        if (frames == 0) {
            EXPECT_EQ(wave, nullptr) << length;
            EXPECT_FALSE(m_Summary.empty());
            continue;
        }
        ASSERT_NE(wave, nullptr) << length;
        EXPECT_EQ(InputOf(*wave), Samples(int(frames * 4))) << length;
    }
}

TEST(SonraPlugin, LoadsAndAnswersLikeTheHostExpects)
{
    CheckImportPlugin(
        ORV_PLUGIN_FILE, "Sonra", 0x10000,
        {{"CSonra", CDocument::WAVE, CDocument::WAVE, "WAV", Canonical(Format(), Samples(4)), QByteArray("no sound")}});
}
