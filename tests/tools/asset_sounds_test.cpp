// The sound effects read back through the host's sound loader: 16-bit PCM,
// short, below full scale, and starting and ending at silence so that
// playing them (at any rate) makes no click.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/tools/asset_files.h"

namespace {

constexpr double kShortest = 0.020, kLongest = 1.5;  // seconds
constexpr int kFullScale = 32767;
constexpr int kMaxPeak = int(0.95 * kFullScale);
constexpr int kEdgeLimit = kFullScale / 100;  // first and last samples

TEST(AssetSounds, EveryEffectIsShortPcmBelowFullScaleAndClickFree) {
    for (const char *name :
         {"sfx/001.wav", "sfx/002.wav", "sfx/095.wav", "sfx/098.wav", "sfx/099.wav"}) {
        std::string path = DataDir() + "/" + name;
        SCOPED_TRACE(path);
        int length = 0, channels = 0, format = 0, hertz = 0;
        unsigned char *data =
            AssetHost()->LoadAudioData(String(path.c_str()), &length, &channels, &format, &hertz);
        ASSERT_NE(data, nullptr) << "missing or undecodable";
        std::vector<short> samples(size_t(length) * channels);
        if (format == 2) std::memcpy(samples.data(), data, samples.size() * sizeof(short));
        std::free(data);
        ASSERT_EQ(format, 2) << "not 16-bit";
        ASSERT_GE(channels, 1);
        ASSERT_GT(hertz, 0);
        double seconds = double(length) / hertz;
        EXPECT_GE(seconds, kShortest);
        EXPECT_LE(seconds, kLongest);
        int peak = 0;
        for (short s : samples) peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, kFullScale / 10) << "nearly silent";
        EXPECT_LT(peak, kMaxPeak);
        ASSERT_FALSE(samples.empty());
        EXPECT_LE(std::abs(int(samples.front())), kEdgeLimit);
        EXPECT_LE(std::abs(int(samples.back())), kEdgeLimit);
    }
}

}  // namespace
