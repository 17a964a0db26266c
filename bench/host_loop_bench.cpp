// The real run loop (BBVantixGame::Run over GLFW) with a delegate that only
// counts: the update and render rates the loop achieves at 60 Hz, and the CPU
// the process uses while the loop sleeps between updates. Needs DISPLAY.
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>

#include "host/host.h"
#include "host/platform.h"

// ---------------------------------------------------------------------------
// Constants and types
// ---------------------------------------------------------------------------

namespace {

constexpr int kUpdateRate = 60;
constexpr double kRunSeconds = 10.0;

double CpuSeconds() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// Counts updates and renders; closes the window after the run time.
class CountingDelegate : public BBGameDelegate {
public:
    GLFWwindow *window = nullptr;
    double startTime = 0.0;
    long updates = 0;
    long renders = 0;

    void StartGame() override {
        BBGame::Game()->SetUpdateRate(kUpdateRate);
        startTime = glfwGetTime();
    }
    void UpdateGame() override {
        ++updates;
        if (glfwGetTime() - startTime >= kRunSeconds) glfwSetWindowShouldClose(window, GLFW_TRUE);
    }
    void RenderGame() override {
        ++renders;
        glfwSwapBuffers(window);
    }
};

// ---------------------------------------------------------------------------
// Benchmark
// ---------------------------------------------------------------------------

void BM_RunLoop60Hz(benchmark::State &state) {
    if (!glfwInit()) {
        state.SkipWithError("glfwInit failed (no display?)");
        return;
    }
    GLFWwindow *window = OpenGameWindow();
    if (!window) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state) {
        BBVantixGame *host = new BBVantixGame(window);
        CountingDelegate *delegate = new CountingDelegate;
        delegate->window = window;
        host->SetDelegate(delegate);
        const double cpuBefore = CpuSeconds();
        const auto wallBefore = std::chrono::steady_clock::now();
        host->Run();
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
        const double cpu = CpuSeconds() - cpuBefore;
        state.counters["updates_per_s"] = delegate->updates / wall;
        state.counters["renders_per_s"] = delegate->renders / wall;
        state.counters["cpu_percent"] = 100.0 * cpu / wall;
        state.counters["updates"] = static_cast<double>(delegate->updates);
        state.SetIterationTime(wall);
        host->SetDelegate(nullptr);
        delete host;
    }
    glfwDestroyWindow(window);
    glfwTerminate();
}
BENCHMARK(BM_RunLoop60Hz)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
