// The render device: the only code that draws through OpenGL.
//
// gxtkGraphics collects points, lines, rectangles and textured quads in a
// batch held inside the object and issues one OpenGL draw call per batch.
// Colours are premultiplied by alpha when a vertex is stored and the matrix
// is applied on the processor, so colour and matrix changes never break a
// batch. gxtkSurface owns one texture (and, until it is uploaded, the decoded
// pixel data it is made from).
#pragma once

#include <cstdint>

#include "runtime/runtime.h"

class gxtkSurface;

// ---------------------------------------------------------------------------
// Batch geometry
// ---------------------------------------------------------------------------

// Vertex storage of one batch, and the quads it can hold.
constexpr int kGxtkMaxVertices = 1024;
constexpr int kGxtkMaxQuads = 256;
constexpr int kGxtkMaxLines = 512;
constexpr int kGxtkQuadIndexCount = kGxtkMaxQuads * 6;

// Primitive kinds of a batch (also the vertex count per primitive for 1, 2, 4).
constexpr int kGxtkBatchPoints = 1;
constexpr int kGxtkBatchLines = 2;
constexpr int kGxtkBatchQuads = 4;
constexpr int kGxtkBatchFan = 5;

// One vertex as the client arrays read it: 20 bytes, position at byte 0,
// texture coordinate at byte 8, packed colour (bytes R, G, B, A) at byte 16.
struct gxtkVertex {
    float x, y;
    float u, v;
    std::uint32_t color;
};
static_assert(sizeof(gxtkVertex) == 20, "client arrays use a 20-byte stride");

// ---------------------------------------------------------------------------
// gxtkSurface: one texture
// ---------------------------------------------------------------------------

class gxtkSurface : public Object {
public:
    unsigned char *data = nullptr;  // decoded pixels awaiting upload (malloc'd), rows top first
    int width = 0;
    int height = 0;
    int depth = 0;             // bytes per pixel: 1 grey, 2 grey+alpha, 3 RGB, 4 RGBA
    unsigned int texture = 0;  // GL texture name, 0 when none
    float uScale = 0.0f;       // 1 / allocated texture width
    float vScale = 0.0f;       // 1 / allocated texture height

    gxtkSurface();
    gxtkSurface(unsigned char *data, int width, int height, int depth);
    ~gxtkSurface() override;

    // Takes ownership of data (released with free).
    void SetData(unsigned char *data, int width, int height, int depth);

    virtual int Discard();
    virtual int Width();
    virtual int Height();
    virtual bool Loaded();
    // Creates the texture from data (premultiplied on the way); frees data
    // whatever the outcome. False when no texture could be allocated.
    virtual bool OnUnsafeLoadComplete();

    // Texture allocation used by OnUnsafeLoadComplete: allocates level 0 of
    // the bound texture at w x h and reports whether OpenGL accepted it.
    // Replaceable so tests can play a driver without non-power-of-two
    // textures; the default calls glTexImage2D and reads glGetError.
    using TextureAllocator = bool (*)(unsigned int format, int w, int h);
    static TextureAllocator allocateTexture;
    static bool DefaultAllocateTexture(unsigned int format, int w, int h);
};

// ---------------------------------------------------------------------------
// gxtkGraphics: the render device
// ---------------------------------------------------------------------------

class gxtkGraphics : public Object {
public:
    int width = 0;  // window size, read at construction and at every BeginRender
    int height = 0;

    std::uint32_t packedColor = 0xffffffffu;  // premultiplied: A<<24 | B<<16 | G<<8 | R
    float red = 255.0f, green = 255.0f, blue = 255.0f;
    float alpha = 1.0f;

    float a = 1.0f, b = 0.0f, c = 0.0f, d = 1.0f, tx = 0.0f, ty = 0.0f;
    bool transformed = false;  // false exactly when the matrix is the identity

    gxtkVertex vertices[kGxtkMaxVertices];
    std::uint16_t quadIndices[kGxtkQuadIndexCount];

    int batchKind = 0;
    int batchCount = 0;  // primitives in the batch; vertices for a fan
    gxtkSurface *batchSurface = nullptr;

    // Per-frame counters: reset by BeginRender, still readable after EndRender.
    int frameDrawCalls = 0;  // OpenGL draw calls issued by Flush
    int frameVertices = 0;   // vertices those draw calls sent

    gxtkGraphics();
    void mark() override;

    virtual int Width();
    virtual int Height();
    virtual int BeginRender();
    virtual void EndRender();
    virtual void DiscardGraphics();
    virtual gxtkSurface *LoadSurface(String path);
    virtual gxtkSurface *LoadSurface__UNSAFE__(gxtkSurface *surface, String path);
    virtual gxtkSurface *CreateSurface(int width, int height);
    virtual int Cls(float r, float g, float b);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    virtual int SetBlend(int blend);
    virtual int SetScissor(int x, int y, int width, int height);
    virtual int SetMatrix(float a, float b, float c, float d, float tx, float ty);
    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float width, float height);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    virtual int DrawOval(float x, float y, float width, float height);
    virtual int DrawPoly(Array<float> points);
    virtual int DrawSurface(gxtkSurface *surface, float x, float y);
    virtual int DrawSurface2(gxtkSurface *surface, float x, float y, int srcX, int srcY,
                             int srcWidth, int srcHeight);
    virtual int ReadPixels(Array<int> pixels, int x, int y, int width, int height, int offset,
                           int pitch);
    virtual int WritePixels2(gxtkSurface *surface, Array<int> pixels, int x, int y, int width,
                             int height, int offset, int pitch);

    // Draws and empties the batch; nothing when it is empty.
    void Flush();

    int DrawCalls() const { return frameDrawCalls; }
    int VerticesDrawn() const { return frameVertices; }

private:
    void PackColor();
    // Makes room for one primitive of the given kind: flushes when it cannot
    // join the batch. Returns the first free vertex.
    gxtkVertex *Reserve(int kind, int capacity, gxtkSurface *surface);
    void Store(gxtkVertex &v, float x, float y);
    void StoreTextured(gxtkVertex &v, float x, float y, float u, float vv);
};

// Packs colour components (0..255) under an alpha (0..1) as the device stores
// them: bytes R, G, B, A of the premultiplied colour. Each byte is clamped to
// 0..255, so out-of-range inputs give the nearest representable colour.
std::uint32_t gxtkPackColor(float r, float g, float b, float alpha);
