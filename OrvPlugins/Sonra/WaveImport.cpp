#include "WaveImport.h"

#include "RiffWalk.h"

#include "Wave/CDocumentWave.h"

#include <cstring>

namespace {
// The header of a file whose chunk chain was followed.
WAVEHEADER HeaderFromChunks(const QByteArray& bytes, const WavChunks& chunks)
{
    WAVEHEADER header;
    std::memset(&header, 0, sizeof header);
    char* target = reinterpret_cast<char*>(&header);
    std::memcpy(target, bytes.constData(), 12);
    std::memcpy(target + 12, bytes.constData() + chunks.formatOffset, 24);
    std::memcpy(header.szDataID, "data", 4);
    header.data_ckSize = chunks.dataSize;
    return header;
}

} // namespace

CDocumentWave* ImportWave(const QByteArray& bytes, int& error, WaveSampleFormat* sampleFormat)
{
    WAVEHEADER header;
    qsizetype dataOffset = 0;
    WavChunks chunks;
    if (WalkRiffChunks(bytes, chunks)) {
        header = HeaderFromChunks(bytes, chunks);
        const WaveSampleFormat format = ReadWaveSampleFormat(bytes, chunks.formatOffset);
        if (sampleFormat)
            *sampleFormat = format;
        // The extensible format with the PCM sub-format follows the rules of format tag 1.
        if (format.IsPcm())
            header.wFormatTag = WaveSampleFormat::Pcm;
        const int check = CDocumentWave::CheckFormat(header);
        if (check != 1) {
            error = CDocumentWave::FormatError(check);
            return nullptr;
        }
        dataOffset = chunks.dataOffset;
    } else {
        unsigned int offset = 0;
        if (!CDocumentWave::ReadHeader(bytes, error, header, offset, sampleFormat))
            return nullptr;
        dataOffset = offset;
    }

    const quint32 dataSize = PresentDataSize(bytes, dataOffset, header.data_ckSize, int(WaveFrameBytes(header)));
    if (dataSize == 0) {
        error = WaveNoSamplesError;
        return nullptr;
    }
    header = MakeCanonicalWaveHeader(header, dataSize);

    CDocumentWave* wave = new CDocumentWave();
    wave->SetHeader(&header);
    // The file's own bytes, shared rather than copied: a long sound is held once.
    wave->ShareInputData(bytes, dataOffset, dataSize);
    error = WaveImported;
    return wave;
}
