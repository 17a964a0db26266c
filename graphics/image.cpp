// Images and frames: loading a file into a one-row strip of frames, image
// flags (padding, centred handle, whole-surface), grabbing sub-images from a
// sheet with row wrapping, and the current font.
#include "graphics/graphics.h"
#include "host/files.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

int c_Image::m_DefaultFlags = 0;

namespace {

// The default font: 96 frames in one row, padded left and right, starting
// at the space character.
constexpr const char *kDefaultFontFile = "zuno_font.png";
constexpr int kDefaultFontFrames = 96;
constexpr int kDefaultFontFirstChar = 32;

}  // namespace

// ---------------------------------------------------------------------------
// c_Frame
// ---------------------------------------------------------------------------

c_Frame::c_Frame() {}

c_Frame *c_Frame::m_new(int fx, int fy) {
    x = fx;
    y = fy;
    return this;
}

c_Frame *c_Frame::m_new2() {
    return this;
}

// ---------------------------------------------------------------------------
// c_Image
// ---------------------------------------------------------------------------

c_Image::c_Image() {}

c_Image *c_Image::m_new() {
    return this;
}

void c_Image::mark() {
    gc_mark_q(surface);
    gc_mark_q(frames);
    gc_mark_q(source);
}

int c_Image::p_SetHandle(float x, float y) {
    handleX = x;
    handleY = y;
    flags &= ~CenterHandle;
    return 0;
}

int c_Image::p_ApplyFlags(int newFlags) {
    // WholeSurface describes the frames and is worked out here, whatever the
    // caller passed.
    flags = newFlags & ~WholeSurface;
    int count = frames.Length();
    if (flags & PadX) {
        for (int i = 0; i < count; ++i) frames[i]->x += 1;
        width -= 2;
    }
    if (flags & PadY) {
        for (int i = 0; i < count; ++i) frames[i]->y += 1;
        height -= 2;
    }
    if (flags & CenterHandle) {
        p_SetHandle(static_cast<float>(width) * 0.5f, static_cast<float>(height) * 0.5f);
    }
    if (count == 1 && frames[0]->x == 0 && frames[0]->y == 0 && surface &&
        width == surface->Width() && height == surface->Height()) {
        flags |= WholeSurface;
    }
    return 0;
}

c_Image *c_Image::p_Init(gxtkSurface *newSurface, int frameCount, int newFlags) {
    // A strip has at least one frame; a count below that reads as one.
    if (frameCount < 1) frameCount = 1;
    gc_assign(surface, newSurface);
    width = surface->Width() / frameCount;
    height = surface->Height();
    gc_assign(frames, Array<c_Frame *>(frameCount));
    for (int i = 0; i < frameCount; ++i) frames[i] = (new c_Frame())->m_new(i * width, 0);
    p_ApplyFlags(newFlags);
    return this;
}

c_Image *c_Image::p_Grab(int x, int y, int frameWidth, int frameHeight, int frameCount,
                         int newFlags, c_Image *sheet) {
    gc_assign(source, sheet);
    gc_assign(surface, sheet->surface);
    width = frameWidth;
    height = frameHeight;
    if (frameCount < 0) frameCount = 0;
    gc_assign(frames, Array<c_Frame *>(frameCount));

    c_Frame *origin = sheet->frames[0];
    int cx = x;
    int cy = y;
    for (int i = 0; i < frameCount; ++i) {
        if (cx + frameWidth > sheet->width) {
            if (frameWidth > sheet->width) Error(String("Image frame outside surface"));
            cx = 0;
            cy += frameHeight;
        }
        if (cy + frameHeight > sheet->height) Error(String("Image frame outside surface"));
        frames[i] = (new c_Frame())->m_new(cx + origin->x, cy + origin->y);
        cx += frameWidth;
    }
    p_ApplyFlags(newFlags);
    return this;
}

c_Image *c_Image::p_GrabImage(int x, int y, int frameWidth, int frameHeight, int frameCount,
                              int newFlags) {
    if (frames.Length() != 1) return nullptr;
    return (new c_Image())
        ->m_new()
        ->p_Grab(x, y, frameWidth, frameHeight, frameCount, newFlags, this);
}

// ---------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------

c_Image *bb_graphics_LoadImage(String path, int frameCount, int flags) {
    if (!bb_graphics_device) return nullptr;
    gxtkSurface *surface = bb_graphics_device->LoadSurface(bb_data_FixDataPath(path));
    if (!surface) return nullptr;
    return (new c_Image())->m_new()->p_Init(surface, frameCount, flags);
}

c_Image *bb_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount,
                                int flags) {
    c_Image *sheet = bb_graphics_LoadImage(path, 1, 0);
    if (!sheet) return nullptr;
    return sheet->p_GrabImage(0, 0, frameWidth, frameHeight, frameCount, flags);
}

// ---------------------------------------------------------------------------
// Font
// ---------------------------------------------------------------------------

int bb_graphics_SetFont(c_Image *font, int firstChar) {
    c_GraphicsContext *ctx = bb_graphics_context;
    if (!font) {
        if (!ctx->defaultFont) {
            gc_assign(ctx->defaultFont, bb_graphics_LoadImage(String(kDefaultFontFile),
                                                              kDefaultFontFrames, c_Image::PadX));
        }
        font = ctx->defaultFont;
        firstChar = kDefaultFontFirstChar;
        if (!font) {
            gc_assign(ctx->font, static_cast<c_Image *>(nullptr));
            ctx->firstChar = kDefaultFontFirstChar;
            return 0;
        }
    }
    gc_assign(ctx->font, font);
    ctx->firstChar = firstChar;
    return 0;
}
