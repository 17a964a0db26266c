// Test fixtures for the run loop: a scripted window with a fake clock, a
// delegate that records every call, and a host that counts collections.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/platform.h"

// A window whose state the test scripts. The clock moves only when the loop
// sleeps or the test advances it. Every PollEvents and WaitEvents runs the
// test's script once, with the number of that event batch.
class ScriptedPlatform : public HostPlatform {
public:
    double now = 0.0;
    bool open = true;
    bool iconified = false;
    bool active = true;
    bool cursorVisible = true;
    int batches = 0;       // PollEvents + WaitEvents calls so far
    int maxBatches = 400;  // the window closes after this many, whatever the script
    std::vector<std::string> *log = nullptr;
    std::function<void(int batch)> script;

    double Now() override { return now; }
    void Sleep(double seconds) override {
        Log("sleep");
        now += seconds;
    }
    void PollEvents() override { Batch("poll"); }
    void WaitEvents() override { Batch("wait"); }
    bool WindowOpen() override { return open; }
    bool WindowIconified() override { return iconified; }
    bool WindowActive() override { return active; }
    void InstallCallbacks() override { Log("callbacks"); }
    void SetCursorVisible(bool visible) override { cursorVisible = visible; }

private:
    void Log(const char *what) {
        if (log) log->push_back(what);
    }
    void Batch(const char *what) {
        Log(what);
        ++batches;
        if (script) script(batches);
        if (batches >= maxBatches) open = false;
    }
};

// Records each delegate call in the shared log. Hooks let a test act inside
// a call (set the rate, spend time, throw).
class RecordingDelegate : public BBGameDelegate {
public:
    std::vector<std::string> *log = nullptr;
    std::function<void()> onStart;
    std::function<void()> onUpdate;

    void StartGame() override {
        Log("start");
        if (onStart) onStart();
    }
    void SuspendGame() override { Log("suspend"); }
    void ResumeGame() override { Log("resume"); }
    void UpdateGame() override {
        Log("update");
        if (onUpdate) onUpdate();
    }
    void RenderGame() override { Log("render"); }
    void KeyEvent(int event, int data) override {
        Log("key " + std::to_string(event) + " " + std::to_string(data));
    }
    void MouseEvent(int event, int data, float x, float y) override {
        Log("mouse " + std::to_string(event) + " " + std::to_string(data) + " " +
            std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)));
    }
    void TouchEvent(int, int, float, float) override { Log("touch"); }
    void MotionEvent(int, int, float, float, float) override { Log("motion"); }
    void DiscardGraphics() override { Log("discard"); }

private:
    void Log(const std::string &what) {
        if (log) log->push_back(what);
    }
};

// The desktop host over the scripted platform, counting collector steps.
class ScriptedHost : public BBGlfwGame {
public:
    int collections = 0;

    explicit ScriptedHost(ScriptedPlatform *platform) : BBGlfwGame(nullptr, platform) {}

    void gc_collect() override {
        ++collections;
        BBGlfwGame::gc_collect();
    }

    double NextUpdateTime() const { return _nextUpdateTime; }
    bool Iconified() const { return _iconified; }
};
