// Header creation, parsing, checks and the bytes written to WAV files.
#include "WaveTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

using namespace WaveTest;

namespace {
const unsigned char kHeader22050Mono16[44] = {'R',  'I',  'F', 'F', 36,  0,  0, 0, 'W', 'A', 'V',
                                              'E',  'f',  'm', 't', ' ', 16, 0, 0, 0,   1,   0, // PCM
                                              1,    0,                                          // mono
                                              0x22, 0x56, 0,   0,                               // 22050 Hz
                                              0x44, 0xAC, 0,   0, // 44100 bytes per second
                                              2,    0,            // block align
                                              16,   0,            // bits per sample
                                              'd',  'a',  't', 'a', 0,   0,  0, 0};

struct ParsedWave
{
    bool ok = false;
    int error = -1;
    WAVEHEADER header{};
    unsigned int offset = 0;
};

ParsedWave Parse(const QByteArray& bytes)
{
    ParsedWave parsed;
    parsed.ok = CDocumentWave::ReadHeader(bytes, parsed.error, parsed.header, parsed.offset);
    return parsed;
}
} // namespace

TEST(WaveHeader, Created22050Mono16MatchesTheCanonicalBytes)
{
    CDocumentWave wave;
    ASSERT_TRUE(wave.CreateHeader(22050, 16, 1));
    EXPECT_EQ(std::memcmp(&wave.m_WAVEheader, kHeader22050Mono16, 44), 0);
    EXPECT_EQ(CDocumentWave::CheckHeader(wave.m_WAVEheader), 0);
    EXPECT_EQ(CDocumentWave::CheckFormat(wave.m_WAVEheader), 1);
    EXPECT_EQ(wave.GetDocType(), int(CDocument::WAVE));
}

TEST(WaveHeader, SavedInputWaveIsHeaderThenSamples)
{
    QTemporaryDir dir;
    CDocumentWave wave;
    ASSERT_TRUE(wave.CreateHeader(22050, 16, 1));
    ASSERT_EQ(wave.AppendSilence(0), 0u);
    ASSERT_TRUE(wave.SaveInputWave(dir.filePath(QStringLiteral("empty.wav"))));
    EXPECT_EQ(ReadFileBytes(dir.filePath(QStringLiteral("empty.wav"))),
              QByteArray(reinterpret_cast<const char*>(kHeader22050Mono16), 44));

    // 2000 Hz at 8000 Hz is a quarter turn per sample.
    CDocumentWave tone;
    ASSERT_TRUE(tone.CreateHeader(8000, 16, 1));
    ASSERT_EQ(tone.AppendTone(2000.0, 1.0, 1), 8u);
    ASSERT_TRUE(tone.SaveInputWave(dir.filePath(QStringLiteral("tone.wav"))));
    const QByteArray bytes = ReadFileBytes(dir.filePath(QStringLiteral("tone.wav")));
    ASSERT_EQ(bytes.size(), 44 + 16);
    const QByteArray expected = QByteArray::fromHex("52494646"
                                                    "34000000"
                                                    "57415645"
                                                    "666d7420"
                                                    "10000000"
                                                    "0100"
                                                    "0100"
                                                    "401f0000"
                                                    "803e0000"
                                                    "0200"
                                                    "1000"
                                                    "64617461"
                                                    "10000000"
                                                    "0000"
                                                    "ff7f"
                                                    "0000"
                                                    "0180"
                                                    "0000"
                                                    "ff7f"
                                                    "0000"
                                                    "0180");
    EXPECT_EQ(bytes, expected);
}

TEST(WaveHeader, CreateHeaderRefusesUnsupportedFormats)
{
    struct Case
    {
        unsigned rate;
        int bits;
        int channels;
        bool valid;
    };
    const Case cases[] = {
        {8000, 8, 1, true},    {96000, 16, 2, true},  {44100, 8, 2, true},   {32000, 16, 1, false},
        {22050, 24, 1, false}, {22050, 16, 3, false}, {22050, 16, 0, false},
    };
    for (const Case& c : cases) {
        CDocumentWave wave;
        EXPECT_EQ(wave.CreateHeader(c.rate, c.bits, c.channels), c.valid) << c.rate << " " << c.bits;
        EXPECT_EQ(wave.m_WAVEheader.nBlockAlign, uint16_t(c.bits * c.channels / 8));
        EXPECT_EQ(wave.m_WAVEheader.nAvgBytesPerSec, c.rate * unsigned(c.bits * c.channels / 8));
    }
}

TEST(WaveHeader, CheckHeaderNamesTheFirstMissingTag)
{
    CDocumentWave wave;
    wave.CreateHeader(8000, 8, 1);
    struct Case
    {
        size_t offset;
        int code;
    };
    const Case cases[] = {{0, 1}, {8, 2}, {12, 3}, {36, 4}};
    for (const Case& c : cases) {
        WAVEHEADER header = wave.m_WAVEheader;
        reinterpret_cast<char*>(&header)[c.offset] = 'x';
        EXPECT_EQ(CDocumentWave::CheckHeader(header), c.code);
    }
    WAVEHEADER blank{};
    EXPECT_EQ(CDocumentWave::CheckHeader(blank), 1);
}

TEST(WaveHeader, CheckFormatMasksEveryFailure)
{
    WAVEHEADER header{};
    header.wFormatTag = 1;
    header.nChannels = 2;
    header.nSamplesPerSec = 11025;
    header.nBitsPerSample = 8;
    EXPECT_EQ(CDocumentWave::CheckFormat(header), 1);
    header.nSamplesPerSec = 32000;
    EXPECT_EQ(CDocumentWave::CheckFormat(header), 2);
    header.nChannels = 6;
    header.nBitsPerSample = 24;
    header.wFormatTag = 3;
    EXPECT_EQ(CDocumentWave::CheckFormat(header), 2 | 4 | 8 | 16);
}

TEST(WaveHeader, ReadsAPlainFileAndPointsAtTheSamples)
{
    const QByteArray samples = Samples16({1, -2, 3});
    const QByteArray file = MakeWav(WavFields{}, samples);
    const ParsedWave parsed = Parse(file);
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.error, 0);
    EXPECT_EQ(parsed.offset, 44u);
    EXPECT_EQ(parsed.header.data_ckSize, 6u);
    EXPECT_EQ(std::memcmp(&parsed.header, file.constData(), 44), 0);
}

TEST(WaveHeader, FindsTagsWhereverTheyStand)
{
    WavFields longFormat;
    longFormat.fmtSize = 18;
    WavFields listChunk;
    listChunk.chunkBeforeData = QByteArray("LIST\x04\x00\x00\x00info", 12);
    for (const WavFields& fields : {longFormat, listChunk}) {
        const QByteArray samples = Samples16({100, 200});
        const QByteArray file = MakeWav(fields, samples);
        const ParsedWave parsed = Parse(file);
        ASSERT_TRUE(parsed.ok);
        EXPECT_EQ(parsed.offset, unsigned(file.size() - samples.size()));
        EXPECT_EQ(parsed.header.nSamplesPerSec, 22050u);
        EXPECT_EQ(parsed.header.data_ckSize, 4u);

        CDocumentWave wave;
        wave.SetHeader(&parsed.header);
        ASSERT_EQ(wave.SetInputData(file.constData() + parsed.offset, parsed.header.data_ckSize), 4u);
        EXPECT_EQ(InputSamples16(wave), (std::vector<int>{100, 200}));
    }
}

TEST(WaveHeader, ReportsTheLastFailingFormatTest)
{
    struct Case
    {
        uint16_t tag;
        uint16_t channels;
        uint32_t rate;
        uint16_t bits;
        int error;
    };
    const Case cases[] = {
        {1, 1, 32000, 16, 1}, // rate
        {2, 1, 22050, 16, 2}, // not PCM
        {1, 3, 22050, 16, 3}, // channels
        {1, 2, 22050, 24, 4}, // sample size
        {2, 1, 32000, 16, 2}, // rate and PCM: PCM comes later
        {2, 4, 32000, 12, 2}, // everything: another format is named first, its other fields mean other things
        {1, 4, 32000, 12, 4}, // everything else: the sample size before the channels and the rate
        {3, 1, 22050, 32, 2}, // 32-bit float: the format, not the size
        {1, 6, 5000, 16, 3},
    };
    for (const Case& c : cases) {
        WavFields fields;
        fields.formatTag = c.tag;
        fields.channels = c.channels;
        fields.rate = c.rate;
        fields.bits = c.bits;
        const ParsedWave parsed = Parse(MakeWav(fields, Samples16({0, 0, 0, 0, 0, 0})));
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.error, c.error) << c.tag << " " << c.channels << " " << c.rate << " " << c.bits;
    }
}

TEST(WaveHeader, BytesWithoutRiffWaveStructureGiveError5)
{
    MessageCapture capture;
    const QByteArray inputs[] = {
        QByteArray(),
        QByteArray("R", 1),
        QByteArray("RIFF"),
        QByteArray("RIFFx"),
        QByteArray("RIFF\0\0\0\0WAVEfmt ", 16),
        QByteArray(200, '\0'),
        MakeWav(WavFields{}, QByteArray()).left(36), // no data tag
    };
    for (const QByteArray& input : inputs) {
        const ParsedWave parsed = Parse(input);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.error, 5) << input.toHex().constData();
    }
    // The empty input trips the entry check, and only it does.
    EXPECT_EQ(capture.Warnings().size(), 1);
}

TEST(WaveHeader, TinyInputsNeverReadPastTheirEnd)
{
    // Every prefix of a valid file: the scan and the copies stay inside it.
    const QByteArray file = MakeWav(WavFields{}, Samples16({7, 8}));
    MessageCapture capture;
    for (int n = 0; n <= file.size(); ++n) {
        const QByteArray prefix(file.constData(), n); // an exact-size heap copy
        const ParsedWave parsed = Parse(prefix);
        if (parsed.ok) {
            EXPECT_LE(qsizetype(parsed.offset) + qsizetype(parsed.header.data_ckSize), prefix.size());
            EXPECT_EQ(parsed.header.data_ckSize % 2, 0u);
        }
    }
}

TEST(WaveHeader, DataSizePastTheEndIsCutToWholeFrames)
{
    struct Case
    {
        uint16_t channels;
        uint16_t bits;
        int present;
        int64_t declared;
        uint32_t kept;
    };
    const Case cases[] = {
        {1, 16, 7, 1000, 6},                                         // odd byte dropped
        {2, 16, 11, 4096, 8},                                        // two whole stereo frames
        {2, 8, 5, 0xFFFFFFFF, 4}, {1, 8, 3, 4, 3}, {2, 16, 3, 8, 0}, // not even one frame
        {1, 16, 8, 8, 8},                                            // exact: untouched
        {1, 16, 8, 5, 5},                                            // shorter than the file: untouched, odd or not
    };
    for (const Case& c : cases) {
        WavFields fields;
        fields.channels = c.channels;
        fields.bits = c.bits;
        fields.dataSize = c.declared;
        const QByteArray file = MakeWav(fields, QByteArray(c.present, '\x11'));
        const ParsedWave parsed = Parse(file);
        ASSERT_TRUE(parsed.ok);
        EXPECT_EQ(parsed.header.data_ckSize, c.kept) << c.present << " of " << c.declared;

        CDocumentWave wave;
        wave.SetHeader(&parsed.header);
        EXPECT_EQ(wave.SetInputData(file.constData() + parsed.offset, parsed.header.data_ckSize), c.kept);
        wave.ConvertFormat(1, 16, fields.rate);
        ASSERT_TRUE(wave.HasOutputData());
        EXPECT_EQ(wave.m_OutputWAVEheader.data_ckSize, c.kept / (c.channels * c.bits / 8u) * 2u);
        wave.FreeOutputData();
    }
}

TEST(WaveHeader, ZeroBlockAlignDoesNotMatter)
{
    WavFields fields;
    fields.channels = 2;
    fields.blockAlign = 0;
    const QByteArray file = MakeWav(fields, Samples16({10, 20, -10, -20, 4, 6}));
    const ParsedWave parsed = Parse(file);
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.header.nBlockAlign, 0);

    CDocumentWave wave;
    wave.SetHeader(&parsed.header);
    wave.SetInputData(file.constData() + parsed.offset, parsed.header.data_ckSize);
    wave.ConvertFormat(1, 16, 22050);
    ASSERT_TRUE(wave.HasOutputData());
    EXPECT_EQ(OutputSamples16(wave), (std::vector<int>{15, -15, 5}));
    wave.FreeOutputData();

    // What is written again carries a block align of its own.
    QTemporaryDir dir;
    ASSERT_TRUE(wave.SaveInputWave(dir.filePath(QStringLiteral("align.wav"))));
    const QByteArray saved = ReadFileBytes(dir.filePath(QStringLiteral("align.wav")));
    ASSERT_EQ(saved.size(), 44 + 12);
    EXPECT_EQ(uchar(saved[32]), 4);
    EXPECT_EQ(uchar(saved[28]) | uchar(saved[29]) << 8 | uchar(saved[30]) << 16, 22050 * 4);
}

TEST(WaveHeader, LongFormatChunkIsWrittenBackCanonical)
{
    WavFields fields;
    fields.fmtSize = 18;
    const QByteArray file = MakeWav(fields, Samples16({1, 2, 3}));
    const ParsedWave parsed = Parse(file);
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.header.fmt_ckSize, 18u);

    CDocumentWave wave;
    wave.SetHeader(&parsed.header);
    wave.SetInputData(file.constData() + parsed.offset, parsed.header.data_ckSize);
    QTemporaryDir dir;
    ASSERT_TRUE(wave.SaveInputWave(dir.filePath(QStringLiteral("canonical.wav"))));
    EXPECT_EQ(ReadFileBytes(dir.filePath(QStringLiteral("canonical.wav"))), MakeWav(WavFields{}, Samples16({1, 2, 3})));
}

TEST(WaveHeader, SavesRefuseNonPcmAndUnwritablePaths)
{
    MessageCapture capture;
    QTemporaryDir dir;
    CDocumentWave wave;
    wave.CreateHeader(8000, 16, 1);
    wave.AppendSilence(1);
    EXPECT_FALSE(wave.SaveInputWave(dir.filePath(QStringLiteral("missing/folder/x.wav"))));
    wave.m_WAVEheader.wFormatTag = 3;
    EXPECT_FALSE(wave.SaveInputWave(dir.filePath(QStringLiteral("float.wav"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("float.wav"))));
    EXPECT_FALSE(wave.SaveOutputWave(dir.filePath(QStringLiteral("none.wav"))));
    EXPECT_EQ(capture.Warnings().filter(QStringLiteral("m_pOutputData != (0L)")).size(), 1);
}

TEST(WaveHeader, HeaderOverstatingTheSamplesHeldSavesOnlyTheSamples)
{
    CDocumentWave wave;
    wave.CreateHeader(8000, 16, 1);
    wave.AppendSilence(1); // 8 samples, 16 bytes
    wave.m_WAVEheader.data_ckSize = 1000000;
    QTemporaryDir dir;
    ASSERT_TRUE(wave.SaveInputWave(dir.filePath(QStringLiteral("over.wav"))));
    const QByteArray saved = ReadFileBytes(dir.filePath(QStringLiteral("over.wav")));
    const qsizetype expectedSize = 44 + qsizetype(wave.m_ulRealAllocatedSize);
    EXPECT_EQ(saved.size(), expectedSize);
    EXPECT_EQ(uchar(saved[40]) | uchar(saved[41]) << 8, int(wave.m_ulRealAllocatedSize));
}

TEST(WaveHeader, MangledFilesGoThroughTheWholeDocumentSafely)
{
    // Random bytes over the header, random cuts, random declared sizes: every
    // file that parses is loaded, converted and saved without reading or
    // writing out of bounds.
    MessageCapture capture;
    QTemporaryDir dir;
    std::mt19937 random(99);
    const unsigned rates[] = {8000, 11025, 16000, 22050, 44100, 48000, 96000};
    for (int round = 0; round < 400; ++round) {
        WavFields fields;
        fields.channels = uint16_t(1 + random() % 2);
        fields.bits = random() % 2 ? 16 : 8;
        fields.rate = rates[random() % 7];
        fields.blockAlign = int(random() % 3) - 1;
        fields.dataSize = random() % 3 ? int64_t(random() % 5000) : -1;
        QByteArray file = MakeWav(fields, QByteArray(int(random() % 3000), char(random())));
        for (int flips = int(random() % 4); flips > 0; --flips)
            file[int(random() % 44)] = char(random());
        file.truncate(int(random() % (file.size() + 1)));

        ParsedWave parsed = Parse(file);
        if (!parsed.ok)
            continue;
        ASSERT_LE(qsizetype(parsed.offset) + parsed.header.data_ckSize, file.size());
        CDocumentWave wave;
        wave.SetHeader(&parsed.header);
        wave.SetInputData(file.constData() + parsed.offset, parsed.header.data_ckSize);
        wave.ConvertFormat(int(1 + random() % 2), random() % 2 ? 16 : 8, rates[random() % 7]);
        if (wave.HasOutputData()) {
            ASSERT_TRUE(wave.SaveOutputWave(dir.filePath(QStringLiteral("out.wav"))));
            wave.FreeOutputData();
        }
        ASSERT_TRUE(wave.SaveInputWave(dir.filePath(QStringLiteral("in.wav"))));
    }
}
