// gxtkSurface and the device operations that make surfaces: texture
// creation with premultiplied alpha, the power-of-two fallback for drivers
// that refuse other sizes, loading from image files and blank surfaces.
#include "graphics/device.h"

#include <GL/gl.h>

#include <cstddef>
#include <cstdlib>

#include "host/host.h"

// ---------------------------------------------------------------------------
// Constants and helpers
// ---------------------------------------------------------------------------

namespace {

// Stale errors drained before an allocation, at most (a lost context can
// report errors forever).
constexpr int kMaxStaleErrors = 16;

// Depth 4 of CreateSurface: RGBA.
constexpr int kRgbaDepth = 4;

// Smallest power of two not below n; 1 for n <= 1.
int PowerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

// OpenGL format by bytes per pixel; 0 for an unknown depth.
GLenum FormatForDepth(int depth) {
    switch (depth) {
        case 1:
            return GL_LUMINANCE;
        case 2:
            return GL_LUMINANCE_ALPHA;
        case 3:
            return GL_RGB;
        case 4:
            return GL_RGBA;
        default:
            return 0;
    }
}

// Multiplies the colour bytes of each pixel by its alpha (integer, rounding
// down). Grey and RGB data carry no alpha and stay as they are.
void PremultiplyInPlace(unsigned char *data, std::size_t pixels, int depth) {
    if (depth == 2) {
        for (std::size_t i = 0; i < pixels; ++i) {
            unsigned char *p = data + i * 2;
            p[0] = static_cast<unsigned char>(p[0] * p[1] / 255);
        }
    } else if (depth == 4) {
        for (std::size_t i = 0; i < pixels; ++i) {
            unsigned char *p = data + i * 4;
            p[0] = static_cast<unsigned char>(p[0] * p[3] / 255);
            p[1] = static_cast<unsigned char>(p[1] * p[3] / 255);
            p[2] = static_cast<unsigned char>(p[2] * p[3] / 255);
        }
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// gxtkSurface
// ---------------------------------------------------------------------------

gxtkSurface::TextureAllocator gxtkSurface::allocateTexture = gxtkSurface::DefaultAllocateTexture;

bool gxtkSurface::DefaultAllocateTexture(unsigned int format, int w, int h) {
    for (int i = 0; i < kMaxStaleErrors && glGetError() != GL_NO_ERROR; ++i) {
    }
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), w, h, 0, format, GL_UNSIGNED_BYTE,
                 nullptr);
    return glGetError() == GL_NO_ERROR;
}

gxtkSurface::gxtkSurface() {}

gxtkSurface::gxtkSurface(unsigned char *pixels, int w, int h, int bytesPerPixel)
    : data(pixels), width(w), height(h), depth(bytesPerPixel) {}

gxtkSurface::~gxtkSurface() {
    Discard();
}

void gxtkSurface::SetData(unsigned char *pixels, int w, int h, int bytesPerPixel) {
    if (data && data != pixels) std::free(data);
    data = pixels;
    width = w;
    height = h;
    depth = bytesPerPixel;
}

int gxtkSurface::Discard() {
    if (texture != 0) {
        GLuint name = texture;
        glDeleteTextures(1, &name);
        texture = 0;
    }
    if (data) {
        std::free(data);
        data = nullptr;
    }
    return 0;
}

int gxtkSurface::Width() {
    return width;
}
int gxtkSurface::Height() {
    return height;
}
bool gxtkSurface::Loaded() {
    return true;
}

bool gxtkSurface::OnUnsafeLoadComplete() {
    GLenum format = FormatForDepth(depth);
    if (format == 0) std::exit(-1);
    if (width <= 0 || height <= 0) {
        std::free(data);
        data = nullptr;
        return false;
    }
    if (data) {
        PremultiplyInPlace(data, static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                           depth);
    }

    GLuint name = 0;
    glGenTextures(1, &name);
    texture = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    int texWidth = width;
    int texHeight = height;
    if (!allocateTexture(format, texWidth, texHeight)) {
        texWidth = PowerOfTwoAtLeast(width);
        texHeight = PowerOfTwoAtLeast(height);
        if (!allocateTexture(format, texWidth, texHeight)) {
            // Nothing to draw from: release the name now rather than at Discard.
            glDeleteTextures(1, &name);
            texture = 0;
            std::free(data);
            data = nullptr;
            return false;
        }
    }

    if (data) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, data);
    }
    uScale = 1.0f / static_cast<float>(texWidth);
    vScale = 1.0f / static_cast<float>(texHeight);

    std::free(data);
    data = nullptr;
    return true;
}

// ---------------------------------------------------------------------------
// Making surfaces (gxtkGraphics)
// ---------------------------------------------------------------------------

gxtkSurface *gxtkGraphics::LoadSurface(String path) {
    gxtkSurface *surface = new gxtkSurface();
    if (!LoadSurface__UNSAFE__(surface, path)) return nullptr;
    if (!surface->OnUnsafeLoadComplete()) return nullptr;
    return surface;
}

gxtkSurface *gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface *surface, String path) {
    BBGlfwGame *host = BBGlfwGame::GlfwGame();
    if (!host || !surface) return nullptr;
    int w = 0, h = 0, bytesPerPixel = 0;
    unsigned char *pixels = host->LoadImageData(path, &w, &h, &bytesPerPixel);
    if (!pixels) return nullptr;
    surface->SetData(pixels, w, h, bytesPerPixel);
    return surface;
}

gxtkSurface *gxtkGraphics::CreateSurface(int w, int h) {
    gxtkSurface *surface = new gxtkSurface(nullptr, w, h, kRgbaDepth);
    if (!surface->OnUnsafeLoadComplete()) return nullptr;
    return surface;
}
