// Synthesised sound effects. Each effect is built from a few sine partials
// with pitch sweeps and exponential decays, then faded in and out over a
// few milliseconds (so it starts and ends at silence without a click) and
// normalised to a common peak below full scale.
#include "tools/assetgen/sound.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "tools/assetgen/png_writer.h"

namespace assetgen {
namespace {

constexpr double kTau = 6.283185307179586;
constexpr float kFadeInSeconds = 0.003f;
constexpr float kFadeOutSeconds = 0.012f;
// Every tone swells in and dies away over these times, so notes that start
// or stop in the middle of an effect do not click either.
constexpr double kToneAttack = 0.004, kToneRelease = 0.008;  // seconds

std::vector<float> Silence(float seconds) {
    return std::vector<float>(size_t(seconds * kSampleRate), 0.0f);
}

// Adds a tone starting at `start` seconds: frequency glides exponentially
// from f0 to f1 over `length`; amplitude decays with time constant `decay`
// (seconds; 0 means no decay). `partials` adds harmonics at the given
// relative amplitudes (index 0 is the fundamental).
void Tone(std::vector<float> &out, float start, float length, float f0, float f1, float amp,
          float decay, std::initializer_list<float> partials = {1.0f}, float vibratoHz = 0,
          float vibratoDepth = 0) {
    size_t first = size_t(start * kSampleRate);
    size_t count = size_t(length * kSampleRate);
    double phase = 0;
    for (size_t i = 0; i < count && first + i < out.size(); ++i) {
        double t = double(i) / kSampleRate;
        double f = f0 * std::pow(double(f1) / f0, t / length);
        if (vibratoHz > 0) f *= 1 + vibratoDepth * std::sin(kTau * vibratoHz * t);
        phase += kTau * f / kSampleRate;
        double env = decay > 0 ? std::exp(-t / decay) : 1.0;
        double left = double(count - 1 - i) / kSampleRate;
        if (t < kToneAttack) env *= 0.5 - 0.5 * std::cos(kTau / 2 * t / kToneAttack);
        if (left < kToneRelease) env *= 0.5 - 0.5 * std::cos(kTau / 2 * left / kToneRelease);
        double v = 0;
        int k = 1;
        for (float pa : partials) v += pa * std::sin(phase * k++);
        out[first + i] += float(amp * env * v);
    }
}

// Band-limited noise burst (deterministic generator, one-pole low-pass).
void Noise(std::vector<float> &out, float start, float length, float amp, float decay,
           float smoothing, std::uint32_t seed) {
    size_t first = size_t(start * kSampleRate);
    size_t count = size_t(length * kSampleRate);
    float lp = 0;
    for (size_t i = 0; i < count && first + i < out.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        float white = float(seed >> 8) / 8388608.0f - 1.0f;
        lp += (white - lp) * smoothing;
        float t = float(i) / kSampleRate;
        out[first + i] += amp * lp * std::exp(-t / decay);
    }
}

// Fades both ends to silence and scales the peak to `peak` (a fraction of
// full scale, at most kPeakLevel).
std::vector<float> Finish(std::vector<float> s, float level) {
    size_t in = size_t(kFadeInSeconds * kSampleRate), out = size_t(kFadeOutSeconds * kSampleRate);
    for (size_t i = 0; i < s.size(); ++i) {
        double g = 1;
        if (i < in) g *= 0.5 - 0.5 * std::cos(kTau / 2 * double(i) / in);
        size_t left = s.size() - 1 - i;
        if (left < out) g *= 0.5 - 0.5 * std::cos(kTau / 2 * double(left) / out);
        s[i] = float(s[i] * g);
    }
    float peak = 0;
    for (float v : s) peak = std::max(peak, std::fabs(v));
    level = std::min(level, kPeakLevel);
    if (peak > 0)
        for (float &v : s) v *= level / peak;
    return s;
}

// Token collected: a bright two-note chime with a sparkle on top.
std::vector<float> Collect() {
    auto s = Silence(0.34f);
    Tone(s, 0.000f, 0.34f, 1318.5f, 1318.5f, 0.45f, 0.07f, {1.0f, 0.3f, 0.12f});
    Tone(s, 0.065f, 0.27f, 1975.5f, 1975.5f, 0.5f, 0.09f, {1.0f, 0.25f, 0.1f});
    Tone(s, 0.065f, 0.27f, 3951.0f, 3951.0f, 0.08f, 0.05f);
    return Finish(s, kPeakLevel);
}

// The game is ending: three falling steps and a long sagging tone.
std::vector<float> GameOver() {
    auto s = Silence(1.1f);
    const float notes[] = {392.0f, 349.2f, 311.1f};
    for (int i = 0; i < 3; ++i) {
        Tone(s, 0.16f * i, 0.16f, notes[i], notes[i] * 0.98f, 0.35f, 0.12f,
             {1.0f, 0.0f, 0.3f, 0.0f, 0.12f});
    }
    Tone(s, 0.48f, 0.62f, 293.7f, 196.0f, 0.4f, 0.35f, {1.0f, 0.0f, 0.3f, 0.0f, 0.12f}, 6.0f,
         0.012f);
    return Finish(s, 0.72f);
}

// Spare: a rising sweep with a shimmer.
std::vector<float> Sweep() {
    auto s = Silence(0.42f);
    Tone(s, 0.0f, 0.42f, 330.0f, 1320.0f, 0.4f, 0.25f, {1.0f, 0.35f, 0.1f}, 14.0f, 0.03f);
    return Finish(s, 0.6f);
}

// Button click: a short, bright plip (the menus play it at rates 0.5-1.2).
std::vector<float> Click() {
    auto s = Silence(0.07f);
    Tone(s, 0.0f, 0.07f, 1500.0f, 1050.0f, 0.6f, 0.014f, {1.0f, 0.2f});
    Noise(s, 0.0f, 0.01f, 0.08f, 0.002f, 0.2f, 0x5eed0098u);
    return Finish(s, 0.7f);
}

// Board step: a soft wooden tock.
std::vector<float> Step() {
    auto s = Silence(0.09f);
    Tone(s, 0.0f, 0.09f, 620.0f, 430.0f, 0.6f, 0.022f, {1.0f, 0.15f, 0.06f});
    Noise(s, 0.0f, 0.012f, 0.12f, 0.003f, 0.12f, 0x5eed0099u);
    return Finish(s, 0.55f);
}

void Put16(std::FILE *f, unsigned v) {
    std::fputc(v & 0xff, f);
    std::fputc((v >> 8) & 0xff, f);
}
void Put32(std::FILE *f, unsigned v) {
    Put16(f, v & 0xffff);
    Put16(f, v >> 16);
}

}  // namespace

std::vector<SoundEffect> AllSounds() {
    return {{"sfx/001.wav", Collect()},
            {"sfx/002.wav", GameOver()},
            {"sfx/095.wav", Sweep()},
            {"sfx/098.wav", Click()},
            {"sfx/099.wav", Step()}};
}

bool WriteWav(const std::string &path, const std::vector<float> &samples, int rate) {
    constexpr unsigned kChannels = 1, kBytesPerSample = 2;
    if (!MakeParentDirs(path)) return false;
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    unsigned dataBytes = unsigned(samples.size()) * kBytesPerSample * kChannels;
    std::fwrite("RIFF", 1, 4, f);
    Put32(f, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    Put32(f, 16);
    Put16(f, 1);  // PCM
    Put16(f, kChannels);
    Put32(f, unsigned(rate));
    Put32(f, unsigned(rate) * kChannels * kBytesPerSample);
    Put16(f, kChannels * kBytesPerSample);
    Put16(f, 8 * kBytesPerSample);
    std::fwrite("data", 1, 4, f);
    Put32(f, dataBytes);
    for (float v : samples) {
        long q = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f);
        Put16(f, unsigned(q) & 0xffff);
    }
    return std::fclose(f) == 0;
}

}  // namespace assetgen
