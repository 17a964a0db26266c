// WAV decoding: reads a PCM RIFF/WAVE stream chunk by chunk and returns the
// bytes of its "data" chunk.
//
// The file is trusted for nothing: a chunk size larger than what remains of
// the file is refused before anything is allocated, and a format header with
// no channels or fewer than 8 bits per sample is refused before it is used
// as a divisor.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "audio/audio_data.h"

namespace {

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

constexpr int kFormatTagPcm = 1;
// Bytes of the PCM fmt chunk body: tag, channels, rate, byte rate, block
// align, bits per sample.
constexpr uint32_t kPcmFmtSize = 16;
constexpr int kMinBitsPerSample = 8;
// A failed read counts as this value, as if the bytes were all ones.
constexpr uint32_t kFailedRead = 0xffffffffu;

// ---------------------------------------------------------------------------
// Stream helpers
// ---------------------------------------------------------------------------

uint32_t Read16(FILE *file) {
    unsigned char b[2];
    if (fread(b, 1, 2, file) != 2) return kFailedRead;
    return uint32_t(b[0]) | uint32_t(b[1]) << 8;
}

uint32_t Read32(FILE *file) {
    unsigned char b[4];
    if (fread(b, 1, 4, file) != 4) return kFailedRead;
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

bool ReadTag(FILE *file, const char *expected) {
    char tag[4];
    return fread(tag, 1, 4, file) == 4 && memcmp(tag, expected, 4) == 0;
}

// Bytes between the stream position and the end of the file.
long Remaining(FILE *file) {
    long here = ftell(file);
    if (here < 0 || fseek(file, 0, SEEK_END) != 0) return 0;
    long end = ftell(file);
    fseek(file, here, SEEK_SET);
    return end > here ? end - here : 0;
}

// Skips size bytes; false when the file ends first (the stream is then left
// at its end).
bool Skip(FILE *file, uint32_t size) {
    if (long(size) > Remaining(file)) {
        fseek(file, 0, SEEK_END);
        return false;
    }
    return fseek(file, long(size), SEEK_CUR) == 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// Decoder
// ---------------------------------------------------------------------------

unsigned char *DecodeWav(FILE *file, DecodedAudio *out) {
    if (!ReadTag(file, "RIFF")) return nullptr;
    Read32(file);  // RIFF size: not needed
    if (!ReadTag(file, "WAVE") || !ReadTag(file, "fmt ")) return nullptr;

    uint32_t fmtSize = Read32(file);
    if (Read16(file) != kFormatTagPcm) return nullptr;
    uint32_t channels = Read16(file);
    uint32_t hertz = Read32(file);
    Read32(file);  // byte rate
    Read16(file);  // block align
    uint32_t bits = Read16(file);
    if (fmtSize == kFailedRead || channels == kFailedRead || hertz == kFailedRead ||
        bits == kFailedRead) {
        return nullptr;
    }
    if (fmtSize > kPcmFmtSize && !Skip(file, fmtSize - kPcmFmtSize)) return nullptr;
    if (channels == 0 || bits < kMinBitsPerSample) return nullptr;
    int format = int(bits / 8);

    for (;;) {
        char tag[4];
        size_t got = fread(tag, 1, 4, file);
        if (got != 4 || feof(file)) return nullptr;
        uint32_t size = Read32(file);
        if (size == kFailedRead && feof(file)) return nullptr;
        if (memcmp(tag, "data", 4) != 0) {
            if (!Skip(file, size)) return nullptr;
            continue;
        }
        // A data chunk that claims more than the file holds can never be
        // read whole; walking on from it would only reach the end.
        if (long(size) > Remaining(file) || long(size) > kMaxDecodedAudioBytes) return nullptr;
        unsigned char *data = static_cast<unsigned char *>(malloc(size ? size : 1));
        if (!data) return nullptr;
        if (fread(data, 1, size, file) != size) {
            free(data);
            return nullptr;
        }
        out->length = int(size / (channels * uint32_t(format)));
        out->channels = int(channels);
        out->format = format;
        out->hertz = int(hertz);
        return data;
    }
}
