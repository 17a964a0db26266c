// Ogg Vorbis decoding: files made with oggenc at test time decode to the
// frame count, channel count and rate they were made with; files whose
// headers are broken are refused before the decoder sees them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/audio_data.h"
#include "tests/audio/test_files.h"
#include "tests/audio/tone.h"
#include "tests/audio/wav_fixture.h"

namespace {

// Encodes a sine tone with oggenc; returns the Ogg file's path.
std::string MakeOgg(const ScratchDir &dir, const std::string &name, int frames, int channels,
                    int hertz) {
    std::string wav = dir.Write(
        name + ".wav", PcmWav16(SineTone(frames, channels, hertz, 440, 0.5), channels, hertz));
    std::string ogg = dir.File(name + ".ogg");
    std::string command = "oggenc -Q -o '" + ogg + "' '" + wav + "'";
    EXPECT_EQ(system(command.c_str()), 0) << command;
    return ogg;
}

unsigned char *DecodePath(const std::string &path, DecodedAudio *out) {
    FILE *file = fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    unsigned char *data = DecodeAudioFile(file, path.c_str(), out);
    fclose(file);
    return data;
}

// Offset of the n-th (0-based) "OggS" page in the file.
size_t PageOffset(const std::vector<unsigned char> &bytes, int n) {
    for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
        if (memcmp(&bytes[i], "OggS", 4) == 0 && n-- == 0) return i;
    }
    return bytes.size();
}

// Offset of the first packet byte on the page at the given offset.
size_t PacketStart(const std::vector<unsigned char> &bytes, size_t page) {
    return page + 27 + bytes[page + 26];
}

void Put32(std::vector<unsigned char> *bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) (*bytes)[at + size_t(i)] = uint8_t(v >> (8 * i));
}

uint32_t Get32(const std::vector<unsigned char> &bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

TEST(OggDecoding, EncodedToneDecodesToItsShape) {
    struct {
        int frames, channels, hertz;
    } shapes[] = {{11025, 1, 22050}, {4410, 2, 44100}, {20000, 2, 22050}};
    ScratchDir dir;
    for (const auto &s : shapes) {
        std::string name = "tone" + std::to_string(s.channels) + "_" + std::to_string(s.hertz);
        std::string ogg = MakeOgg(dir, name, s.frames, s.channels, s.hertz);
        DecodedAudio out;
        unsigned char *data = DecodePath(ogg, &out);
        ASSERT_NE(data, nullptr) << name;
        EXPECT_EQ(out.length, s.frames) << name;
        EXPECT_EQ(out.channels, s.channels) << name;
        EXPECT_EQ(out.format, 2) << name;
        EXPECT_EQ(out.hertz, s.hertz) << name;
        // The tone survives encoding: its peak is near the 0.5 it was made with.
        const int16_t *samples = reinterpret_cast<const int16_t *>(data);
        int peak = 0;
        for (long i = 0; i < long(out.length) * out.channels; ++i)
            peak = std::max(peak, std::abs(int(samples[i])));
        EXPECT_NEAR(peak / 32767.0, 0.5, 0.1) << name;
        free(data);
    }
}

TEST(OggDecoding, BrokenFilesGiveNull) {
    ScratchDir dir;
    std::vector<unsigned char> good = ReadFile(MakeOgg(dir, "good", 4000, 1, 22050));
    ASSERT_GT(good.size(), 200u);
    size_t id = PacketStart(good, PageOffset(good, 0));
    size_t comment = PacketStart(good, PageOffset(good, 1));
    uint32_t vendorLength = Get32(good, comment + 7);
    size_t countAt = comment + 11 + vendorLength;

    struct Broken {
        const char *name;
        std::vector<unsigned char> bytes;
    };
    std::vector<Broken> cases;
    auto edit = [&](const char *name, auto change) {
        std::vector<unsigned char> bytes = good;
        change(&bytes);
        cases.push_back({name, bytes});
    };
    edit("vendor_length_huge", [&](auto *b) { Put32(b, comment + 7, 0xffffffffu); });
    edit("vendor_length_past_packet", [&](auto *b) { Put32(b, comment + 7, 100000); });
    edit("comment_count_huge", [&](auto *b) { Put32(b, countAt, 0x40000000u); });
    edit("comment_length_huge", [&](auto *b) {
        Put32(b, countAt, 1);
        Put32(b, countAt + 4, 0xfffffff0u);
    });
    edit("zero_channels", [&](auto *b) { (*b)[id + 11] = 0; });
    edit("zero_rate", [&](auto *b) { Put32(b, id + 12, 0); });
    edit("not_vorbis", [&](auto *b) { memcpy(&(*b)[id + 1], "vorbiz", 6); });
    edit("no_capture_pattern", [&](auto *b) { memcpy(&(*b)[0], "OggT", 4); });
    edit("truncated_in_comment", [&](auto *b) { b->resize(comment + 10); });
    edit("truncated_in_first_page", [&](auto *b) { b->resize(40); });
    edit("empty", [&](auto *b) { b->clear(); });
    cases.push_back(
        {"wav_named_ogg", WavFixture().Header(1, 1, 22050, 16).Chunk("data", 64).bytes});

    for (const Broken &c : cases) {
        std::string path = dir.Write(std::string(c.name) + ".ogg", c.bytes);
        DecodedAudio out;
        unsigned char *data = DecodePath(path, &out);
        EXPECT_EQ(data, nullptr) << c.name;
        free(data);
    }
}

}  // namespace
