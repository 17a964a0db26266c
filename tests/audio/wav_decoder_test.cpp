// WAV decoding: a table of fixtures, well-formed and broken, decoded from
// files through the extension-picking entry point.

#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/audio_data.h"
#include "tests/audio/test_files.h"
#include "tests/audio/wav_fixture.h"

namespace {

struct WavCase {
    const char *name;
    std::vector<unsigned char> bytes;
    bool loads;
    DecodedAudio expect;
    size_t dataOffset;  // where the data bytes start in the file
};

WavCase Loads(const char *name, WavFixture w, int length, int channels, int format, int hertz) {
    // The data chunk's bytes are the file's last `length * channels * format` bytes.
    size_t dataBytes = size_t(length) * size_t(channels) * size_t(format);
    return {name, w.bytes, true, {length, channels, format, hertz}, w.bytes.size() - dataBytes};
}

WavCase Fails(const char *name, WavFixture w) {
    return {name, w.bytes, false, {}, 0};
}

std::vector<WavCase> Cases() {
    return {
        // 44100 bytes of mono 16-bit data at 22050 Hz are 22050 frames.
        Loads("mono16", WavFixture().Header(1, 1, 22050, 16).Chunk("data", 44100), 22050, 1, 2,
              22050),
        Loads("stereo16", WavFixture().Header(1, 2, 44100, 16).Chunk("data", 400), 100, 2, 2,
              44100),
        Loads("mono8", WavFixture().Header(1, 1, 11025, 8).Chunk("data", 300), 300, 1, 1, 11025),
        Loads("stereo8", WavFixture().Header(1, 2, 8000, 8).Chunk("data", 300), 150, 2, 1, 8000),
        Loads("list_before_data",
              WavFixture().Header(1, 1, 22050, 16).Chunk("LIST", 26, 26, 0x11).Chunk("data", 64),
              32, 1, 2, 22050),
        Loads("extended_fmt", WavFixture().Header(1, 1, 22050, 16, 18).Chunk("data", 8), 4, 1, 2,
              22050),
        // Chunk sizes are taken as they stand: no pad byte after an odd one.
        Loads("odd_chunk_unpadded",
              WavFixture().Header(1, 1, 22050, 16).Chunk("fact", 3).Chunk("data", 10), 5, 1, 2,
              22050),
        Loads("empty_data", WavFixture().Header(1, 1, 22050, 16).Chunk("data", 0), 0, 1, 2, 22050),
        Fails("float_format_tag", WavFixture().Header(3, 1, 22050, 32).Chunk("data", 64)),
        Fails("not_riff", WavFixture().Tag("RIFX").U32(0).Tag("WAVE")),
        Fails("not_wave", WavFixture().Tag("RIFF").U32(0).Tag("AVI ").Tag("fmt ")),
        Fails("no_fmt_first", WavFixture().Tag("RIFF").U32(0).Tag("WAVE").Chunk("data", 8)),
        Fails("empty_file", WavFixture()),
        Fails("truncated_riff", WavFixture().Header(1, 1, 22050, 16).Truncate(6)),
        Fails("truncated_fmt", WavFixture().Header(1, 1, 22050, 16).Truncate(30)),
        Fails("truncated_chunk_tag",
              WavFixture().Header(1, 1, 22050, 16).Chunk("data", 8).Truncate(38)),
        Fails("truncated_data", WavFixture().Header(1, 1, 22050, 16).Chunk("data", 1000, 500)),
        Fails("no_data_chunk", WavFixture().Header(1, 1, 22050, 16).Chunk("LIST", 12)),
        // Mended: a divisor of zero in the frame count.
        Fails("zero_channels", WavFixture().Header(1, 0, 22050, 16).Chunk("data", 64)),
        Fails("four_bits", WavFixture().Header(1, 1, 22050, 4).Chunk("data", 64)),
        Fails("zero_bits", WavFixture().Header(1, 1, 22050, 0).Chunk("data", 64)),
        // Mended: sizes beyond the end of the file are never allocated or
        // read. Under AddressSanitizer a 4 GiB allocation would abort.
        Fails("data_size_past_end",
              WavFixture().Header(1, 1, 22050, 16).Chunk("data", 0xffffffffu, 64)),
        Fails("chunk_size_past_end",
              WavFixture().Header(1, 1, 22050, 16).Chunk("LIST", 0xfffffff0u, 16).Chunk("data", 8)),
        Fails("fmt_size_past_end", WavFixture()
                                       .Tag("RIFF")
                                       .U32(0)
                                       .Tag("WAVE")
                                       .Tag("fmt ")
                                       .U32(0xffffff00u)
                                       .U16(1)
                                       .U16(1)
                                       .U32(22050)
                                       .U32(44100)
                                       .U16(2)
                                       .U16(16)
                                       .Chunk("data", 8)),
    };
}

class WavDecoding : public testing::TestWithParam<WavCase> {};

TEST_P(WavDecoding, DecodesOrRefuses) {
    const WavCase &c = GetParam();
    ScratchDir dir;
    std::string path = dir.Write(std::string(c.name) + ".wav", c.bytes);
    FILE *file = fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    DecodedAudio out;
    unsigned char *data = DecodeAudioFile(file, path.c_str(), &out);
    fclose(file);
    if (!c.loads) {
        EXPECT_EQ(data, nullptr);
        free(data);
        return;
    }
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(out.length, c.expect.length);
    EXPECT_EQ(out.channels, c.expect.channels);
    EXPECT_EQ(out.format, c.expect.format);
    EXPECT_EQ(out.hertz, c.expect.hertz);
    size_t bytes = size_t(out.length) * size_t(out.channels) * size_t(out.format);
    EXPECT_EQ(std::vector<unsigned char>(data, data + bytes),
              std::vector<unsigned char>(c.bytes.begin() + long(c.dataOffset), c.bytes.end()));
    free(data);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, WavDecoding, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<WavCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(AudioFileChoice, ExtensionPicksDecoderIgnoringCase) {
    std::vector<unsigned char> wav = WavFixture().Header(1, 1, 22050, 16).Chunk("data", 8).bytes;
    ScratchDir dir;
    struct {
        const char *name;
        bool loads;
    } names[] = {{"a.wav", true},      {"B.WAV", true}, {"c.Wav", true}, {"d.mp3", false},
                 {"e.wav.txt", false}, {"wav", false},  {"f.ogg", false}};
    for (const auto &n : names) {
        std::string path = dir.Write(n.name, wav);
        FILE *file = fopen(path.c_str(), "rb");
        DecodedAudio out;
        unsigned char *data = DecodeAudioFile(file, path.c_str(), &out);
        fclose(file);
        EXPECT_EQ(data != nullptr, n.loads) << n.name;
        free(data);
    }
}

}  // namespace
