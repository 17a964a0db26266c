// Test tones: sine waves as 16-bit samples.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

// frames of a sine at the given frequency and peak (0 to 1), the same on
// every channel.
inline std::vector<int16_t> SineTone(int frames, int channels, int hertz, double frequency,
                                     double peak) {
    std::vector<int16_t> samples;
    samples.reserve(size_t(frames) * size_t(channels));
    for (int i = 0; i < frames; ++i) {
        double v = peak * 32767.0 * std::sin(2.0 * M_PI * frequency * i / hertz);
        for (int c = 0; c < channels; ++c) samples.push_back(int16_t(std::lround(v)));
    }
    return samples;
}
