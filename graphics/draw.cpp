// The module's drawing functions: clearing, rectangles, lines, ellipses,
// images with handle, rotation and scale, and reading the window back. Each
// drawing call first hands a changed matrix to the device.
#include "graphics/graphics.h"
#include "graphics/render_step.h"

// ---------------------------------------------------------------------------
// Helpers
// ---------------------------------------------------------------------------

namespace {

// The frame to draw; a frame index outside the image is a caller's mistake
// and ends with a message instead of reading past the frame array.
c_Frame *FrameOf(c_Image *image, int frame) {
    if (frame < 0 || frame >= image->frames.Length()) Error(String("Invalid image frame"));
    return image->frames[frame];
}

// Draws one frame with its top-left corner at (x, y) in current coordinates.
void DrawFrame(gxtkGraphics *device, c_Image *image, c_Frame *f, float x, float y) {
    if (image->flags & c_Image::WholeSurface) {
        device->DrawSurface(image->surface, x, y);
    } else {
        device->DrawSurface2(image->surface, x, y, f->x, f->y, image->width, image->height);
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------

int bb_graphics_Cls(float r, float g, float b) {
    graphics_RenderDevice()->Cls(r, g, b);
    return 0;
}

int bb_graphics_DrawRect(float x, float y, float width, float height) {
    gxtkGraphics *device = graphics_RenderDevice();
    bb_graphics_context->p_Validate();
    device->DrawRect(x, y, width, height);
    return 0;
}

int bb_graphics_DrawLine(float x1, float y1, float x2, float y2) {
    gxtkGraphics *device = graphics_RenderDevice();
    bb_graphics_context->p_Validate();
    device->DrawLine(x1, y1, x2, y2);
    return 0;
}

int bb_graphics_DrawEllipse(float x, float y, float xRadius, float yRadius) {
    gxtkGraphics *device = graphics_RenderDevice();
    bb_graphics_context->p_Validate();
    device->DrawOval(x - xRadius, y - yRadius, xRadius * 2.0f, yRadius * 2.0f);
    return 0;
}

int bb_graphics_DrawImage(c_Image *image, float x, float y, int frame) {
    gxtkGraphics *device = graphics_RenderDevice();
    if (!image) return 0;
    c_Frame *f = FrameOf(image, frame);
    bb_graphics_context->p_Validate();
    DrawFrame(device, image, f, x - image->handleX, y - image->handleY);
    return 0;
}

int bb_graphics_DrawImage2(c_Image *image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame) {
    gxtkGraphics *device = graphics_RenderDevice();
    if (!image) return 0;
    c_Frame *f = FrameOf(image, frame);
    bb_graphics_PushMatrix();
    bb_graphics_Translate(x, y);
    bb_graphics_Rotate(rotation);
    bb_graphics_Scale(scaleX, scaleY);
    bb_graphics_Translate(-image->handleX, -image->handleY);
    bb_graphics_context->p_Validate();
    DrawFrame(device, image, f, 0.0f, 0.0f);
    bb_graphics_PopMatrix();
    return 0;
}

int bb_graphics_ReadPixels(Array<int> pixels, int x, int y, int width, int height, int offset,
                           int pitch) {
    if (pitch == 0) pitch = width;
    graphics_RenderDevice()->ReadPixels(pixels, x, y, width, height, offset, pitch);
    return 0;
}
