// CPU cost of each screen of the real game with the real devices and asset
// pack: one host update (input, p_OnUpdate, collector step) and one render
// (BeginRender, p_OnRender, EndRender with the swap) on the loading screen,
// the title menu, the credits box, a game in play, the pause panel and the
// game-over sequence. Each update benchmark also counts heap allocations
// (malloc, calloc, realloc of the whole process) and collected objects made
// per update once the screen is in its steady state. Needs DISPLAY.
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "bench/alloc_counter.h"
#include "bench/game_session.h"
#include "game/myapp.h"
#include "host/app.h"
#include "host/host.h"
#include "host/platform.h"

namespace {

// Puts the game on a screen; called once before the steady-state updates
// and again whenever `left` says the screen has moved on by itself.
struct Screen {
    std::function<void(c_MyApp *)> enter;
    std::function<bool(c_MyApp *)> left;
};

void StartGame(c_MyApp *app) {
    app->creditsOpen = 0;
    app->screenMode = kScreenEnterGame;
}

Screen ScreenNamed(const std::string &name) {
    if (name == "title") {
        return {[](c_MyApp *app) {
                    app->screenMode = kScreenMenu;
                    app->creditsOpen = 0;
                },
                [](c_MyApp *app) { return app->screenMode != kScreenMenu; }};
    }
    if (name == "credits") {
        return {[](c_MyApp *app) {
                    app->screenMode = kScreenMenu;
                    app->creditsOpen = 1;
                },
                [](c_MyApp *app) { return app->creditsOpen != 1; }};
    }
    if (name == "play") {
        return {StartGame, [](c_MyApp *app) {
                    return app->screenMode != kScreenPlaying || app->gameEnded != 0;
                }};
    }
    if (name == "pause") {
        return {[](c_MyApp *app) {
                    if (app->screenMode != kScreenPlaying || app->gameEnded) StartGame(app);
                    app->paused = 1;
                    app->pausePanelDirection = 1;
                },
                [](c_MyApp *app) { return app->paused != 1 || app->screenMode != kScreenPlaying; }};
    }
    // Game over: the sequence of a game that has just ended, held at its
    // middle so that it never hands over to the title menu.
    return {
        [](c_MyApp *app) {
            if (app->screenMode != kScreenPlaying) StartGame(app);
            app->paused = 0;
            app->gameEnded = 1;
            app->gameOverTimer = 30;
        },
        [](c_MyApp *app) { return app->screenMode != kScreenPlaying || app->gameOverTimer > 60; }};
}

void Enter(BenchGame &g, const Screen &s) {
    s.enter(g.app);
    for (int i = 0; i < 3; ++i) g.Update();  // mode 11 becomes 10 and so on
    s.enter(g.app);
}

void BM_Update(benchmark::State &state, const std::string &name) {
    BenchGame &g = bench_TheGame();
    if (!g.error.empty()) return state.SkipWithError(g.error.c_str());
    const Screen s = ScreenNamed(name);
    Enter(g, s);
    for (int i = 0; i < 60; ++i) {
        g.Update();
        if (s.left(g.app)) Enter(g, s);
    }
    long allocs = 0;
    long objects = 0;
    for (auto _ : state) {
        const long a = bench_AllocationCount();
        const int o = gc_alloced_objs;
        g.Update();
        allocs += bench_AllocationCount() - a;
        objects += gc_alloced_objs - o;
        if (s.left(g.app)) {
            state.PauseTiming();
            Enter(g, s);
            state.ResumeTiming();
        }
    }
    state.counters["mallocs_per_update"] =
        benchmark::Counter(static_cast<double>(allocs), benchmark::Counter::kAvgIterations);
    state.counters["gc_objects_per_update"] =
        benchmark::Counter(static_cast<double>(objects), benchmark::Counter::kAvgIterations);
}

void BM_Render(benchmark::State &state, const std::string &name) {
    BenchGame &g = bench_TheGame();
    if (!g.error.empty()) return state.SkipWithError(g.error.c_str());
    const Screen s = ScreenNamed(name);
    Enter(g, s);
    for (int i = 0; i < 30; ++i) g.Update();
    if (s.left(g.app)) Enter(g, s);
    for (auto _ : state) g.host->RenderGame();
    state.counters["draw_records"] = g.app->drawListLength / kDrawRecordFloats;
}

// The loading screen lasts one pass of the staged loader; each pass loads
// the whole pack again, so this is the cost of a loading update, files
// included.
void BM_UpdateLoading(benchmark::State &state) {
    BenchGame &g = bench_TheGame();
    if (!g.error.empty()) return state.SkipWithError(g.error.c_str());
    g.app->screenMode = kScreenMenu;
    g.app->p_Reload();
    long allocs = 0;
    for (auto _ : state) {
        const long a = bench_AllocationCount();
        g.Update();
        allocs += bench_AllocationCount() - a;
        if (g.app->loadStage <= 0) {
            state.PauseTiming();
            g.app->p_Reload();
            state.ResumeTiming();
        }
    }
    state.counters["mallocs_per_update"] =
        benchmark::Counter(static_cast<double>(allocs), benchmark::Counter::kAvgIterations);
    g.FinishLoading();
}

void BM_RenderLoading(benchmark::State &state) {
    BenchGame &g = bench_TheGame();
    if (!g.error.empty()) return state.SkipWithError(g.error.c_str());
    g.app->p_Reload();
    g.Update();
    for (auto _ : state) g.host->RenderGame();
    g.FinishLoading();
}

}  // namespace

BENCHMARK(BM_UpdateLoading)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK(BM_RenderLoading)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Update, title, std::string("title"))
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Render, title, std::string("title"))
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Update, credits, std::string("credits"))
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Render, credits, std::string("credits"))
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Update, play, std::string("play"))
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Render, play, std::string("play"))
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Update, pause, std::string("pause"))
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Render, pause, std::string("pause"))
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Update, game_over, std::string("game_over"))
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_Render, game_over, std::string("game_over"))
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();

BENCHMARK_MAIN();
