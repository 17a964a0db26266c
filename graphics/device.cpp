// gxtkGraphics: colour and matrix state, the batch, and the drawing calls.
//
// Every primitive is stored as vertices in the object's own storage, with
// the current colour baked in and the current matrix already applied; Flush
// hands the whole batch to OpenGL in one draw call through client arrays.
#include "graphics/device.h"

#include <GL/gl.h>
#include <GLFW/glfw3.h>

#include <cmath>
#include <cstddef>

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

// 2 pi as a float; ellipse angles are computed in single precision.
constexpr float kTwoPi = 6.2831855f;

// Ellipse segment counts: at least this many, at most one batch of vertices.
constexpr int kMinOvalSegments = 12;
constexpr int kMaxOvalSegments = kGxtkMaxVertices;

// Smallest polygon DrawPoly draws, in points.
constexpr int kMinPolyPoints = 3;

// Clamps a colour product to one byte, truncating toward zero; NaN gives 0.
std::uint32_t ColorByte(float v) {
    if (!(v > 0.0f)) return 0u;
    if (v >= 255.0f) return 255u;
    return static_cast<std::uint32_t>(v);
}

// The window the device draws into: the host's current context.
void ReadWindowSize(int *width, int *height) {
    GLFWwindow *window = glfwGetCurrentContext();
    if (window) glfwGetWindowSize(window, width, height);
}

}  // namespace

// ---------------------------------------------------------------------------
// Colour packing
// ---------------------------------------------------------------------------

std::uint32_t gxtkPackColor(float r, float g, float b, float alpha) {
    return ColorByte(r * alpha) | ColorByte(g * alpha) << 8 | ColorByte(b * alpha) << 16 |
           ColorByte(alpha * 255.0f) << 24;
}

// ---------------------------------------------------------------------------
// Construction and collector support
// ---------------------------------------------------------------------------

gxtkGraphics::gxtkGraphics() {
    ReadWindowSize(&width, &height);
    for (int q = 0; q < kGxtkMaxQuads; ++q) {
        std::uint16_t i = static_cast<std::uint16_t>(q * 4);
        std::uint16_t *e = &quadIndices[q * 6];
        e[0] = i;
        e[1] = static_cast<std::uint16_t>(i + 1);
        e[2] = static_cast<std::uint16_t>(i + 2);
        e[3] = i;
        e[4] = static_cast<std::uint16_t>(i + 2);
        e[5] = static_cast<std::uint16_t>(i + 3);
    }
}

void gxtkGraphics::mark() {
    // The batch's surface stays alive while the device may still compare
    // against it or draw from it.
    gc_mark_q(batchSurface);
}

// ---------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------

int gxtkGraphics::Width() {
    return width;
}
int gxtkGraphics::Height() {
    return height;
}

void gxtkGraphics::PackColor() {
    packedColor = gxtkPackColor(red, green, blue, alpha);
}

int gxtkGraphics::SetAlpha(float newAlpha) {
    alpha = newAlpha;
    PackColor();
    return 0;
}

int gxtkGraphics::SetColor(float r, float g, float bl) {
    red = r;
    green = g;
    blue = bl;
    PackColor();
    return 0;
}

int gxtkGraphics::SetMatrix(float ma, float mb, float mc, float md, float mtx, float mty) {
    a = ma;
    b = mb;
    c = mc;
    d = md;
    tx = mtx;
    ty = mty;
    transformed =
        !(ma == 1.0f && mb == 0.0f && mc == 0.0f && md == 1.0f && mtx == 0.0f && mty == 0.0f);
    return 0;
}

int gxtkGraphics::SetBlend(int blend) {
    Flush();
    if (blend == 1) {
        glBlendFunc(GL_ONE, GL_ONE);
    } else {
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
    return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    Flush();
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, Height() - y - h, w, h);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Frame
// ---------------------------------------------------------------------------

int gxtkGraphics::BeginRender() {
    ReadWindowSize(&width, &height);
    glViewport(0, 0, width, height);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const GLsizei stride = sizeof(gxtkVertex);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, stride, &vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, stride, &vertices[0].u);
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, &vertices[0].color);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);

    batchCount = 0;
    frameDrawCalls = 0;
    frameVertices = 0;
    return 1;
}

void gxtkGraphics::EndRender() {
    Flush();
    GLFWwindow *window = glfwGetCurrentContext();
    if (window) glfwSwapBuffers(window);
}

void gxtkGraphics::DiscardGraphics() {}

int gxtkGraphics::Cls(float r, float g, float bl) {
    batchCount = 0;
    glClearColor(r / 255.0f, g / 255.0f, bl / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return 0;
}

// ---------------------------------------------------------------------------
// The batch
// ---------------------------------------------------------------------------

void gxtkGraphics::Flush() {
    if (batchCount == 0) return;
    if (batchSurface) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, batchSurface->texture);
    }
    int sent = 0;
    switch (batchKind) {
        case kGxtkBatchPoints:
            sent = batchCount;
            glDrawArrays(GL_POINTS, 0, sent);
            break;
        case kGxtkBatchLines:
            sent = batchCount * 2;
            glDrawArrays(GL_LINES, 0, sent);
            break;
        case kGxtkBatchQuads:
            sent = batchCount * 4;
            glDrawElements(GL_TRIANGLES, batchCount * 6, GL_UNSIGNED_SHORT, quadIndices);
            break;
        case kGxtkBatchFan:
            sent = batchCount;
            glDrawArrays(GL_TRIANGLE_FAN, 0, sent);
            break;
        default:
            break;
    }
    if (batchSurface) glDisable(GL_TEXTURE_2D);
    frameDrawCalls += 1;
    frameVertices += sent;
    batchCount = 0;
}

gxtkVertex *gxtkGraphics::Reserve(int kind, int capacity, gxtkSurface *surface) {
    if (batchKind != kind || batchCount >= capacity || batchSurface != surface) {
        if (batchCount != 0) Flush();
        batchKind = kind;
        if (batchSurface != surface) gc_assign(batchSurface, surface);
    }
    gxtkVertex *first = &vertices[batchCount * kind];
    batchCount += 1;
    return first;
}

void gxtkGraphics::Store(gxtkVertex &v, float x, float y) {
    if (transformed) {
        v.x = a * x + c * y + tx;
        v.y = b * x + d * y + ty;
    } else {
        v.x = x;
        v.y = y;
    }
    v.color = packedColor;
}

void gxtkGraphics::StoreTextured(gxtkVertex &v, float x, float y, float u, float vv) {
    Store(v, x, y);
    v.u = u;
    v.v = vv;
}

// ---------------------------------------------------------------------------
// Batched primitives
// ---------------------------------------------------------------------------

int gxtkGraphics::DrawPoint(float x, float y) {
    gxtkVertex *v = Reserve(kGxtkBatchPoints, kGxtkMaxVertices, nullptr);
    Store(v[0], x, y);
    return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    gxtkVertex *v = Reserve(kGxtkBatchLines, kGxtkMaxLines, nullptr);
    Store(v[0], x1, y1);
    Store(v[1], x2, y2);
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
    gxtkVertex *v = Reserve(kGxtkBatchQuads, kGxtkMaxQuads, nullptr);
    Store(v[0], x, y);
    Store(v[1], x + w, y);
    Store(v[2], x + w, y + h);
    Store(v[3], x, y + h);
    return 0;
}

int gxtkGraphics::DrawSurface(gxtkSurface *surface, float x, float y) {
    float w = static_cast<float>(surface->Width());
    float h = static_cast<float>(surface->Height());
    float u1 = w * surface->uScale;
    float v1 = h * surface->vScale;
    gxtkVertex *v = Reserve(kGxtkBatchQuads, kGxtkMaxQuads, surface);
    StoreTextured(v[0], x, y, 0.0f, 0.0f);
    StoreTextured(v[1], x + w, y, u1, 0.0f);
    StoreTextured(v[2], x + w, y + h, u1, v1);
    StoreTextured(v[3], x, y + h, 0.0f, v1);
    return 0;
}

int gxtkGraphics::DrawSurface2(gxtkSurface *surface, float x, float y, int srcX, int srcY,
                               int srcWidth, int srcHeight) {
    float w = static_cast<float>(srcWidth);
    float h = static_cast<float>(srcHeight);
    float u0 = static_cast<float>(srcX) * surface->uScale;
    float v0 = static_cast<float>(srcY) * surface->vScale;
    float u1 = (static_cast<float>(srcX) + w) * surface->uScale;
    float v1 = (static_cast<float>(srcY) + h) * surface->vScale;
    gxtkVertex *v = Reserve(kGxtkBatchQuads, kGxtkMaxQuads, surface);
    StoreTextured(v[0], x, y, u0, v0);
    StoreTextured(v[1], x + w, y, u1, v0);
    StoreTextured(v[2], x + w, y + h, u1, v1);
    StoreTextured(v[3], x, y + h, u0, v1);
    return 0;
}

// ---------------------------------------------------------------------------
// Immediate primitives: one triangle fan each
// ---------------------------------------------------------------------------

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
    if (batchCount != 0) Flush();
    batchKind = kGxtkBatchFan;
    if (batchSurface) gc_assign(batchSurface, static_cast<gxtkSurface *>(nullptr));

    float rx = w * 0.5f;
    float ry = h * 0.5f;
    float cx = x + rx;
    float cy = y + ry;

    // Segments follow the on-screen size of the radii, truncated. Worked in
    // float and clamped before conversion, so huge or NaN sizes stay defined.
    float size;
    if (transformed) {
        size = std::trunc(std::sqrt((rx * a) * (rx * a) + (rx * b) * (rx * b)) +
                          std::sqrt((ry * c) * (ry * c) + (ry * d) * (ry * d)));
    } else {
        size = std::trunc(std::fabs(rx)) + std::trunc(std::fabs(ry));
    }
    int n;
    if (!(size >= static_cast<float>(kMinOvalSegments))) {
        n = kMinOvalSegments;
    } else if (size > static_cast<float>(kMaxOvalSegments)) {
        n = kMaxOvalSegments;
    } else {
        n = static_cast<int>(size) & ~3;
    }

    for (int i = 0; i < n; ++i) {
        float angle = static_cast<float>(i) * kTwoPi / static_cast<float>(n);
        Store(vertices[i], cx + std::cos(angle) * rx, cy - std::sin(angle) * ry);
    }
    batchCount = n;
    Flush();
    return 0;
}

int gxtkGraphics::DrawPoly(Array<float> points) {
    int n = points.Length() / 2;
    if (n < kMinPolyPoints || n > kGxtkMaxVertices) return 0;
    if (batchCount != 0) Flush();
    batchKind = kGxtkBatchFan;
    if (batchSurface) gc_assign(batchSurface, static_cast<gxtkSurface *>(nullptr));
    for (int i = 0; i < n; ++i) Store(vertices[i], points[i * 2], points[i * 2 + 1]);
    batchCount = n;
    Flush();
    return 0;
}
