// The graphics tests' shared window, host object, fixtures and helpers.
#include "tests/graphics/gl_env.h"

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/host.h"

#include <stb_image_write.h>

// ---------------------------------------------------------------------------
// Window and host
// ---------------------------------------------------------------------------

namespace {

GLFWwindow *g_window = nullptr;

::testing::Environment *const g_env = ::testing::AddGlobalTestEnvironment(new GlEnvironment);

}  // namespace

void GlEnvironment::SetUp() {
    ASSERT_TRUE(glfwInit()) << "no display: run under scripts/with-display.sh";
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    g_window = glfwCreateWindow(kTestWindowWidth, kTestWindowHeight, "Tesselon graphics test",
                                nullptr, nullptr);
    ASSERT_NE(g_window, nullptr);
    glfwMakeContextCurrent(g_window);
    // The host object loads files for the device; it lives for the program.
    if (!BBGlfwGame::GlfwGame()) new BBGlfwGame(g_window);
}

void GlEnvironment::TearDown() {
    if (g_window) glfwDestroyWindow(g_window);
    g_window = nullptr;
    glfwTerminate();
}

// ---------------------------------------------------------------------------
// Fixture
// ---------------------------------------------------------------------------

void GraphicsTest::SetUp() {
    ASSERT_NE(glfwGetCurrentContext(), nullptr);
    device = new gxtkGraphics();
    gc_assign(bb_graphics_device, device);
    gc_assign(bb_graphics_context, (new c_GraphicsContext())->m_new());
    gc_assign(bb_graphics_renderDevice, static_cast<gxtkGraphics *>(nullptr));
    gxtkSurface::allocateTexture = gxtkSurface::DefaultAllocateTexture;
}

void GraphicsTest::TearDown() {
    gxtkSurface::allocateTexture = gxtkSurface::DefaultAllocateTexture;
    gc_assign(bb_graphics_renderDevice, static_cast<gxtkGraphics *>(nullptr));
}

void GraphicsTest::BeginFrame() {
    device->BeginRender();
    bb_graphics_BeginRender();
}

void GraphicsTest::EndFrame() {
    bb_graphics_EndRender();
    device->EndRender();
}

std::uint32_t GraphicsTest::PixelAt(int x, int y) {
    Array<int> one(1);
    device->ReadPixels(one, x, y, 1, 1, 0, 1);
    return static_cast<std::uint32_t>(one[0]);
}

// ---------------------------------------------------------------------------
// Fixture files
// ---------------------------------------------------------------------------

std::string FixtureDir() {
    static std::string dir;
    if (dir.empty()) {
        char tmpl[] = "/tmp/tesselon-graphics-XXXXXX";
        const char *made = mkdtemp(tmpl);
        if (!made) return "/tmp/";
        dir = std::string(made) + "/";
        // Removed at any exit, also of death-test children.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(dir, ignored);
        });
    }
    return dir;
}

std::string WritePng(const std::string &name, int w, int h, int comp,
                     const std::vector<unsigned char> &pixels) {
    std::string path = FixtureDir() + name;
    stbi_write_png(path.c_str(), w, h, comp, pixels.data(), w * comp);
    return path;
}

std::string WriteBytes(const std::string &name, const std::vector<unsigned char> &bytes) {
    std::string path = FixtureDir() + name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<unsigned char> ReadBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}
