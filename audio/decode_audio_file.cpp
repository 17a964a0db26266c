// Decoder choice: the sound file's extension, compared without regard to
// case, names its decoder.

#include <cctype>
#include <cstring>
#include <string>

#include "audio/audio_data.h"

namespace {

bool EndsWith(const std::string &text, const char *suffix) {
    size_t n = strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

}  // namespace

unsigned char *DecodeAudioFile(FILE *file, const char *path, DecodedAudio *out) {
    std::string lower(path);
    for (char &c : lower) c = char(tolower(static_cast<unsigned char>(c)));
    if (EndsWith(lower, ".wav")) return DecodeWav(file, out);
    if (EndsWith(lower, ".ogg")) return DecodeOgg(file, out);
    return nullptr;
}
