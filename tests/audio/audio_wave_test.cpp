// Sound proven by its output: OpenAL Soft's wave backend writes the real mix
// to a WAV file, which this test reads back to find when each sound started
// and how loud it was.

#include <gtest/gtest.h>

#include <AL/alc.h>

#include <chrono>
#include <cmath>
#include <cstring>

#include "audio/device.h"
#include "tests/audio/al_test_util.h"
#include "tests/audio/test_files.h"

namespace {

constexpr int kOutputHertz = 44100;
constexpr double kWindow = 0.005;         // seconds per level window
constexpr double kSilence = 0.01;         // level below which output is silent
constexpr double kOnsetTolerance = 0.06;  // seconds, between two plays
constexpr double kStartTolerance = 0.2;   // seconds, from device start

// The backend's output: the first channel as floats in -1..1.
struct Output {
    int hertz = 0;
    std::vector<float> left;
};

uint32_t Le32(const unsigned char *p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

Output ReadOutput(const std::string &path) {
    std::vector<unsigned char> b = ReadFile(path);
    Output out;
    int channels = 0, bits = 0;
    bool isFloat = false;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        uint32_t size = Le32(&b[at + 4]);
        const unsigned char *body = &b[at + 8];
        if (memcmp(&b[at], "fmt ", 4) == 0) {
            int tag = body[0] | body[1] << 8;
            channels = body[2] | body[3] << 8;
            out.hertz = int(Le32(body + 4));
            bits = body[14] | body[15] << 8;
            if (tag == 0xfffe) tag = body[24] | body[25] << 8;  // extensible: sub-format
            isFloat = tag == 3;
        } else if (memcmp(&b[at], "data", 4) == 0) {
            size_t end = std::min(b.size(), at + 8 + size_t(size));
            if (size == 0) end = b.size();  // header not finalised
            size_t frame = size_t(channels) * size_t(bits / 8);
            for (size_t p = at + 8; frame && p + frame <= end; p += frame) {
                if (isFloat) {
                    float v;
                    memcpy(&v, &b[p], 4);
                    out.left.push_back(v);
                } else {
                    out.left.push_back(int16_t(b[p] | b[p + 1] << 8) / 32768.0f);
                }
            }
            break;
        }
        at += 8 + size;
    }
    return out;
}

// Root-mean-square level of the window starting at the given second.
double Level(const Output &o, double at, double length = kWindow) {
    size_t from = size_t(at * o.hertz), to = size_t((at + length) * o.hertz);
    double sum = 0;
    size_t n = 0;
    for (size_t i = from; i < to && i < o.left.size(); ++i, ++n) sum += o.left[i] * o.left[i];
    return n ? std::sqrt(sum / double(n)) : 0;
}

// First window at or after `from` whose level passes the threshold.
double FirstAbove(const Output &o, double from, double threshold) {
    for (double t = from; t < double(o.left.size()) / o.hertz; t += kWindow / 5)
        if (Level(o, t) > threshold) return t;
    return -1;
}

// Zero crossings per second over a stretch: twice the tone's frequency.
double CrossingRate(const Output &o, double at, double length) {
    size_t from = size_t(at * o.hertz), to = size_t((at + length) * o.hertz);
    int crossings = 0;
    for (size_t i = from + 1; i < to && i < o.left.size(); ++i)
        if ((o.left[i - 1] < 0) != (o.left[i] < 0)) ++crossings;
    return crossings / length;
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(AudioOutput, PlaysAtTheRightTimeAndVolumeAndRestarts) {
    ScratchDir dir;
    std::string wav = dir.File("mix.wav");
    std::string conf = dir.File("wave.conf");
    FILE *f = fopen(conf.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fprintf(f, "[general]\ndrivers=wave\nfrequency=%d\nchannels=stereo\n[wave]\nfile=%s\n",
            kOutputHertz, wav.c_str());
    fclose(f);
    UseAudioConfig(conf);

    auto start = std::chrono::steady_clock::now();
    gxtkAudio *audio = new gxtkAudio();
    ASSERT_NE(audio->context, nullptr);
    gxtkSample *low = ToneSample(2.0, 440, 0.5);   // long: cut off by the second play
    gxtkSample *high = ToneSample(0.3, 880, 0.5);  // same peak, an octave up
    audio->SetPan(0, 0);

    SleepSeconds(0.3);
    audio->SetVolume(0, 0.5f);
    double playLow = Since(start);
    audio->PlaySample(low, 0, 0);
    SleepSeconds(0.4);
    audio->SetVolume(0, 1.0f);
    double playHigh = Since(start);
    audio->PlaySample(high, 0, 0);
    SleepSeconds(0.8);

    alcMakeContextCurrent(nullptr);
    alcDestroyContext(audio->context);
    alcCloseDevice(audio->device);

    Output out = ReadOutput(wav);
    ASSERT_EQ(out.hertz, kOutputHertz);
    ASSERT_GT(out.left.size(), size_t(1.2 * kOutputHertz));

    // Silence, then the low tone at about the time it was started.
    double onsetLow = FirstAbove(out, 0, kSilence);
    ASSERT_GT(onsetLow, 0);
    EXPECT_NEAR(onsetLow, playLow, kStartTolerance);
    double levelLow = Level(out, onsetLow + 0.1, 0.1);
    EXPECT_NEAR(CrossingRate(out, onsetLow + 0.05, 0.2), 2 * 440, 40);

    // The second play replaces it with the high tone at twice the level,
    // as far after the first as it was started.
    double onsetHigh = FirstAbove(out, onsetLow + 0.1, 1.5 * levelLow);
    ASSERT_GT(onsetHigh, 0);
    EXPECT_NEAR(onsetHigh - onsetLow, playHigh - playLow, kOnsetTolerance);
    double levelHigh = Level(out, onsetHigh + 0.05, 0.15);
    EXPECT_NEAR(levelHigh / levelLow, 2.0, 0.2);
    EXPECT_NEAR(CrossingRate(out, onsetHigh + 0.05, 0.2), 2 * 880, 60);
    // A 0.5-peak sine at gain 1 has an RMS of 0.35 before panning.
    EXPECT_GT(levelHigh, 0.35 * 0.5);
    EXPECT_LT(levelHigh, 0.35 * 1.1);

    // When the high tone ends the low one does not come back.
    EXPECT_LT(Level(out, onsetHigh + 0.4, 0.2), kSilence);
}

}  // namespace
