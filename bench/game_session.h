// The real game started once for the benchmarks that measure its frames:
// the game's window, the host over a clock the benchmark advances by hand,
// the real devices and the generated asset pack, loaded to the title menu.
#pragma once

#include <string>

#include "game/myapp.h"
#include "host/host.h"
#include "host/platform.h"

struct GLFWwindow;

// One update period at the game's rate, in seconds.
constexpr double kBenchUpdateSeconds = 1.0 / 60.0;

// A GLFW platform whose clock only moves when the benchmark says so.
class ManualClock : public GlfwPlatform {
public:
    explicit ManualClock(GLFWwindow *window) : GlfwPlatform(window) {}
    double Now() override { return now; }
    double now = 1.0;
};

struct BenchGame {
    GLFWwindow *window = nullptr;
    ManualClock *clock = nullptr;
    BBVantixGame *host = nullptr;
    c_MyApp *app = nullptr;
    std::string error;  // why the game could not start; empty when it runs

    // One host update one period after the previous one.
    void Update();
    // Updates until the staged loader is done (at most 100).
    void FinishLoading();
};

// The game, started on first use in a fresh working folder.
BenchGame &bench_TheGame();
