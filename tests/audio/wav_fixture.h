// Builds WAV files byte by byte for the decoder tests, including the broken
// ones no encoder would write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WavFixture {
    std::vector<unsigned char> bytes;

    WavFixture &Tag(const char *tag) {
        bytes.insert(bytes.end(), tag, tag + 4);
        return *this;
    }
    WavFixture &U16(uint32_t v) {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
        return *this;
    }
    WavFixture &U32(uint32_t v) {
        U16(v & 0xffff);
        return U16(v >> 16);
    }
    WavFixture &Bytes(size_t count, unsigned char value = 0x5a) {
        bytes.insert(bytes.end(), count, value);
        return *this;
    }
    // "RIFF" <size> "WAVE" "fmt " and a fmt chunk of the given size whose
    // first 16 bytes describe the format; extra bytes are zero.
    WavFixture &Header(int tag, int channels, int hertz, int bits, uint32_t fmtSize = 16) {
        Tag("RIFF").U32(0).Tag("WAVE").Tag("fmt ").U32(fmtSize);
        U16(uint32_t(tag)).U16(uint32_t(channels)).U32(uint32_t(hertz));
        U32(uint32_t(hertz * channels * bits / 8)).U16(uint32_t(channels * bits / 8));
        U16(uint32_t(bits));
        if (fmtSize > 16) Bytes(fmtSize - 16, 0);
        return *this;
    }
    WavFixture &Chunk(const char *tag, uint32_t size, size_t present, unsigned char value = 0x5a) {
        Tag(tag).U32(size);
        return Bytes(present, value);
    }
    WavFixture &Chunk(const char *tag, uint32_t size) { return Chunk(tag, size, size); }
    WavFixture &Truncate(size_t size) {
        bytes.resize(size);
        return *this;
    }
};

// A 16-bit PCM WAV of the given samples (interleaved when stereo).
inline std::vector<unsigned char> PcmWav16(const std::vector<int16_t> &samples, int channels,
                                           int hertz) {
    WavFixture w;
    w.Header(1, channels, hertz, 16);
    w.Tag("data").U32(uint32_t(samples.size() * 2));
    for (int16_t s : samples) w.U16(uint16_t(s));
    return w.bytes;
}
