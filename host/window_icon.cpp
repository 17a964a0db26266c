// The window icon: each icon file is decoded through the image loader's
// checked decoder, widened to the 8-bit RGBA GLFW takes, and all sizes are
// handed over in one call so the window manager can pick the best fit.
#include "host/window_icon.h"

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "graphics/image_decode.h"

namespace {

constexpr int kRgba = 4;

struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;
};

// Pixels of 1 (grey), 2 (grey, alpha), 3 (RGB) or 4 (RGBA) components as
// RGBA; a missing alpha is opaque.
void WidenToRgba(const unsigned char *pixels, int count, int depth,
                 std::vector<unsigned char> *out) {
    out->resize(static_cast<std::size_t>(count) * kRgba);
    for (int i = 0; i < count; ++i) {
        const unsigned char *p = pixels + static_cast<std::size_t>(i) * depth;
        unsigned char *q = out->data() + static_cast<std::size_t>(i) * kRgba;
        bool grey = depth <= 2;
        q[0] = p[0];
        q[1] = grey ? p[0] : p[1];
        q[2] = grey ? p[0] : p[2];
        q[3] = depth == 2 ? p[1] : depth == 4 ? p[3] : 255;
    }
}

}  // namespace

bool LoadWindowIcon(const char *path, int *width, int *height, std::vector<unsigned char> *rgba) {
    FILE *file = std::fopen(path, "rb");
    if (!file) return false;
    int w = 0, h = 0, depth = 0;
    unsigned char *pixels = graphics_DecodeImageFile(file, &w, &h, &depth);
    std::fclose(file);
    if (!pixels) return false;
    bool ok = w > 0 && h > 0 && depth >= 1 && depth <= kRgba;
    if (ok) {
        *width = w;
        *height = h;
        WidenToRgba(pixels, w * h, depth, rgba);
    }
    std::free(pixels);
    return ok;
}

int SetGameWindowIcon(GLFWwindow *window) {
    if (!window) return 0;
    std::vector<IconPixels> icons;
    for (int size : kWindowIconSizes) {
        char path[64];
        std::snprintf(path, sizeof path, kWindowIconPathFormat, size);
        IconPixels icon;
        if (LoadWindowIcon(path, &icon.width, &icon.height, &icon.rgba)) {
            icons.push_back(std::move(icon));
        }
    }
    if (icons.empty()) return 0;
    std::vector<GLFWimage> images;
    for (IconPixels &icon : icons) {
        images.push_back(GLFWimage{icon.width, icon.height, icon.rgba.data()});
    }
    glfwSetWindowIcon(window, static_cast<int>(images.size()), images.data());
    return static_cast<int>(images.size());
}
