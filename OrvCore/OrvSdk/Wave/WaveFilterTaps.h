#pragma once

// The shared 105-tap low-pass of the polyphase resampler.
constexpr int kWaveFilterTapCount = 105;
extern const float kWaveFilterTaps[kWaveFilterTapCount];
