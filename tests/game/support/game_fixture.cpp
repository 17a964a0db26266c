// The shared game-test fixture: process-wide window and host, per-test game
// object, clock, events and data files.
#include "tests/game/support/game_fixture.h"

#include <GLFW/glfw3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "input/input.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace fs = std::filesystem;

GLFWwindow *GameFixture::window = nullptr;
ManualClockPlatform *GameFixture::platform = nullptr;
TestHost *GameFixture::host = nullptr;

namespace {

constexpr double kUpdateMillis = 1000.0 / 60.0;
constexpr int kStartWidth = 640;
constexpr int kStartHeight = 480;

void OpenWindowOnce() {
    if (GameFixture::window) return;
    ASSERT_TRUE(glfwInit()) << "no display (run under scripts/with-display.sh)";
    GameFixture::window = OpenGameWindow();
    ASSERT_NE(GameFixture::window, nullptr);
    GameFixture::platform = new ManualClockPlatform(GameFixture::window);
    GameFixture::platform->now = 100.0;
    GameFixture::host = new TestHost(GameFixture::window, GameFixture::platform);
    bb_std_main(0, nullptr);
    GameFixture::host->MarkStarted();
}

}  // namespace

void GameFixture::SetUp() {
    OpenWindowOnce();
    ASSERT_NE(window, nullptr);
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    savedCwd_ = cwd;
    char tmpl[] = "/tmp/tesselon-game-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    workDir_ = tmpl;
    fs::create_directories(workDir_ + "/data");
    ASSERT_EQ(chdir(workDir_.c_str()), 0);
    if (GameFixture::host) {
        int w = 0, h = 0;
        WindowSize(&w, &h);
        if (w != kStartWidth || h != kStartHeight) ResizeWindow(kStartWidth, kStartHeight);
    }
    StartFreshGame();
}

void GameFixture::TearDown() {
    if (!savedCwd_.empty()) {
        if (chdir(savedCwd_.c_str()) != 0) perror("chdir");
    }
    std::error_code ec;
    if (!workDir_.empty()) fs::remove_all(workDir_, ec);
}

void GameFixture::StartFreshGame() {
    // A fresh set of module globals and a fresh game object, then the
    // delegate's start: the three devices and p_OnCreate.
    bbInit();
    gc_mark();
    app = CreateApp();
    host->MarkStarted();
    bb_app__delegate->StartGame();
    host->gc_collect();
    graphics = bb_app__delegate->graphics;
    audio = bb_app__delegate->audio;
    input = bb_app__delegate->input;
    Render();
}

c_MyApp *GameFixture::CreateApp() {
    return static_cast<c_MyApp *>(bb_create_app());
}

void GameFixture::AdvanceMillis(double ms) {
    platform->now += ms / 1000.0;
}

int GameFixture::Millis() const {
    return host->Millisecs();
}

void GameFixture::Update(int count) {
    for (int i = 0; i < count; ++i) {
        AdvanceMillis(kUpdateMillis);
        host->UpdateGame();
    }
}

void GameFixture::UpdateWithoutTime(int count) {
    for (int i = 0; i < count; ++i) host->UpdateGame();
}

void GameFixture::Render() {
    host->RenderGame();
}

std::vector<unsigned char> GameFixture::RenderAndRead() {
    graphics->BeginRender();
    bb_graphics_BeginRender();
    app->p_OnRender();
    graphics->Flush();
    bb_graphics_renderDevice = nullptr;
    int w = graphics->Width(), h = graphics->Height();
    std::vector<unsigned char> bottomUp(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    graphics->EndRender();
    host->gc_collect();
    std::vector<unsigned char> topDown(bottomUp.size());
    const size_t row = static_cast<size_t>(w) * 4;
    for (int y = 0; y < h; ++y) {
        std::memcpy(&topDown[y * row], &bottomUp[(h - 1 - y) * row], row);
    }
    return topDown;
}

void GameFixture::PixelAt(const std::vector<unsigned char> &pixels, int width, int x, int y,
                          int rgb[3]) {
    const size_t at = (static_cast<size_t>(y) * width + x) * 4;
    rgb[0] = pixels[at];
    rgb[1] = pixels[at + 1];
    rgb[2] = pixels[at + 2];
}

void GameFixture::Suspend() {
    host->SuspendGame();
}
void GameFixture::Resume() {
    host->ResumeGame();
}

void GameFixture::KeyDown(int key) {
    host->KeyEvent(BBGameEvent::KeyPressed, key);
}
void GameFixture::KeyUp(int key) {
    host->KeyEvent(BBGameEvent::KeyReleased, key);
}
void GameFixture::Tap(int key) {
    KeyDown(key);
    KeyUp(key);
}
void GameFixture::TypeChar(int chr) {
    host->KeyEvent(BBGameEvent::CharTyped, chr);
}
void GameFixture::MouseMove(float x, float y) {
    host->MouseEvent(BBGameEvent::MouseMoved, -1, x, y);
}
void GameFixture::MouseDown(float x, float y) {
    host->MouseEvent(BBGameEvent::MousePressed, 0, x, y);
}
void GameFixture::MouseUp(float x, float y) {
    host->MouseEvent(BBGameEvent::MouseReleased, 0, x, y);
}
void GameFixture::TouchDown(int index, float x, float y) {
    host->TouchEvent(BBGameEvent::TouchPressed, index, x, y);
}
void GameFixture::TouchUp(int index, float x, float y) {
    host->TouchEvent(BBGameEvent::TouchReleased, index, x, y);
}

void GameFixture::SetJoystickAxes(float x, float y) {
    // No joystick on this machine: the joystick state is set as the host's
    // poll would leave it.
    c_JoyState *joy = input->joysticks[0];
    joy->axisX[0] = x;
    joy->axisY[0] = y;
}

int GameFixture::FinishLoading(int limit) {
    int n = 0;
    while (app->loadStage > 0 && n < limit) {
        Update();
        ++n;
    }
    return n;
}

void GameFixture::WindowSize(int *width, int *height) const {
    glfwGetWindowSize(window, width, height);
}

bool GameFixture::ResizeWindow(int width, int height) {
    glfwSetWindowSize(window, width, height);
    for (int i = 0; i < 300; ++i) {
        glfwPollEvents();
        int w = 0, h = 0;
        WindowSize(&w, &h);
        if (w == width && h == height) return true;
        usleep(10000);
    }
    return false;
}

std::string GameFixture::DataPath(const std::string &name) const {
    return workDir_ + "/data/" + name;
}

void GameFixture::WritePng(const std::string &name, int width, int height, unsigned rgba) {
    const std::string path = DataPath(name);
    fs::create_directories(fs::path(path).parent_path());
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = static_cast<unsigned char>(rgba >> 24);
        pixels[i + 1] = static_cast<unsigned char>(rgba >> 16);
        pixels[i + 2] = static_cast<unsigned char>(rgba >> 8);
        pixels[i + 3] = static_cast<unsigned char>(rgba);
    }
    ASSERT_NE(stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4), 0);
}

void GameFixture::WriteWav(const std::string &name) {
    const std::string path = DataPath(name);
    fs::create_directories(fs::path(path).parent_path());
    const int samples = 441;
    const int dataBytes = samples * 2;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](unsigned v) {
        for (int i = 0; i < 4; ++i) out.put(static_cast<char>(v >> (8 * i)));
    };
    auto u16 = [&](unsigned v) {
        out.put(static_cast<char>(v));
        out.put(static_cast<char>(v >> 8));
    };
    out.write("RIFF", 4);
    u32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(44100);
    u32(44100 * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(dataBytes);
    for (int i = 0; i < samples; ++i) u16(0);
}

bool GameFixture::UseRealAssets() {
    // The working folder keeps its own state file; only data/ is the pack.
    const fs::path pack = fs::path(TESSELON_BINARY_DIR) / "data";
    if (!fs::exists(pack)) return false;
    std::error_code ec;
    fs::remove_all(workDir_ + "/data", ec);
    fs::create_directory_symlink(pack, workDir_ + "/data", ec);
    return !ec;
}
