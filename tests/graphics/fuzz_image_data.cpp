// libFuzzer target: BBGlfwGame::LoadImageData on arbitrary file contents.
// Each input is written to a scratch file and loaded through the host's
// file service, exactly as the game loads its artwork. A decoded image
// must have a sane size and depth and its whole buffer must be readable.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/host.h"
#include "runtime/runtime.h"

namespace {

// Largest side the decoder lets through.
constexpr int kMaxSide = 8192;

const std::string &ScratchPath() {
    static std::string path = [] {
        char tmpl[] = "/tmp/tesselon-fuzz-image-XXXXXX";
        int fd = mkstemp(tmpl);
        if (fd < 0) std::abort();
        close(fd);
        return std::string(tmpl);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static BBGlfwGame *host = new BBGlfwGame(nullptr);
    const std::string &path = ScratchPath();

    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);

    int width = -1, height = -1, depth = -1;
    unsigned char *pixels = host->LoadImageData(String(path.c_str()), &width, &height, &depth);
    if (pixels) {
        if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || depth < 1 ||
            depth > 4) {
            std::abort();
        }
        std::size_t bytes = std::size_t(width) * std::size_t(height) * std::size_t(depth);
        volatile unsigned char last = pixels[bytes - 1];
        (void)last;
        std::free(pixels);
    }
    // libFuzzer ends without running exit handlers: leave no file behind.
    std::remove(path.c_str());
    gc_force_sweep = false;
    return 0;
}
