// Shared by the graphics tests: a real OpenGL context on the test display,
// a host object for file loading, fresh module state per test, and helpers
// for reading pixels and writing image fixtures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/device.h"
#include "graphics/graphics.h"

// The test window's size in pixels.
constexpr int kTestWindowWidth = 640;
constexpr int kTestWindowHeight = 480;

// Opens GLFW and one hidden window whose context stays current for the
// whole test program, and creates the host object; registered once per
// test binary by gl_env.cpp.
class GlEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;
};

// A new render device installed as bb_graphics_device, a new graphics
// context, and helpers. Frames are begun by the test (BeginFrame).
class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Device BeginRender plus the module's BeginRender, as the frame does.
    void BeginFrame();
    // The module's EndRender plus the device's EndRender (flush and swap).
    void EndFrame();

    // The window pixel at (x, y), top-left origin, as 0xAARRGGBB.
    std::uint32_t PixelAt(int x, int y);

    gxtkGraphics *device = nullptr;
};

// A fresh folder for this test binary's fixtures, ending in '/'.
std::string FixtureDir();

// Writes a PNG of w x h pixels with comp bytes per pixel; returns its path.
std::string WritePng(const std::string &name, int w, int h, int comp,
                     const std::vector<unsigned char> &pixels);
// Writes raw bytes to a fixture file; returns its path.
std::string WriteBytes(const std::string &name, const std::vector<unsigned char> &bytes);
// The bytes of a file.
std::vector<unsigned char> ReadBytes(const std::string &path);

// Colour channels of 0xAARRGGBB.
inline int RedOf(std::uint32_t p) {
    return int((p >> 16) & 0xff);
}
inline int GreenOf(std::uint32_t p) {
    return int((p >> 8) & 0xff);
}
inline int BlueOf(std::uint32_t p) {
    return int(p & 0xff);
}
inline int AlphaOf(std::uint32_t p) {
    return int(p >> 24);
}
