#pragma once
#include <cstddef>
#include <cstdint>

// Writes one channel of float samples as 8- or 16-bit PCM into its interleaved
// places (every nStride-th sample, starting at nChannel). The gain is lowered
// to 32767 / peak when the peak would overflow, so the loudest sample lands
// exactly on full scale. Returns the largest |value| stored (16-bit) or the
// largest value stored (8-bit).
float WriteWaveChannel(const float* pBuffer, uint32_t nCount, float gain, int nBitsPerSample, int nChannel, int nStride,
                       unsigned char* pOutput);

// The pieces of WriteWaveChannel, for a channel written block by block: the
// largest |sample| of a block, the gain a channel of that peak is written with,
// and the writing itself with that gain (the return as above).
float WavePeak(const float* pBuffer, uint32_t nCount);
float WaveChannelGain(float peak, float gain);
float WriteWaveSamples(const float* pBuffer, uint32_t nCount, float gain, int nBitsPerSample, int nChannel, int nStride,
                       unsigned char* pOutput);
