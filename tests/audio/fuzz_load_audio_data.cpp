// libFuzzer target: the host's sound loader on arbitrary file contents. The
// first byte picks the extension (WAV or Ogg); the rest is the file, written
// to a scratch file and loaded through BBGlfwGame::LoadAudioData.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/host.h"

namespace {

std::string ScratchPath(const char *extension) {
    static const std::string base = [] {
        const char *dir = getenv("TMPDIR");
        return std::string(dir ? dir : "/tmp") + "/tesselon-fuzz-" + std::to_string(getpid());
    }();
    return base + extension;
}

}  // namespace

// Reads of the decoded bytes land here, so they cannot be optimised away.
volatile unsigned char sink;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static BBGlfwGame *host = new BBGlfwGame();
    if (size < 1) return 0;
    std::string path = ScratchPath(data[0] & 1 ? ".ogg" : ".wav");
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) return 0;
    fwrite(data + 1, 1, size - 1, file);
    fclose(file);

    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char *samples =
        host->LoadAudioData(String(path.c_str()), &length, &channels, &format, &hertz);
    if (samples) {
        // Touch every byte the loader claims to have returned.
        long bytes = long(length) * channels * format;
        for (long i = 0; i < bytes; ++i) sink ^= samples[i];
        free(samples);
    }
    remove(path.c_str());
    return 0;
}
