// Shared fixture of the game tests: one game window on the test display for
// the whole process, and for every test a fresh game object started through
// the real delegate path (render device, audio device on the configured
// OpenAL backend, input device, then p_OnCreate), a clock the test moves by
// hand, and helpers to feed input events and run updates and renders.
//
// Every test runs in its own empty working folder with an empty data/
// folder, so nothing loads unless the test writes the files (WritePng,
// WriteWav) or switches to the real asset pack (UseRealAssets).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/myapp.h"
#include "host/host.h"
#include "host/platform.h"

struct GLFWwindow;
class gxtkGraphics;
class gxtkAudio;
class c_InputDevice;

// The window's platform with the clock replaced by a hand-moved one.
class ManualClockPlatform : public GlfwPlatform {
public:
    explicit ManualClockPlatform(GLFWwindow *window) : GlfwPlatform(window) {}
    double Now() override { return now; }
    double now = 0.0;  // seconds
};

// The host with its started flag reachable, so each test can start its own
// game object through the delegate.
class TestHost : public BBVantixGame {
public:
    TestHost(GLFWwindow *window, HostPlatform *platform) : BBVantixGame(window, platform) {}
    void MarkStarted() { _started = true; }
};

class GameFixture : public ::testing::Test {
public:
    // A fresh game object, started, with its first render done (the host
    // renders once before the first update).
    void SetUp() override;
    void TearDown() override;

    // The game object's own start (p_OnCreate) runs from SetUp; these
    // re-create it, e.g. after changing the data folder or the window size.
    void StartFreshGame();
    // The game object to start: the program's own by default; a test may
    // return a subclass that records which screens run.
    virtual c_MyApp *CreateApp();

    // Clock.
    void AdvanceMillis(double ms);
    int Millis() const;

    // Host events, through the guarded host path like the run loop's.
    void Update(int count = 1);             // one fixed update each, clock +1/60 s
    void UpdateWithoutTime(int count = 1);  // the clock stands still
    void Render();                          // BeginRender .. EndRender with the swap
    // Renders like Render but reads the back buffer before the swap: RGBA
    // bytes, rows from the top.
    std::vector<unsigned char> RenderAndRead();
    // RGB of one window pixel (x, y from the top-left) of the last read.
    static void PixelAt(const std::vector<unsigned char> &pixels, int width, int x, int y,
                        int rgb[3]);
    void Suspend();
    void Resume();

    // Input events.
    void KeyDown(int key);
    void KeyUp(int key);
    void Tap(int key);  // press and release before the next update
    void TypeChar(int chr);
    void MouseMove(float x, float y);
    void MouseDown(float x, float y);
    void MouseUp(float x, float y);
    void TouchDown(int index, float x, float y);
    void TouchUp(int index, float x, float y);
    void SetJoystickAxes(float x, float y);  // stick 0 of joystick 0

    // Updates until the staged loader has finished (at most limit updates);
    // returns the number it took.
    int FinishLoading(int limit = 100);

    // Window size in screen pixels; waits until the window has it.
    bool ResizeWindow(int width, int height);
    void WindowSize(int *width, int *height) const;

    // Data folder helpers (relative to the test's working folder).
    std::string DataPath(const std::string &name) const;
    // A PNG of one colour (RGBA), for image loading tests.
    void WritePng(const std::string &name, int width, int height, unsigned rgba = 0xffffffffu);
    // A short 16-bit mono WAV of silence.
    void WriteWav(const std::string &name);
    // Makes data/ the build's generated asset pack; false when it is missing.
    bool UseRealAssets();

    c_MyApp *app = nullptr;
    gxtkGraphics *graphics = nullptr;
    gxtkAudio *audio = nullptr;
    c_InputDevice *input = nullptr;

    static GLFWwindow *window;
    static ManualClockPlatform *platform;
    static TestHost *host;

private:
    std::string workDir_;
    std::string savedCwd_;
};
