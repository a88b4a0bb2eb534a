#include "Wave/WaveHeader.h"

#include <cstring>

WAVEHEADER MakeCanonicalWaveHeader(const WAVEHEADER& source, uint32_t dataSize)
{
    WAVEHEADER header = source;
    std::memcpy(header.szRiffID, "RIFF", 4);
    std::memcpy(header.szRiffFormat, "WAVE", 4);
    std::memcpy(header.szFmtID, "fmt ", 4);
    std::memcpy(header.szDataID, "data", 4);
    header.fmt_ckSize = 16;
    header.nBlockAlign = uint16_t(WaveFrameBytes(source));
    header.nAvgBytesPerSec = uint32_t(uint64_t(header.nBlockAlign) * source.nSamplesPerSec);
    header.data_ckSize = dataSize;
    // A data size this close to the 32-bit limit cannot be stated exactly.
    header.RIFF_ckSize = dataSize > UINT32_MAX - 36 ? UINT32_MAX : dataSize + 36;
    return header;
}

uint32_t WaveFrameBytes(const WAVEHEADER& header)
{
    return uint32_t(header.nChannels) * header.nBitsPerSample / 8;
}
