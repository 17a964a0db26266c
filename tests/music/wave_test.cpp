// The test song on the real audio device: OpenAL Soft's wave backend writes
// the mix to a file, read back here to find the drum onsets of the first
// rows at the song's tempo, the levels, and the silence after the stop.
#include <gtest/gtest.h>

#include <AL/alc.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "tests/music/support/music_fixture.h"

namespace {

constexpr int kOutputHertz = 44100;
constexpr double kWindow = 0.005;         // seconds per level window
constexpr double kSilence = 0.005;        // level below which output is silent
constexpr double kOnsetRise = 0.06;       // level jump over kRiseSpan that marks an onset
constexpr double kRiseSpan = 0.015;       // seconds
constexpr double kOnsetGap = 0.1;         // seconds: later rises belong to the same onset
constexpr double kOnsetTolerance = 0.06;  // seconds, between two onsets
constexpr int kRowMillis = 84;
constexpr int kRowsPlayed = 32;

// Both channels: kit A is panned left, kit B right.
struct Output {
    int hertz = 0;
    std::vector<float> left, right;
};

uint32_t Le32(const unsigned char *p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The backend's output file as floats in -1..1.
Output ReadOutput(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    Output out;
    int channels = 0, bits = 0;
    bool isFloat = false;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const uint32_t size = Le32(&b[at + 4]);
        const unsigned char *body = &b[at + 8];
        if (memcmp(&b[at], "fmt ", 4) == 0) {
            int tag = body[0] | body[1] << 8;
            channels = body[2] | body[3] << 8;
            out.hertz = int(Le32(body + 4));
            bits = body[14] | body[15] << 8;
            if (tag == 0xfffe) tag = body[24] | body[25] << 8;
            isFloat = tag == 3;
        } else if (memcmp(&b[at], "data", 4) == 0) {
            size_t end = std::min(b.size(), at + 8 + size_t(size));
            if (size == 0) end = b.size();
            const size_t frame = size_t(channels) * size_t(bits / 8);
            for (size_t p = at + 8; frame && p + frame <= end; p += frame) {
                const size_t bytes = size_t(bits / 8);
                for (int ch = 0; ch < 2; ++ch) {
                    const size_t q = p + (channels > 1 ? size_t(ch) * bytes : 0);
                    float v;
                    if (isFloat) {
                        memcpy(&v, &b[q], 4);
                    } else {
                        v = int16_t(b[q] | b[q + 1] << 8) / 32768.0f;
                    }
                    (ch == 0 ? out.left : out.right).push_back(v);
                }
            }
            break;
        }
        at += 8 + size;
    }
    return out;
}

// Root-mean-square level over both channels of the window at the given second.
double Level(const Output &o, double at, double length = kWindow) {
    if (at < 0) return 0;
    const size_t from = size_t(at * o.hertz), to = size_t((at + length) * o.hertz);
    double sum = 0;
    size_t n = 0;
    for (size_t i = from; i < to && i < o.left.size(); ++i, ++n) {
        sum += (o.left[i] * o.left[i] + o.right[i] * o.right[i]) / 2;
    }
    return n ? std::sqrt(sum / double(n)) : 0;
}

// Times where the level jumps up sharply.
std::vector<double> Onsets(const Output &o, double from, double to) {
    std::vector<double> found;
    for (double t = from; t < to; t += kWindow / 5) {
        if (Level(o, t) - Level(o, t - kRiseSpan) > kOnsetRise &&
            (found.empty() || t - found.back() > kOnsetGap)) {
            found.push_back(t);
        }
    }
    return found;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

class SongOnTheWaveBackend : public MusicFixture {
public:
    void SetUp() override {
        // The backend is chosen before the first device of the process opens.
        char tmpl[] = "/tmp/tesselon-music-wave-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        wav_ = dir_ + "/mix.wav";
        const std::string conf = dir_ + "/wave.conf";
        FILE *f = fopen(conf.c_str(), "w");
        ASSERT_NE(f, nullptr);
        fprintf(f, "[general]\ndrivers=wave\nfrequency=%d\nchannels=stereo\n[wave]\nfile=%s\n",
                kOutputHertz, wav_.c_str());
        fclose(f);
        setenv("ALSOFT_CONF", conf.c_str(), 1);
        recordAudio = false;
        MusicFixture::SetUp();
    }
    void TearDown() override {
        MusicFixture::TearDown();
        std::remove(wav_.c_str());
        std::remove((dir_ + "/wave.conf").c_str());
        std::remove(dir_.c_str());
    }

protected:
    std::string dir_, wav_;
};

TEST_F(SongOnTheWaveBackend, FirstRowsSoundAtTheirTimes) {
    ASSERT_NE(audio->context, nullptr) << "the wave backend did not open";
    ASSERT_EQ(bb_audio_device, audio);
    WriteSongFiles();
    NewPlayer();
    LoadSong();
    ASSERT_NE(player->drumKitA[1], nullptr);

    // Play the first rows with the host clock following the wall clock.
    const auto start = std::chrono::steady_clock::now();
    const int clockStart = Now();
    player->state = kTzPlaying;
    player->nextStepTime = clockStart + 300;  // about 0.3 s of silence first
    while (player->row < kRowsPlayed && player->sectionCount == 0 && Seconds(start) < 10) {
        SetClock(clockStart + static_cast<int>(Seconds(start) * 1000));
        player->p_Tz_Alive_U(0, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_EQ(player->row, kRowsPlayed);
    player->p_Tz_Stop(1);
    for (int t = 0; t < 5; ++t) EXPECT_EQ(player->sounding[t], 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));

    alcMakeContextCurrent(nullptr);
    alcDestroyContext(audio->context);
    alcCloseDevice(audio->device);
    audio->context = nullptr;
    audio->device = nullptr;

    const Output out = ReadOutput(wav_);
    ASSERT_EQ(out.hertz, kOutputHertz);

    // Times in the capture count from the device's start; everything is
    // measured from the first onset. Drum hits of rows 0 to 31: kit A at
    // 0, 8, 16 and 24 and kit B at 12 (its row-4 slot has no sample).
    const double length = double(out.left.size()) / out.hertz;
    const std::vector<double> onsets = Onsets(out, 0.0, length);
    ASSERT_FALSE(onsets.empty()) << "nothing sounded";
    const double first = onsets[0];
    const double stop = first + kRowsPlayed * kRowMillis / 1000.0;
    ASSERT_GT(length, stop + 0.5);
    EXPECT_LT(Level(out, first - 0.25, 0.2), kSilence) << "silence before the song";
    const int drumRows[] = {0, 8, 12, 16, 24};
    int matched = 0;
    for (int r : drumRows) {
        const double expected = first + r * kRowMillis / 1000.0;
        double nearest = 1e9;
        for (double t : onsets) nearest = std::min(nearest, std::fabs(t - expected));
        EXPECT_LT(nearest, kOnsetTolerance) << "row " << r;
        matched += nearest < kOnsetTolerance;
    }
    const double drumLevel = Level(out, first, 0.02);
    const double melodyLevel = Level(out, first + 0.2, 0.1);
    const double afterStop = Level(out, stop + 0.25, 0.2);
    std::printf(
        "wave capture: %zu onsets found (first at %.3f s of the capture), %d of %zu drum rows "
        "matched; levels (RMS): drum hit %.3f, melodic voices %.3f, after the stop %.5f\n",
        onsets.size(), first, matched, std::size(drumRows), drumLevel, melodyLevel, afterStop);
    for (double t : onsets)
        std::printf("  onset at %+.3f s = row %.2f\n", t - first, (t - first) * 1000 / kRowMillis);
    // The looping melodic voices sound between the drums, quieter.
    EXPECT_GT(melodyLevel, kSilence);
    EXPECT_LT(melodyLevel, drumLevel);
    // The stop silences every voice.
    EXPECT_LT(afterStop, kSilence);
}

}  // namespace
