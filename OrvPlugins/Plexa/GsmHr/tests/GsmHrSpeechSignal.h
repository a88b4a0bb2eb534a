#pragma once
// A deterministic speech-like test signal and the segmental SNR measure the
// codec tests and the benchmark share.
#include <cstddef>
#include <cstdint>
#include <vector>

// `seconds` of 8000 Hz speech-like sound: a glottal pulse train gliding
// between 110 and 140 Hz, differentiated twice, shaped by three formant
// resonators that change vowel every 250 ms, with fricative noise at syllable
// ends and a pause every fifth syllable; peaks near -10 dBFS.
std::vector<int16_t> MakeSpeechLikeSignal(double seconds);

// `seconds` of white noise of the given RMS (sums of uniform values, nearly
// Gaussian), the same for the same seed.
std::vector<int16_t> MakeWhiteNoise(double seconds, double rms, uint32_t seed = 1);

// RMS of `count` samples from `at`.
double Rms(const std::vector<int16_t>& signal, size_t at, size_t count);

// Mean segmental SNR in dB over 20 ms frames of the reference whose RMS is at
// least 100, each frame's value clamped to [-10, 35], at the best delay of the
// decoded signal between 0 and 160 samples.
double SegmentalSnr(const std::vector<int16_t>& reference, const std::vector<int16_t>& decoded);
