// BBGlfwGame::LoadImageData: decodes an image file opened through the
// host's file service, at the file's own number of components.
#include <cstdio>

#include <stb_image.h>

#include "host/host.h"
#include "runtime/runtime.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

// Ask the decoder for the file's own component count (1 to 4).
constexpr int kOwnComponents = 0;

}  // namespace

// ---------------------------------------------------------------------------
// LoadImageData
// ---------------------------------------------------------------------------

unsigned char *BBGlfwGame::LoadImageData(String path, int *width, int *height, int *depth) {
    FILE *file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    unsigned char *pixels = stbi_load_from_file(file, width, height, depth, kOwnComponents);
    std::fclose(file);
    // Decoding allocates a lot and images replace older ones: make the next
    // collection a full one.
    gc_force_sweep = true;
    return pixels;
}
