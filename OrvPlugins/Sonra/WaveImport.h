#pragma once
#include <QByteArray>

class CDocumentWave;
struct WaveSampleFormat;

// Refusal codes of the WAV importer: those of CDocumentWave::ReadHeader
// (1 rate, 2 not PCM, 3 channels, 4 sample size, 5 no RIFF WAVE structure), and
// 6 when the file holds no sample at all.
enum WaveImportError
{
    WaveImported = 0,
    WaveRateError = 1,
    WaveFormatError = 2,
    WaveChannelError = 3,
    WaveBitDepthError = 4,
    WaveHeaderError = 5,
    WaveNoSamplesError = 6
};

// A new wave document with the file's format and samples, or null with the reason
// in `error`. The chunk chain is followed first; only a file whose chain is broken
// is searched for the first "RIFF", "fmt " and "data" tags instead. The header is
// stored in its canonical 44-byte form, and the samples are never read beyond the
// bytes given. A file in the extensible format whose sub-format is PCM is imported
// as PCM. `sampleFormat`, when given, gets the format the file states, so that a
// refusal can say which one it is.
CDocumentWave* ImportWave(const QByteArray& bytes, int& error, WaveSampleFormat* sampleFormat = nullptr);
