// The render device against a real OpenGL context: batching and its draw
// call counts, colour packing and blending read back as pixels, ellipse
// and polygon fans, scissor, clearing, and pixel transfer.
#include <GL/gl.h>

#include <cstring>
#include <functional>

#include "tests/graphics/gl_env.h"

namespace {

using DeviceTest = GraphicsTest;

// Blending rounds differently between drivers by at most this much a byte.
constexpr int kByteTolerance = 1;

void ExpectRgbNear(std::uint32_t pixel, int r, int g, int b) {
    EXPECT_NEAR(RedOf(pixel), r, kByteTolerance);
    EXPECT_NEAR(GreenOf(pixel), g, kByteTolerance);
    EXPECT_NEAR(BlueOf(pixel), b, kByteTolerance);
}

// A 2x2 RGBA surface whose texture holds the given pixels.
gxtkSurface *SolidSurface(gxtkGraphics *device, int argb) {
    gxtkSurface *s = device->CreateSurface(2, 2);
    Array<int> pixels(4);
    for (int i = 0; i < 4; ++i) pixels[i] = argb;
    device->WritePixels2(s, pixels, 0, 0, 2, 2, 0, 2);
    return s;
}

// ---------------------------------------------------------------------------
// Batching
// ---------------------------------------------------------------------------

TEST_F(DeviceTest, ThreeHundredRectsTakeTwoDrawCalls) {
    BeginFrame();
    for (int i = 0; i < 257; ++i) device->DrawRect(float(i % 20), 0, 1, 1);
    // The 257th rectangle found the batch full: 256 quads went out.
    EXPECT_EQ(device->DrawCalls(), 1);
    EXPECT_EQ(device->VerticesDrawn(), 256 * 4);
    EXPECT_EQ(device->batchCount, 1);
    for (int i = 257; i < 300; ++i) device->DrawRect(float(i % 20), 0, 1, 1);
    EndFrame();
    EXPECT_EQ(device->DrawCalls(), 2);
    EXPECT_EQ(device->VerticesDrawn(), 300 * 4);

    BeginFrame();
    EXPECT_EQ(device->DrawCalls(), 0) << "counters restart with the frame";
    EXPECT_EQ(device->VerticesDrawn(), 0);
    EndFrame();
}

TEST_F(DeviceTest, PointAndLineBatchesFillAtTheirCapacity) {
    struct Case {
        const char *name;
        int capacity;
        int verticesPerPrimitive;
        std::function<void(gxtkGraphics *, int)> draw;
    };
    const Case cases[] = {
        {"points", 1024, 1, [](gxtkGraphics *g, int i) { g->DrawPoint(float(i % 600), 5); }},
        {"lines", 512, 2, [](gxtkGraphics *g, int i) { g->DrawLine(0, float(i % 400), 9, 9); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BeginFrame();
        for (int i = 0; i < c.capacity; ++i) c.draw(device, i);
        EXPECT_EQ(device->DrawCalls(), 0);
        c.draw(device, c.capacity);
        EXPECT_EQ(device->DrawCalls(), 1);
        EXPECT_EQ(device->VerticesDrawn(), c.capacity * c.verticesPerPrimitive);
        EndFrame();
        EXPECT_EQ(device->DrawCalls(), 2);
    }
}

TEST_F(DeviceTest, SwitchingTexturesOrKindsFlushes) {
    BeginFrame();
    gxtkSurface *one = SolidSurface(device, int(0xff0000ffu));
    gxtkSurface *two = SolidSurface(device, int(0xff00ff00u));

    device->DrawRect(0, 0, 2, 2);
    device->DrawSurface(one, 2, 0);
    EXPECT_EQ(device->DrawCalls(), 1) << "rectangle then image";
    device->DrawSurface(one, 4, 0);
    device->DrawSurface2(one, 6, 0, 0, 0, 1, 1);
    EXPECT_EQ(device->DrawCalls(), 1) << "same texture shares the batch";
    device->DrawSurface(two, 8, 0);
    EXPECT_EQ(device->DrawCalls(), 2) << "another texture";
    device->DrawLine(0, 0, 5, 5);
    EXPECT_EQ(device->DrawCalls(), 3) << "image then line";
    EndFrame();
    EXPECT_EQ(device->DrawCalls(), 4);
}

TEST_F(DeviceTest, ColourAlphaAndMatrixChangesKeepOneBatch) {
    BeginFrame();
    device->Cls(0, 0, 0);
    device->SetColor(255, 0, 0);
    device->DrawRect(0, 0, 10, 10);
    device->SetColor(0, 255, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(10, 0, 10, 10);
    device->SetAlpha(1);
    device->SetColor(0, 0, 255);
    device->SetMatrix(1, 0, 0, 1, 20, 0);
    device->DrawRect(0, 0, 10, 10);
    device->SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_EQ(device->DrawCalls(), 0);
    EXPECT_EQ(device->batchCount, 3);

    ExpectRgbNear(PixelAt(5, 5), 255, 0, 0);
    ExpectRgbNear(PixelAt(15, 5), 0, 127, 0);
    ExpectRgbNear(PixelAt(25, 5), 0, 0, 255);
    ExpectRgbNear(PixelAt(35, 5), 0, 0, 0);
    EXPECT_EQ(device->DrawCalls(), 1) << "reading pixels flushed the single batch";
    EndFrame();
}

TEST_F(DeviceTest, ClsDiscardsPendingRectangles) {
    BeginFrame();
    device->SetColor(255, 255, 255);
    device->DrawRect(0, 0, 50, 50);
    device->Cls(0, 0, 255);
    EXPECT_EQ(device->batchCount, 0);
    ExpectRgbNear(PixelAt(10, 10), 0, 0, 255);
    EndFrame();
    EXPECT_EQ(device->DrawCalls(), 0);
}

// ---------------------------------------------------------------------------
// Colour and blending
// ---------------------------------------------------------------------------

TEST_F(DeviceTest, HalfAlphaRedPacksPremultiplied) {
    device->SetColor(255, 0, 0);
    device->SetAlpha(0.5f);
    unsigned char bytes[4];
    std::memcpy(bytes, &device->packedColor, 4);
    EXPECT_EQ(bytes[0], 127);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 127);
}

TEST_F(DeviceTest, AlphaBlendingOfPremultipliedColour) {
    BeginFrame();
    device->Cls(0, 0, 255);
    device->SetColor(255, 0, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(0, 0, 8, 8);
    // 127 of red over 255 of blue kept at 1 - 127/255.
    ExpectRgbNear(PixelAt(4, 4), 127, 0, 128);
    EndFrame();
}

TEST_F(DeviceTest, AdditiveBlendingAddsColours) {
    BeginFrame();
    device->Cls(0, 100, 100);
    device->SetBlend(1);
    device->SetColor(100, 50, 0);
    device->DrawRect(0, 0, 8, 8);
    device->SetColor(60, 0, 0);
    device->DrawRect(0, 0, 4, 4);
    ExpectRgbNear(PixelAt(6, 6), 100, 150, 100);
    ExpectRgbNear(PixelAt(2, 2), 160, 150, 100);
    device->SetBlend(0);
    device->SetColor(10, 20, 30);
    device->DrawRect(0, 0, 8, 8);
    ExpectRgbNear(PixelAt(6, 6), 10, 20, 30);
    EndFrame();
}

// ---------------------------------------------------------------------------
// Fans
// ---------------------------------------------------------------------------

TEST_F(DeviceTest, EllipseSegmentsFollowItsSize) {
    struct Case {
        float w, h, scale;
        int segments;
    };
    const Case cases[] = {
        {10, 10, 1, 12},   {100, 60, 1, 80}, {3000, 3000, 1, 1024},
        {100, 60, 2, 160}, {102, 60, 1, 80},  // 51 + 30 rounds down to a multiple of 4
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " scale " << c.scale);
        BeginFrame();
        device->SetMatrix(c.scale, 0, 0, c.scale, 0, 0);
        device->DrawRect(0, 0, 1, 1);
        device->DrawOval(10, 20, c.w, c.h);
        EXPECT_EQ(device->DrawCalls(), 2) << "pending rectangle, then the fan at once";
        EXPECT_EQ(device->VerticesDrawn(), 4 + c.segments);
        EXPECT_EQ(device->batchCount, 0);
        // The fan starts at the rightmost point.
        EXPECT_FLOAT_EQ(device->vertices[0].x, (10 + c.w) * c.scale);
        EXPECT_FLOAT_EQ(device->vertices[0].y, (20 + c.h * 0.5f) * c.scale);
        EndFrame();
    }
}

TEST_F(DeviceTest, EllipseCoversItsCentreNotItsCorner) {
    BeginFrame();
    device->Cls(0, 0, 0);
    device->SetColor(0, 255, 0);
    device->DrawOval(100, 100, 40, 20);
    ExpectRgbNear(PixelAt(120, 110), 0, 255, 0);
    ExpectRgbNear(PixelAt(101, 101), 0, 0, 0);
    EndFrame();
}

TEST_F(DeviceTest, PolygonOfTwoPointsLeavesTheBatchPending) {
    BeginFrame();
    device->DrawRect(0, 0, 1, 1);
    Array<float> five(5);
    device->DrawPoly(five);
    EXPECT_EQ(device->DrawCalls(), 0);
    EXPECT_EQ(device->batchCount, 1);
    EXPECT_EQ(device->batchKind, kGxtkBatchQuads);
    EndFrame();
    EXPECT_EQ(device->DrawCalls(), 1);
}

TEST_F(DeviceTest, PolygonDrawsAsOneFan) {
    BeginFrame();
    device->Cls(0, 0, 0);
    device->SetColor(255, 255, 0);
    const float tri[] = {50, 50, 90, 50, 50, 90};
    device->DrawPoly(Array<float>(tri, 6));
    EXPECT_EQ(device->DrawCalls(), 1);
    EXPECT_EQ(device->VerticesDrawn(), 3);
    ExpectRgbNear(PixelAt(55, 55), 255, 255, 0);
    ExpectRgbNear(PixelAt(85, 85), 0, 0, 0);
    EndFrame();
}

// ---------------------------------------------------------------------------
// Scissor
// ---------------------------------------------------------------------------

TEST_F(DeviceTest, ScissorClipsUntilSetToTheWholeWindow) {
    BeginFrame();
    device->Cls(0, 0, 0);
    device->SetScissor(10, 20, 30, 40);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 10);
    EXPECT_EQ(box[1], device->Height() - 20 - 40);
    EXPECT_EQ(box[2], 30);
    EXPECT_EQ(box[3], 40);

    device->Cls(255, 0, 0);  // clears only inside
    device->SetScissor(0, 0, device->Width(), device->Height());
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    ExpectRgbNear(PixelAt(10, 20), 255, 0, 0);
    ExpectRgbNear(PixelAt(39, 59), 255, 0, 0);
    ExpectRgbNear(PixelAt(9, 20), 0, 0, 0);
    ExpectRgbNear(PixelAt(40, 59), 0, 0, 0);
    ExpectRgbNear(PixelAt(10, 60), 0, 0, 0);
    EndFrame();
}

// ---------------------------------------------------------------------------
// Pixel transfer
// ---------------------------------------------------------------------------

TEST_F(DeviceTest, ReadPixelsReturnsTopRowFirst) {
    BeginFrame();
    device->Cls(0, 0, 0);
    device->SetColor(255, 0, 0);
    device->DrawRect(0, 0, 2, 1);
    device->SetColor(0, 0, 255);
    device->DrawRect(0, 1, 2, 1);

    Array<int> packed(4);
    device->ReadPixels(packed, 0, 0, 2, 2, 0, 2);
    EXPECT_EQ(std::uint32_t(packed[0]), 0xffff0000u);
    EXPECT_EQ(std::uint32_t(packed[1]), 0xffff0000u);
    EXPECT_EQ(std::uint32_t(packed[2]), 0xff0000ffu);
    EXPECT_EQ(std::uint32_t(packed[3]), 0xff0000ffu);

    // Offset and pitch place the rows; elements between them stay.
    Array<int> spaced(8);
    for (int i = 0; i < 8; ++i) spaced[i] = 7;
    device->ReadPixels(spaced, 0, 0, 2, 2, 1, 4);
    EXPECT_EQ(spaced[0], 7);
    EXPECT_EQ(std::uint32_t(spaced[1]), 0xffff0000u);
    EXPECT_EQ(std::uint32_t(spaced[2]), 0xffff0000u);
    EXPECT_EQ(spaced[3], 7);
    EXPECT_EQ(std::uint32_t(spaced[5]), 0xff0000ffu);
    EXPECT_EQ(spaced[7], 7);
    EndFrame();
}

TEST_F(DeviceTest, PixelTransferRefusesAnArrayTooSmall) {
    BeginFrame();
    Array<int> small(3);
    for (int i = 0; i < 3; ++i) small[i] = 7;
    device->ReadPixels(small, 0, 0, 2, 2, 0, 2);
    device->ReadPixels(small, 0, 0, 1, 1, -1, 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(small[i], 7);
    gxtkSurface *s = device->CreateSurface(4, 4);
    device->WritePixels2(s, small, 0, 0, 2, 2, 0, 2);  // must not read past the end
    EndFrame();
}

TEST_F(DeviceTest, WritePixelsPremultipliesIntoTheTexture) {
    BeginFrame();
    gxtkSurface *s = device->CreateSurface(2, 1);
    ASSERT_NE(s, nullptr);
    const int pixels[] = {int(0x80ff8000u), int(0xff102030u)};
    device->WritePixels2(s, Array<int>(pixels, 2), 0, 0, 2, 1, 0, 2);

    unsigned char bytes[8] = {};
    glBindTexture(GL_TEXTURE_2D, s->texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, bytes);
    const unsigned char expected[8] = {0, 64, 128, 128, 0x30, 0x20, 0x10, 0xff};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(bytes[i], expected[i]) << "byte " << i;
    EndFrame();
}

}  // namespace
