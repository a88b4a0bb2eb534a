// Reading and checking RIFF WAVE headers.
#include "Util/Assert.h"
#include "Wave/CDocumentWave.h"

#include <algorithm>
#include <cstring>

namespace {
bool HasTag(const char* field, const char* tag)
{
    return std::memcmp(field, tag, 4) == 0;
}

// Copies up to count bytes from position pos, never past the end of the input.
void CopyClamped(unsigned char* target, const QByteArray& bytes, qsizetype pos, qsizetype count)
{
    const qsizetype available = std::min(count, bytes.size() - pos);
    if (available > 0)
        std::memcpy(target, bytes.constData() + pos, size_t(available));
}

bool IsSupportedRate(uint32_t rate)
{
    static const uint32_t kRates[] = {8000, 11025, 16000, 22050, 44100, 48000, 96000};
    return std::find(std::begin(kRates), std::end(kRates), rate) != std::end(kRates);
}
} // namespace

bool CDocumentWave::ReadHeader(const QByteArray& RawData, int& error, WAVEHEADER& header, unsigned int& dataOffset,
                               WaveSampleFormat* sampleFormat)
{
    ASSERT(!RawData.isNull() && !RawData.isEmpty());
    std::memset(&header, 0, sizeof header);
    dataOffset = 0;

    // The first occurrence of each tag wins, wherever it stands, so that longer
    // format chunks and chunks before the data are accepted.
    unsigned char* target = reinterpret_cast<unsigned char*>(&header);
    const qsizetype size = RawData.size();
    const char* bytes = RawData.constData();
    bool bRiff = false, bFmt = false, bData = false;
    qsizetype dataStart = size;
    qsizetype fmtStart = -1;
    for (qsizetype pos = 0; pos + 5 <= size && !(bRiff && bFmt && bData); ++pos) {
        const char* at = bytes + pos;
        if (!bRiff && HasTag(at, "RIFF")) {
            CopyClamped(target, RawData, pos, 12);
            bRiff = true;
        } else if (!bFmt && HasTag(at, "fmt ")) {
            CopyClamped(target + 12, RawData, pos, 24);
            bFmt = true;
            fmtStart = pos;
        } else if (!bData && HasTag(at, "data")) {
            CopyClamped(target + 36, RawData, pos, 8);
            bData = true;
            dataStart = std::min(pos + 8, size);
        }
    }
    dataOffset = unsigned(std::min<qsizetype>(dataStart, UINT32_MAX));
    // The extensible format with the PCM sub-format holds PCM samples like format tag 1.
    const WaveSampleFormat stated = ReadWaveSampleFormat(RawData, fmtStart);
    if (bFmt && stated.IsPcm())
        header.wFormatTag = WaveSampleFormat::Pcm;
    if (sampleFormat)
        *sampleFormat = stated;

    if (CheckHeader(header) != 0) {
        error = 5;
        return false;
    }
    const int format = CheckFormat(header);
    if (format != 1) {
        error = FormatError(format);
        return false;
    }

    // A data chunk that claims more than the file holds is cut to the whole
    // frames present, so that no reader of the samples runs past the end.
    const qsizetype available = size - dataStart;
    if (qsizetype(header.data_ckSize) > available) {
        const uint32_t frameBytes = WaveFrameBytes(header);
        header.data_ckSize = uint32_t(available - available % frameBytes);
    }
    error = 0;
    return true;
}

int CDocumentWave::CheckHeader(const WAVEHEADER& header)
{
    if (!HasTag(header.szRiffID, "RIFF"))
        return 1;
    if (!HasTag(header.szRiffFormat, "WAVE"))
        return 2;
    if (!HasTag(header.szFmtID, "fmt "))
        return 3;
    if (!HasTag(header.szDataID, "data"))
        return 4;
    return 0;
}

int CDocumentWave::FormatError(int check)
{
    if (check == 1)
        return 0;
    if (check & 16)
        return 2;
    if (check & 8)
        return 4;
    if (check & 4)
        return 3;
    return (check & 2) ? 1 : 0;
}

int CDocumentWave::CheckFormat(const WAVEHEADER& header)
{
    int result = 0;
    if (!IsSupportedRate(header.nSamplesPerSec))
        result |= 2;
    if (header.nChannels != 1 && header.nChannels != 2)
        result |= 4;
    if (header.nBitsPerSample != 8 && header.nBitsPerSample != 16)
        result |= 8;
    if (header.wFormatTag != 1)
        result |= 16;
    return result == 0 ? 1 : result;
}
