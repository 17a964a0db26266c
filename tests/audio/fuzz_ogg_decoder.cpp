// libFuzzer target: the Ogg Vorbis decoder (header checks, then stb_vorbis)
// on an in-memory stream, for a higher execution rate than the file-based
// loader target.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/audio_data.h"

// Reads of the decoded bytes land here, so they cannot be optimised away.
volatile unsigned char sink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "rb");
    if (!file) return 0;
    DecodedAudio out;
    unsigned char *samples = DecodeOgg(file, &out);
    if (samples) {
        long bytes = long(out.length) * out.channels * out.format;
        for (long i = 0; i < bytes; ++i) sink ^= samples[i];
        free(samples);
    }
    fclose(file);
    return 0;
}
