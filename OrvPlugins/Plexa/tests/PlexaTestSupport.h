#pragma once
// Shared helpers of the Plexa tests: speech-like test signals, VOX files
// built word by word, the coding routines run on plain arrays, and the
// authored data files.
#include "CPlexa.h"
#include "PlexaLog.h"
#include "VoxCodec.h"
#include "VoxFrame.h"

#include "Plugin/CConversionLog.h"
#include "Text/CLanguageResources.h"
#include "Util/CMemFile.h"

#include "WavBuilder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace PlexaTest {

typedef std::vector<int16_t> Samples;
typedef std::vector<uint16_t> Words;

inline QString SourcePath(const char* relative)
{
    return QString::fromUtf8(ORV_SOURCE_DIR) + QLatin1Char('/') + QString::fromLatin1(relative);
}

inline bool LoadLanguage()
{
    return CLanguageResources::Load(SourcePath("data/app/Languages/English.xml"));
}

// The summary line a message id leaves in the conversion log.
inline QString LogLine(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("CPlexa"), QString::fromLatin1(id)) + QLatin1Char('\n');
}

// Syllables of a few harmonics on a gliding pitch, separated by near
// silence long enough for the coder to switch to comfort noise.
inline Samples SpeechLike(int seconds, unsigned seed = 1)
{
    const int rate = 8000;
    Samples samples(size_t(seconds) * rate);
    uint32_t noise = seed;
    double phase = 0.0;
    for (size_t i = 0; i < samples.size(); ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double t = double(i) / rate;
        const double cycle = std::fmod(t, 1.3);
        const bool voiced = cycle < 0.7;
        const double pitch = 110.0 + 40.0 * std::sin(2.0 * M_PI * 0.8 * t);
        phase += 2.0 * M_PI * pitch / rate;
        double value = (int32_t(noise >> 16) - 32768) / 32768.0 * 30.0;
        if (voiced) {
            const double envelope = std::sin(M_PI * cycle / 0.7);
            double voice = 0.0;
            for (int h = 1; h <= 8; ++h)
                voice += std::sin(h * phase) / h;
            value += 6000.0 * envelope * voice;
        }
        samples[i] = int16_t(qBound(-32768.0, value, 32767.0));
    }
    return samples;
}

inline Samples Constant(size_t count, int16_t value)
{
    return Samples(count, value);
}

// The 44-byte header the encoder checks, for 16-bit mono PCM at rate.
inline QByteArray PcmHeader(uint32_t rate = 8000, uint16_t bits = 16, uint16_t channels = 1, uint16_t format = 1,
                            uint32_t dataSize = 0)
{
    WavBuilder::Format fields;
    fields.tag = format;
    fields.channels = channels;
    fields.rate = rate;
    fields.bits = bits;
    return WavBuilder::Riff(WavBuilder::FormatChunk(fields) + WavBuilder::Chunk("data", QByteArray(), dataSize),
                            quint32(36 + dataSize));
}

inline QByteArray SampleBytes(const Samples& samples)
{
    QByteArray bytes(int(samples.size() * 2), '\0');
    for (size_t i = 0; i < samples.size(); ++i) {
        bytes[int(2 * i)] = char(uint16_t(samples[i]) & 0xFF);
        bytes[int(2 * i + 1)] = char(uint16_t(samples[i]) >> 8);
    }
    return bytes;
}

inline Words WordsOf(const QByteArray& bytes, int from = 0)
{
    Words words;
    for (int i = from; i + 1 < bytes.size(); i += 2)
        words.push_back(uint16_t(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8)));
    return words;
}

inline QByteArray BytesOf(const Words& words)
{
    QByteArray bytes;
    for (uint16_t word : words) {
        bytes.append(char(word & 0xFF));
        bytes.append(char(word >> 8));
    }
    return bytes;
}

inline QByteArray VoxFile(const Words& words)
{
    return QByteArrayLiteral(".VOX") + BytesOf(words);
}

inline QByteArray Contents(const CMemFile& file)
{
    return QByteArray(reinterpret_cast<const char*>(file.GetBuffer()), int(file.GetSize()));
}

inline void Fill(CMemFile& file, const QByteArray& bytes)
{
    file.SetData(reinterpret_cast<const uchar*>(bytes.constData()), uint(bytes.size()));
    file.Rewind();
}

// Gives the coders a log for the life of the object.
class LogScope
{
public:
    LogScope() { SetCurrentLog(&mLog); }
    ~LogScope() { SetCurrentLog(nullptr); }
    QString Summary() const { return mLog.GetSummaryText(); }
    QString Detailed() const { return mLog.GetDetailedText(); }

private:
    CConversionLog mLog;
};

struct EncodeResult
{
    bool ok = false;
    QByteArray vox;
};

inline EncodeResult Encode(const Samples& samples, const char* vocoder, bool noDtx,
                           const QByteArray& header = PcmHeader())
{
    CMemFile input;
    Fill(input, SampleBytes(samples));
    CMemFile output;
    EncodeResult result;
    result.ok = EncodeVox(reinterpret_cast<const unsigned char*>(header.constData()), input, output,
                          QString::fromLatin1(vocoder), noDtx, nullptr);
    result.vox = Contents(output);
    return result;
}

struct DecodeResult
{
    bool ok = false;
    QByteArray wav;
    Samples samples;
};

inline DecodeResult Decode(const QByteArray& vox, bool trace = false)
{
    CMemFile input;
    Fill(input, vox);
    CMemFile output;
    DecodeResult result;
    result.ok = DecodeVox(input, output, trace);
    result.wav = Contents(output);
    for (int i = 44; i + 1 < result.wav.size(); i += 2)
        result.samples.push_back(int16_t(uchar(result.wav[i]) | (uchar(result.wav[i + 1]) << 8)));
    return result;
}

// One message of a VOX file: its words, header first.
typedef std::vector<Words> Messages;

inline Messages MessagesOf(const QByteArray& vox)
{
    Messages messages;
    const Words words = WordsOf(vox, 4);
    for (size_t at = 0; at < words.size();) {
        const size_t length = words[at] >> 8;
        if (length == 0 || at + length > words.size())
            break;
        messages.emplace_back(words.begin() + long(at), words.begin() + long(at + length));
        at += length;
    }
    return messages;
}

inline int RxOf(const Words& message)
{
    return (message.back() >> 5) & 7;
}

} // namespace PlexaTest
