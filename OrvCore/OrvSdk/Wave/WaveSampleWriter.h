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
