// The graphics context and the module's frame, state and matrix functions:
// the module globals, the per-frame reset, colour/alpha/blend/scissor
// forwarding and the matrix stack with its lazy hand-over to the device.
#include <cmath>

#include "graphics/graphics.h"
#include "graphics/render_step.h"

// ---------------------------------------------------------------------------
// Module globals
// ---------------------------------------------------------------------------

gxtkGraphics *bb_graphics_device = nullptr;
c_GraphicsContext *bb_graphics_context = nullptr;
gxtkGraphics *bb_graphics_renderDevice = nullptr;

// ---------------------------------------------------------------------------
// Constants and helpers
// ---------------------------------------------------------------------------

namespace {

// Degrees to radians, as a float.
constexpr float kD2R = 0.017453292f;

// Message for state and drawing calls outside the render step.
constexpr const char *kOutsideRenderStep =
    "Rendering operations can only be performed inside OnRender";

// Floats per saved matrix.
constexpr int kMatrixFloats = 6;

bool IsIdentity(float a, float b, float c, float d, float tx, float ty) {
    return a == 1.0f && b == 0.0f && c == 0.0f && d == 1.0f && tx == 0.0f && ty == 0.0f;
}

// Float to int truncating toward zero, saturating instead of overflowing.
int TruncToInt(float v) {
    if (!(v == v)) return 0;
    if (v >= 2147483520.0f) return 2147483647;
    if (v <= -2147483648.0f) return -2147483647 - 1;
    return static_cast<int>(v);
}

}  // namespace

gxtkGraphics *graphics_RenderDevice() {
    if (!bb_graphics_renderDevice) Error(String(kOutsideRenderStep));
    return bb_graphics_renderDevice;
}

// ---------------------------------------------------------------------------
// c_GraphicsContext
// ---------------------------------------------------------------------------

c_GraphicsContext::c_GraphicsContext() : matrixStack(kGraphicsMatrixStackFloats) {}

c_GraphicsContext *c_GraphicsContext::m_new() {
    return this;
}

void c_GraphicsContext::mark() {
    gc_mark_q(defaultFont);
    gc_mark_q(font);
    gc_mark_q(matrixStack);
}

int c_GraphicsContext::p_Validate() {
    if (matrixDirty == 1) {
        graphics_RenderDevice()->SetMatrix(a, b, c, d, tx, ty);
        matrixDirty = 0;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Frame step
// ---------------------------------------------------------------------------

int bb_graphics_SetGraphicsDevice(gxtkGraphics *device) {
    gc_assign(bb_graphics_device, device);
    return 0;
}

int bb_graphics_BeginRender() {
    gc_assign(bb_graphics_renderDevice, bb_graphics_device);
    c_GraphicsContext *ctx = bb_graphics_context;
    gxtkGraphics *device = graphics_RenderDevice();

    ctx->matrixDepth = 0;
    ctx->a = 1.0f;
    ctx->b = 0.0f;
    ctx->c = 0.0f;
    ctx->d = 1.0f;
    ctx->tx = 0.0f;
    ctx->ty = 0.0f;
    ctx->transformed = 0;
    ctx->matrixDirty = 1;

    ctx->red = ctx->green = ctx->blue = 255.0f;
    device->SetColor(255.0f, 255.0f, 255.0f);
    ctx->alpha = 1.0f;
    device->SetAlpha(1.0f);
    ctx->blend = bb_graphics_AlphaBlend;
    device->SetBlend(bb_graphics_AlphaBlend);

    int width = device->Width();
    int height = device->Height();
    ctx->scissorX = 0.0f;
    ctx->scissorY = 0.0f;
    ctx->scissorWidth = static_cast<float>(width);
    ctx->scissorHeight = static_cast<float>(height);
    device->SetScissor(0, 0, width, height);
    return 0;
}

int bb_graphics_EndRender() {
    gc_assign(bb_graphics_renderDevice, static_cast<gxtkGraphics *>(nullptr));
    return 0;
}

// ---------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------

int bb_graphics_SetColor(float r, float g, float b) {
    c_GraphicsContext *ctx = bb_graphics_context;
    ctx->red = r;
    ctx->green = g;
    ctx->blue = b;
    graphics_RenderDevice()->SetColor(r, g, b);
    return 0;
}

int bb_graphics_SetAlpha(float alpha) {
    bb_graphics_context->alpha = alpha;
    graphics_RenderDevice()->SetAlpha(alpha);
    return 0;
}

int bb_graphics_SetBlend(int blend) {
    bb_graphics_context->blend = blend;
    graphics_RenderDevice()->SetBlend(blend);
    return 0;
}

int bb_graphics_SetScissor(float x, float y, float width, float height) {
    c_GraphicsContext *ctx = bb_graphics_context;
    ctx->scissorX = x;
    ctx->scissorY = y;
    ctx->scissorWidth = width;
    ctx->scissorHeight = height;
    graphics_RenderDevice()->SetScissor(TruncToInt(x), TruncToInt(y), TruncToInt(width),
                                        TruncToInt(height));
    return 0;
}

int bb_graphics_DeviceWidth() {
    return bb_graphics_device ? bb_graphics_device->Width() : 0;
}

int bb_graphics_DeviceHeight() {
    return bb_graphics_device ? bb_graphics_device->Height() : 0;
}

// ---------------------------------------------------------------------------
// Matrix
// ---------------------------------------------------------------------------

int bb_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    c_GraphicsContext *ctx = bb_graphics_context;
    ctx->a = a;
    ctx->b = b;
    ctx->c = c;
    ctx->d = d;
    ctx->tx = tx;
    ctx->ty = ty;
    ctx->transformed = IsIdentity(a, b, c, d, tx, ty) ? 0 : 1;
    ctx->matrixDirty = 1;
    return 0;
}

int bb_graphics_SetMatrix2(Array<float> m) {
    return bb_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int bb_graphics_Transform(float ia, float ib, float ic, float id, float itx, float ity) {
    c_GraphicsContext *ctx = bb_graphics_context;
    float a = ia * ctx->a + ib * ctx->c;
    float b = ia * ctx->b + ib * ctx->d;
    float c = ic * ctx->a + id * ctx->c;
    float d = ic * ctx->b + id * ctx->d;
    float tx = itx * ctx->a + ity * ctx->c + ctx->tx;
    float ty = itx * ctx->b + ity * ctx->d + ctx->ty;
    return bb_graphics_SetMatrix(a, b, c, d, tx, ty);
}

int bb_graphics_Transform2(Array<float> m) {
    return bb_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int bb_graphics_Translate(float x, float y) {
    return bb_graphics_Transform(1.0f, 0.0f, 0.0f, 1.0f, x, y);
}

int bb_graphics_Rotate(float degrees) {
    double angle = static_cast<double>(degrees * kD2R);
    float s = static_cast<float>(std::sin(angle));
    float c = static_cast<float>(std::cos(angle));
    return bb_graphics_Transform(c, -s, s, c, 0.0f, 0.0f);
}

int bb_graphics_Scale(float x, float y) {
    return bb_graphics_Transform(x, 0.0f, 0.0f, y, 0.0f, 0.0f);
}

int bb_graphics_PushMatrix() {
    c_GraphicsContext *ctx = bb_graphics_context;
    int sp = ctx->matrixDepth;
    if (sp < 0 || sp + kMatrixFloats > ctx->matrixStack.Length()) {
        Error(String("Matrix stack overflow"));
    }
    Array<float> &stack = ctx->matrixStack;
    stack[sp + 0] = ctx->a;
    stack[sp + 1] = ctx->b;
    stack[sp + 2] = ctx->c;
    stack[sp + 3] = ctx->d;
    stack[sp + 4] = ctx->tx;
    stack[sp + 5] = ctx->ty;
    ctx->matrixDepth = sp + kMatrixFloats;
    return 0;
}

int bb_graphics_PopMatrix() {
    c_GraphicsContext *ctx = bb_graphics_context;
    int sp = ctx->matrixDepth - kMatrixFloats;
    if (sp < 0 || sp + kMatrixFloats > ctx->matrixStack.Length()) {
        Error(String("Matrix stack underflow"));
    }
    ctx->matrixDepth = sp;
    Array<float> &stack = ctx->matrixStack;
    return bb_graphics_SetMatrix(stack[sp + 0], stack[sp + 1], stack[sp + 2], stack[sp + 3],
                                 stack[sp + 4], stack[sp + 5]);
}
