// The real game in the real run loop, with the host's update and render
// calls timed: how evenly the loop paces its 60 updates a second, how often
// it renders, the CPU the process uses, and the time from process start to
// the first rendered title menu. Everything else is the program itself: the
// window, the devices, the asset pack in ./data and the game object.
//
//   game_loop_timing SECONDS [title|play|soak]
//
// "play" starts a game as soon as the title menu is up (the player then
// stands still, which the game allows for ever). "soak" leaves the game to
// whoever drives its window and prints the collector's counters every
// 10 s ("gc t=... bytes=... max_bytes=... objects=..."). Prints one line of
// key=value pairs at the end. Needs DISPLAY.
#include <GLFW/glfw3.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/myapp.h"
#include "runtime/gc.h"
#include "host/app.h"
#include "host/host.h"
#include "host/platform.h"

namespace {

double Monotonic() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

double CpuSeconds() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// When the process started, on the monotonic clock (boot-time based).
double ProcessStart() {
    std::ifstream in("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string f;
    for (int i = 3; i <= 22; ++i) fields >> f;  // field 22: start time in clock ticks
    timespec boot;
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const double sinceBoot = boot.tv_sec + boot.tv_nsec * 1e-9;
    const double started = std::atof(f.c_str()) / sysconf(_SC_CLK_TCK);
    return Monotonic() - (sinceBoot - started);
}

double Monotonic0() {
    static const double start = Monotonic();
    return start;
}

class TimedHost : public BBVantixGame {
public:
    TimedHost(GLFWwindow *window, double seconds, bool play, bool soak)
        : BBVantixGame(window), window_(window), seconds_(seconds), play_(play), soak_(soak) {}

    void UpdateGame() override {
        const double now = Monotonic();
        if (soak_ && now - lastGcReport_ >= 10.0) {
            lastGcReport_ = now;
            std::printf("gc t=%.1f bytes=%d max_bytes=%d objects=%d\n", now - Monotonic0(),
                        gc_alloced_bytes, gc_max_alloced_bytes, gc_alloced_objs);
            std::fflush(stdout);
        }
        if (measuring_) updates_.push_back(now);
        BBVantixGame::UpdateGame();
        c_MyApp *app = static_cast<c_MyApp *>(bb_app__app);
        if (!app || app->loadStage > 0) return;
        if (play_ && titleAt_ > 0 && app->screenMode == kScreenMenu && !started_) {
            app->screenMode = kScreenEnterGame;
            started_ = true;
        }
        if (!measuring_ && titleAt_ > 0 && now - titleAt_ > 2.0) {
            measuring_ = true;
            measureStart_ = now;
            cpuStart_ = CpuSeconds();
        }
        if (measuring_ && now - measureStart_ >= seconds_) {
            cpu_ = CpuSeconds() - cpuStart_;
            wall_ = now - measureStart_;
            glfwSetWindowShouldClose(window_, GLFW_TRUE);
        }
    }

    void RenderGame() override {
        BBVantixGame::RenderGame();
        c_MyApp *app = static_cast<c_MyApp *>(bb_app__app);
        if (titleAt_ == 0 && app && app->loadStage == 0 && app->screenMode == kScreenMenu) {
            titleAt_ = Monotonic();
        }
        if (measuring_) ++renders_;
    }

    void Report(double processStart) const {
        std::vector<double> gaps;
        for (size_t i = 1; i < updates_.size(); ++i) gaps.push_back(updates_[i] - updates_[i - 1]);
        double mean = 0, var = 0, worst = 0;
        for (double g : gaps) mean += g;
        mean /= gaps.empty() ? 1 : gaps.size();
        for (double g : gaps) {
            var += (g - mean) * (g - mean);
            worst = std::max(worst, g);
        }
        const double sd = gaps.size() > 1 ? std::sqrt(var / (gaps.size() - 1)) : 0;
        int late = 0;  // gaps more than half a period late
        for (double g : gaps) late += g > 1.5 / 60.0;
        std::printf(
            "seconds=%.2f updates=%zu updates_per_s=%.3f gap_mean_ms=%.3f gap_sd_ms=%.3f "
            "gap_worst_ms=%.3f gaps_over_25ms=%d renders_per_s=%.2f cpu_percent=%.2f "
            "startup_to_title_ms=%.1f\n",
            wall_, updates_.size(), updates_.size() / wall_, 1000 * mean, 1000 * sd,
            1000 * worst, late, renders_ / wall_, 100 * cpu_ / wall_,
            1000 * (titleAt_ - processStart));
        std::fflush(stdout);
    }

private:
    GLFWwindow *window_;
    double seconds_;
    bool play_;
    bool soak_;
    double lastGcReport_ = 0;
    bool started_ = false;
    bool measuring_ = false;
    double titleAt_ = 0;
    double measureStart_ = 0;
    double cpuStart_ = 0;
    double cpu_ = 0;
    double wall_ = 1;
    long renders_ = 0;
    std::vector<double> updates_;
};

}  // namespace

int main(int argc, char **argv) {
    const double processStart = ProcessStart();
    Monotonic0();
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    const bool play = argc > 2 && std::strcmp(argv[2], "play") == 0;
    const bool soak = argc > 2 && std::strcmp(argv[2], "soak") == 0;
    if (!glfwInit()) {
        std::puts("glfwInit failed");
        return 1;
    }
    GLFWwindow *window = OpenGameWindow();
    if (!window) {
        std::puts("glfwOpenWindow failed");
        return 1;
    }
    TimedHost *host = new TimedHost(window, seconds, play, soak);
    bb_std_main(0, nullptr);
    if (host->Delegate()) host->Run();
    host->Report(processStart);
    glfwTerminate();
    // The host object lives until the process ends, as in the program.
    std::_Exit(0);
}
