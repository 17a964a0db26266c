// Pixel transfer between the window or a texture and arrays of 0xAARRGGBB
// ints: ReadPixels copies the window out, WritePixels2 copies an array into
// a surface's texture, premultiplying on the way.
#include "graphics/device.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

// ---------------------------------------------------------------------------
// Helpers
// ---------------------------------------------------------------------------

namespace {

constexpr int kBytesPerPixel = 4;

// True when every element offset + i * pitch + j (i < height, j < width) of
// an array of the given length exists. Callers are expected to size the
// array; a wrong size is refused instead of reading or writing past its end.
bool SpanFits(int length, int offset, int pitch, int width, int height) {
    if (width <= 0 || height <= 0 || offset < 0 || pitch < 0) return false;
    std::int64_t end =
        static_cast<std::int64_t>(offset) + static_cast<std::int64_t>(height - 1) * pitch + width;
    return end <= length;
}

// A * v / 255 rounded down, for one colour byte.
std::uint32_t Premultiply(std::uint32_t v, std::uint32_t alpha) {
    return v * alpha / 255u;
}

}  // namespace

// ---------------------------------------------------------------------------
// ReadPixels
// ---------------------------------------------------------------------------

int gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    Flush();
    if (!SpanFits(pixels.Length(), offset, pitch, w, h)) return 0;

    std::size_t rowBytes = static_cast<std::size_t>(w) * kBytesPerPixel;
    unsigned char *buffer = static_cast<unsigned char *>(std::malloc(rowBytes * h));
    if (!buffer) return 0;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, Height() - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, buffer);

    // OpenGL returns the bottom row first; the array gets the top row first.
    for (int i = 0; i < h; ++i) {
        const unsigned char *src = buffer + static_cast<std::size_t>(h - 1 - i) * rowBytes;
        std::memcpy(&pixels[offset + i * pitch], src, rowBytes);
    }
    std::free(buffer);
    return 0;
}

// ---------------------------------------------------------------------------
// WritePixels2
// ---------------------------------------------------------------------------

int gxtkGraphics::WritePixels2(gxtkSurface *surface, Array<int> pixels, int x, int y, int w, int h,
                               int offset, int pitch) {
    Flush();
    if (!surface || !SpanFits(pixels.Length(), offset, pitch, w, h)) return 0;

    std::uint32_t *buffer =
        static_cast<std::uint32_t *>(std::malloc(static_cast<std::size_t>(w) * h * kBytesPerPixel));
    if (!buffer) return 0;
    for (int i = 0; i < h; ++i) {
        for (int j = 0; j < w; ++j) {
            std::uint32_t p = static_cast<std::uint32_t>(pixels[offset + i * pitch + j]);
            std::uint32_t alpha = p >> 24;
            std::uint32_t r = Premultiply((p >> 16) & 0xffu, alpha);
            std::uint32_t g = Premultiply((p >> 8) & 0xffu, alpha);
            std::uint32_t bl = Premultiply(p & 0xffu, alpha);
            buffer[static_cast<std::size_t>(i) * w + j] = alpha << 24 | r << 16 | g << 8 | bl;
        }
    }
    glBindTexture(GL_TEXTURE_2D, surface->texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_BGRA, GL_UNSIGNED_BYTE, buffer);
    std::free(buffer);
    return 0;
}
