// Sound effects: synthesis and 16-bit PCM WAV output.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

constexpr int kSampleRate = 44100;  // Hz
// Highest peak of any effect, as a fraction of full scale (about -2 dB);
// the frequent ones (step, click) are quieter.
constexpr float kPeakLevel = 0.78f;

struct SoundEffect {
    std::string name;            // path under data/, e.g. "sfx/001.wav"
    std::vector<float> samples;  // mono, -1..1
};

// Every effect of the pack.
std::vector<SoundEffect> AllSounds();

// Writes a mono 16-bit PCM WAV file. Returns false on failure.
bool WriteWav(const std::string &path, const std::vector<float> &samples, int rate);

}  // namespace assetgen
