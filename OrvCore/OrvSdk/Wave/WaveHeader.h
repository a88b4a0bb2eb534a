#pragma once
#include <QtGlobal>
#include <cstdint>
#include <type_traits>

// The canonical 44-byte RIFF WAVE header of a PCM file, laid out exactly as it
// stands in the file (all numbers little-endian), so that it can be copied to
// and from file bytes as it is.
struct WAVEHEADER
{
    char szRiffID[4];         // "RIFF"
    uint32_t RIFF_ckSize;     // 36 + data_ckSize
    char szRiffFormat[4];     // "WAVE"
    char szFmtID[4];          // "fmt "
    uint32_t fmt_ckSize;      // 16
    uint16_t wFormatTag;      // 1: PCM
    uint16_t nChannels;       // 1 or 2
    uint32_t nSamplesPerSec;  // sampling rate in Hz
    uint32_t nAvgBytesPerSec; // nBlockAlign x nSamplesPerSec
    uint16_t nBlockAlign;     // nBitsPerSample x nChannels / 8
    uint16_t nBitsPerSample;  // 8 or 16
    char szDataID[4];         // "data"
    uint32_t data_ckSize;     // number of sample bytes
};

static_assert(sizeof(WAVEHEADER) == 44, "the WAV header must match the file layout");
static_assert(std::is_trivially_copyable<WAVEHEADER>::value, "the WAV header is copied as bytes");
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the WAV header is kept in file byte order");

// The header as this system writes it: the four tags, a 16-byte format chunk,
// block align and byte rate derived from channels x bits / 8 (a file's own
// block align is never trusted), the given data size and RIFF size 36 + it.
// Channels, rate, sample size and format tag are kept.
WAVEHEADER MakeCanonicalWaveHeader(const WAVEHEADER& source, uint32_t dataSize);

// Bytes of one sample frame: channels x bits / 8 (0 for a meaningless header).
uint32_t WaveFrameBytes(const WAVEHEADER& header);
