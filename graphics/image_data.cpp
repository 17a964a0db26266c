// BBGlfwGame::LoadImageData: decodes an image file opened through the
// host's file service, at the file's own number of components.
#include <cstdio>

#include "graphics/image_decode.h"
#include "host/host.h"
#include "runtime/runtime.h"

// ---------------------------------------------------------------------------
// LoadImageData
// ---------------------------------------------------------------------------

unsigned char *BBGlfwGame::LoadImageData(String path, int *width, int *height, int *depth) {
    FILE *file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    unsigned char *pixels = graphics_DecodeImageFile(file, width, height, depth);
    std::fclose(file);
    // Decoding allocates a lot and a loaded image often replaces an older
    // one: make the next collection a full one.
    gc_force_sweep = true;
    return pixels;
}
