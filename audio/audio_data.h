// Sound file decoding: WAV (PCM) and Ogg Vorbis streams to interleaved
// sample data, the work behind BBGlfwGame::LoadAudioData.
//
// Every decoder reads an already open stream from its start and returns a
// malloc'd buffer the caller frees, or null for anything it cannot decode.
#pragma once

#include <cstdio>

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

// Largest decoded sound accepted, in bytes: larger results would overflow
// the buffer size handed to OpenAL.
constexpr long kMaxDecodedAudioBytes = 256L * 1024 * 1024;

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

struct DecodedAudio {
    int length = 0;    // sample frames
    int channels = 0;  // 1 or 2 for playable data
    int format = 0;    // bytes per sample value: 1 unsigned 8-bit, 2 signed 16-bit
    int hertz = 0;
};

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------

// PCM WAV: a RIFF/WAVE file with its "fmt " chunk first.
unsigned char *DecodeWav(FILE *file, DecodedAudio *out);

// Ogg Vorbis, decoded to signed 16-bit samples. The identification and
// comment headers are checked before the stream reaches the decoder.
unsigned char *DecodeOgg(FILE *file, DecodedAudio *out);

// True when the stream's first two Ogg packets are well-formed Vorbis
// identification and comment headers whose lengths and counts fit their
// packets. Leaves the stream position unspecified.
bool CheckOggHeaders(FILE *file);

// Picks the decoder by the path's extension (".wav" or ".ogg", any case);
// null for any other extension.
unsigned char *DecodeAudioFile(FILE *file, const char *path, DecodedAudio *out);
