// The host's sound loader: opens the file through the host's path mapping
// and decodes it by its extension.

#include <string>

#include "audio/audio_data.h"
#include "host/host.h"

namespace {

// The path's characters as 8-bit text, for the extension test only: anything
// outside ASCII becomes '?', which no extension contains.
std::string AsciiPath(const String &path) {
    std::string text;
    text.reserve(size_t(path.Length()));
    for (int i = 0; i < path.Length(); ++i) {
        char16_t c = path.Data()[i];
        text.push_back(c < 128 ? char(c) : '?');
    }
    return text;
}

}  // namespace

unsigned char *BBGlfwGame::LoadAudioData(String path, int *length, int *channels, int *format,
                                         int *hertz) {
    FILE *file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    DecodedAudio audio;
    unsigned char *data = DecodeAudioFile(file, AsciiPath(path).c_str(), &audio);
    fclose(file);
    gc_force_sweep = true;
    if (data) {
        *length = audio.length;
        *channels = audio.channels;
        *format = audio.format;
        *hertz = audio.hertz;
    }
    return data;
}
