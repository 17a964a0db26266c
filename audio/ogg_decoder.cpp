// Ogg Vorbis decoding: checks the stream's headers, then decodes it frame by
// frame with stb_vorbis into one growing buffer of interleaved signed 16-bit
// samples.

#include <cstdlib>

#include "audio/audio_data.h"
#include "audio/vorbis_memory.h"

#define STB_VORBIS_HEADER_ONLY
#include "stb_vorbis.h"

namespace {

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

// The buffer keeps room for this many frames per channel; when less is left
// after a frame, it doubles.
constexpr int kFramesOfRoom = 4096;

}  // namespace

// ---------------------------------------------------------------------------
// Decoder
// ---------------------------------------------------------------------------

unsigned char *DecodeOgg(FILE *file, DecodedAudio *out) {
    long start = ftell(file);
    if (start < 0 || !CheckOggHeaders(file) || fseek(file, start, SEEK_SET) != 0) return nullptr;

    int error = 0;
    stb_vorbis *vorbis = stb_vorbis_open_file(file, 0, &error, nullptr);
    if (!vorbis) {
        tesselon_vorbis_release_all();  // what a failed open left behind
        return nullptr;
    }
    stb_vorbis_info info = stb_vorbis_get_info(vorbis);
    int channels = info.channels;

    long capacity = long(channels) * kFramesOfRoom;  // in 16-bit values
    short *samples = static_cast<short *>(malloc(size_t(capacity) * sizeof(short)));
    long frames = 0;
    while (samples) {
        long used = frames * channels;
        int got = stb_vorbis_get_frame_short_interleaved(vorbis, channels, samples + used,
                                                         int(capacity - used));
        if (got <= 0) break;
        frames += got;
        if (capacity - frames * channels < long(channels) * kFramesOfRoom) {
            capacity *= 2;
            if (capacity * long(sizeof(short)) > kMaxDecodedAudioBytes) {
                free(samples);
                samples = nullptr;
                break;
            }
            short *grown = static_cast<short *>(realloc(samples, size_t(capacity) * sizeof(short)));
            if (!grown) free(samples);
            samples = grown;
        }
    }
    stb_vorbis_close(vorbis);
    tesselon_vorbis_release_all();
    if (!samples) return nullptr;

    out->length = int(frames);
    out->channels = channels;
    out->format = 2;
    out->hertz = int(info.sample_rate);
    return reinterpret_cast<unsigned char *>(samples);
}
