// Surfaces against a real OpenGL context: PNG files of one to four
// channels uploaded premultiplied, the power-of-two fallback, texture
// release, and files that must load as nothing without harm.
#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/graphics/gl_env.h"

namespace {

using SurfaceTest = GraphicsTest;

// ---------------------------------------------------------------------------
// PNG surgery for the bad-file cases
// ---------------------------------------------------------------------------

std::uint32_t Crc32(const unsigned char *p, std::size_t n) {
    std::uint32_t crc = 0xffffffffu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian32(std::vector<unsigned char> &out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back((unsigned char)(v >> shift));
}

// One chunk with its length and CRC.
std::vector<unsigned char> Chunk(const char *type, const std::vector<unsigned char> &data) {
    std::vector<unsigned char> out;
    PutBigEndian32(out, std::uint32_t(data.size()));
    std::vector<unsigned char> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBigEndian32(out, Crc32(typed.data(), typed.size()));
    return out;
}

// The signature and IHDR chunk (33 bytes) of a PNG, then the rest.
constexpr std::size_t kHeadBytes = 33;

std::vector<unsigned char> ValidPng(int w, int h) {
    std::vector<unsigned char> rgba(std::size_t(w) * h * 4, 0x80);
    return ReadBytes(WritePng("valid.png", w, h, 4, rgba));
}

std::vector<unsigned char> WithSize(std::vector<unsigned char> png, std::uint32_t w,
                                    std::uint32_t h) {
    std::vector<unsigned char> ihdr(png.begin() + 16, png.begin() + 29);
    for (int i = 0; i < 4; ++i) {
        ihdr[i] = (unsigned char)(w >> (24 - 8 * i));
        ihdr[4 + i] = (unsigned char)(h >> (24 - 8 * i));
    }
    std::vector<unsigned char> chunk = Chunk("IHDR", ihdr);
    std::copy(chunk.begin(), chunk.end(), png.begin() + 8);
    return png;
}

std::vector<unsigned char> EmptyDataChunkFirst(std::vector<unsigned char> png) {
    std::vector<unsigned char> empty = Chunk("IDAT", {});
    png.insert(png.begin() + kHeadBytes, empty.begin(), empty.end());
    return png;
}

// The header, then a data chunk declaring 1.5 GB that holds a few bytes.
std::vector<unsigned char> ChunkOverrun(std::vector<unsigned char> png) {
    png.resize(kHeadBytes);
    PutBigEndian32(png, 0x5f000016u);
    const unsigned char rest[] = {'I', 'D', 'A', 'T', 1, 2, 3, 4, 5, 6, 7, 8};
    png.insert(png.end(), rest, rest + sizeof rest);
    return png;
}

// ---------------------------------------------------------------------------
// Upload
// ---------------------------------------------------------------------------

// Reads level 0 of a texture back in the given format.
std::vector<unsigned char> TextureBytes(GLuint texture, GLenum format, int count) {
    std::vector<unsigned char> bytes(count);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}

TEST_F(SurfaceTest, PngOfEachDepthUploadsPremultiplied) {
    struct Case {
        const char *name;
        int depth;
        GLenum format;
        std::vector<unsigned char> file;     // 2 x 1 pixels as written
        std::vector<unsigned char> texture;  // as stored
    };
    const Case cases[] = {
        {"grey.png", 1, GL_LUMINANCE, {77, 200}, {77, 200}},
        {"grey_alpha.png", 2, GL_LUMINANCE_ALPHA, {200, 128, 90, 255}, {100, 128, 90, 255}},
        {"rgb.png", 3, GL_RGB, {10, 20, 30, 40, 50, 60}, {10, 20, 30, 40, 50, 60}},
        {"rgba.png",
         4,
         GL_RGBA,
         {200, 100, 50, 128, 255, 255, 255, 0},
         {100, 50, 25, 128, 0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = WritePng(c.name, 2, 1, c.depth, c.file);
        gxtkSurface *s = device->LoadSurface(String(path.c_str()));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Width(), 2);
        EXPECT_EQ(s->Height(), 1);
        EXPECT_EQ(s->depth, c.depth);
        EXPECT_EQ(s->data, nullptr) << "pixel data is released after upload";
        EXPECT_NE(s->texture, 0u);
        EXPECT_FLOAT_EQ(s->uScale, 0.5f);
        EXPECT_FLOAT_EQ(s->vScale, 1.0f);
        EXPECT_EQ(TextureBytes(s->texture, c.format, int(c.texture.size())), c.texture);
    }
}

TEST_F(SurfaceTest, LoadedImageDrawsItsPremultipliedPixels) {
    // Four columns: opaque red, half-transparent white, green, clear.
    std::string path = WritePng("strip.png", 4, 1, 4,
                                {255, 0, 0, 255, 255, 255, 255, 128, 0, 255, 0, 255, 9, 9, 9, 0});
    BeginFrame();
    gxtkSurface *s = device->LoadSurface(String(path.c_str()));
    ASSERT_NE(s, nullptr);
    device->Cls(0, 0, 0);
    device->DrawSurface(s, 10, 10);
    device->DrawSurface2(s, 10, 20, 2, 0, 1, 1);  // the green column alone
    EXPECT_EQ(device->DrawCalls(), 0);
    EXPECT_EQ(PixelAt(10, 10), 0xffff0000u);
    EXPECT_NEAR(RedOf(PixelAt(11, 10)), 128, 1);
    EXPECT_EQ(PixelAt(12, 10), 0xff00ff00u);
    EXPECT_EQ(PixelAt(13, 10), 0xff000000u) << "a clear pixel adds nothing";
    EXPECT_EQ(PixelAt(14, 10), 0xff000000u) << "drawn at its own size";
    EXPECT_EQ(PixelAt(10, 20), 0xff00ff00u);
    EXPECT_EQ(PixelAt(11, 20), 0xff000000u);
    EXPECT_EQ(device->DrawCalls(), 1);
    EndFrame();
}

// A driver without non-power-of-two textures.
bool PowerOfTwoOnly(unsigned int format, int w, int h) {
    auto pow2 = [](int n) { return n > 0 && (n & (n - 1)) == 0; };
    if (!pow2(w) || !pow2(h)) return false;
    return gxtkSurface::DefaultAllocateTexture(format, w, h);
}

bool NoTextures(unsigned int, int, int) {
    return false;
}

TEST_F(SurfaceTest, PowerOfTwoFallbackKeepsImageCoordinates) {
    std::vector<unsigned char> rgb(100 * 60 * 3, 0);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 100; ++x) rgb[(y * 100 + x) * 3 + 1] = (unsigned char)(x + y);
    }
    std::string path = WritePng("npot.png", 100, 60, 3, rgb);
    gxtkSurface::allocateTexture = PowerOfTwoOnly;
    gxtkSurface *s = device->LoadSurface(String(path.c_str()));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Width(), 100);
    EXPECT_EQ(s->Height(), 60);
    EXPECT_FLOAT_EQ(s->uScale, 1.0f / 128);
    EXPECT_FLOAT_EQ(s->vScale, 1.0f / 64);
    GLint texWidth = 0, texHeight = 0;
    glBindTexture(GL_TEXTURE_2D, s->texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &texWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &texHeight);
    EXPECT_EQ(texWidth, 128);
    EXPECT_EQ(texHeight, 64);

    BeginFrame();
    device->Cls(0, 0, 255);
    device->DrawSurface(s, 0, 0);
    device->DrawSurface2(s, 200, 0, 90, 50, 10, 10);
    EXPECT_EQ(GreenOf(PixelAt(0, 0)), 0);
    EXPECT_EQ(GreenOf(PixelAt(99, 59)), 158);
    EXPECT_EQ(PixelAt(100, 30), 0xff0000ffu) << "the unused texture area is not drawn";
    EXPECT_EQ(GreenOf(PixelAt(200, 0)), 140);
    EXPECT_EQ(GreenOf(PixelAt(209, 9)), 158);
    EndFrame();
}

TEST_F(SurfaceTest, NoTextureAtEitherSizeGivesNull) {
    std::string path = WritePng("refused.png", 3, 3, 4, std::vector<unsigned char>(36, 200));
    gxtkSurface::allocateTexture = NoTextures;
    EXPECT_EQ(device->LoadSurface(String(path.c_str())), nullptr);
    EXPECT_EQ(device->CreateSurface(16, 16), nullptr);
}

TEST_F(SurfaceTest, DiscardReleasesTextureOnce) {
    gxtkSurface *s = device->CreateSurface(8, 8);
    ASSERT_NE(s, nullptr);
    GLuint name = s->texture;
    EXPECT_TRUE(glIsTexture(name));
    EXPECT_EQ(s->Discard(), 0);
    EXPECT_EQ(s->texture, 0u);
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(s->Discard(), 0);
}

TEST_F(SurfaceTest, CollectorReleasesTheTextureOfAnUnreachableSurface) {
    gc_set_root_marker([] {
        gc_mark_q(bb_graphics_device);
        gc_mark_q(bb_graphics_context);
    });
    gc_mark();
    gxtkSurface *kept = device->CreateSurface(4, 4);
    gc_assign(bb_graphics_device->batchSurface, kept);  // reachable from the device
    GLuint keptName = kept->texture;
    GLuint lostName = device->CreateSurface(4, 4)->texture;
    gc_force_sweep = true;
    gc_collect();
    gc_set_root_marker(nullptr);
    EXPECT_FALSE(glIsTexture(lostName));
    EXPECT_TRUE(glIsTexture(keptName));
}

TEST_F(SurfaceTest, DepthOutsideOneToFourEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // the GL driver runs threads
    gxtkSurface *s = new gxtkSurface(nullptr, 2, 2, 5);
    EXPECT_EXIT(s->OnUnsafeLoadComplete(), testing::ExitedWithCode(255), "");
}

// ---------------------------------------------------------------------------
// Bad files
// ---------------------------------------------------------------------------

TEST_F(SurfaceTest, BadFilesLoadAsNothing) {
    std::vector<unsigned char> png = ValidPng(4, 4);
    std::vector<unsigned char> header(png.begin(), png.begin() + kHeadBytes);
    std::vector<unsigned char> onlyEmptyData = header;
    for (auto part : {Chunk("IDAT", {}), Chunk("IEND", {})}) {
        onlyEmptyData.insert(onlyEmptyData.end(), part.begin(), part.end());
    }
    const struct {
        const char *name;
        std::string path;
    } cases[] = {
        {"missing", FixtureDir() + "no-such-file.png"},
        {"folder", FixtureDir()},
        {"zero bytes", WriteBytes("empty.png", {})},
        {"truncated",
         WriteBytes("truncated.png", std::vector<unsigned char>(png.begin(), png.end() - 20))},
        {"signature only",
         WriteBytes("signature.png", std::vector<unsigned char>(png.begin(), png.begin() + 8))},
        {"empty data chunk only", WriteBytes("empty-idat.png", onlyEmptyData)},
        {"chunk longer than the file", WriteBytes("overrun.png", ChunkOverrun(png))},
        {"no end chunk",
         WriteBytes("no-iend.png", std::vector<unsigned char>(png.begin(), png.end() - 12))},
        {"text", WriteBytes("text.png", {'h', 'e', 'l', 'l', 'o', '\n'})},
        {"30000 x 30000", WriteBytes("huge.png", WithSize(png, 30000, 30000))},
        {"8193 wide", WriteBytes("wide.png", WithSize(png, 8193, 1))},
        {"zero wide", WriteBytes("zero.png", WithSize(png, 0, 4))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(bb_graphics_LoadImage(String(c.path.c_str()), 1, 0), nullptr);
        EXPECT_EQ(bb_graphics_LoadImage2(String(c.path.c_str()), 2, 2, 1, 0), nullptr);
    }
    // Still usable afterwards.
    std::string good = WriteBytes("good.png", png);
    EXPECT_NE(bb_graphics_LoadImage(String(good.c_str()), 1, 0), nullptr);
}

TEST_F(SurfaceTest, EmptyDataChunkBeforeTheDataKeepsTheImage) {
    std::string path = WriteBytes("leading-empty-idat.png", EmptyDataChunkFirst(ValidPng(3, 2)));
    gxtkSurface *s = device->LoadSurface(String(path.c_str()));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Width(), 3);
    EXPECT_EQ(s->Height(), 2);
    std::vector<unsigned char> expected;
    for (int i = 0; i < 6; ++i) expected.insert(expected.end(), {64, 64, 64, 128});
    EXPECT_EQ(TextureBytes(s->texture, GL_RGBA, 24), expected);
}

TEST_F(SurfaceTest, LoadingAnImageRequestsAFullCollection) {
    std::string path = WriteBytes("sweep.png", ValidPng(2, 2));
    gc_force_sweep = false;
    ASSERT_NE(device->LoadSurface(String(path.c_str())), nullptr);
    EXPECT_TRUE(gc_force_sweep);
    gc_force_sweep = false;
}

}  // namespace
