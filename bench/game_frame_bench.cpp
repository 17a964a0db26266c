// The game object's frame on the test display with the real devices and the
// real asset pack: CPU time and heap allocations of one p_OnUpdate in a
// steady state (title menu, debug overlay, no screen), and CPU time of one
// render of a full draw list (2499 records). Heap allocations are counted by
// a malloc hook that exists only in this program. Needs DISPLAY.
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/alloc_counter.h"
#include "bench/game_session.h"
#include "game/myapp.h"
#include "graphics/graphics.h"
#include "host/app.h"
#include "host/host.h"
#include "host/platform.h"

namespace {

constexpr int kFullDrawList = 2499;

// One host update (input begin, p_OnUpdate, input end, collector step) per
// iteration, the clock moved by one update period.
void RunUpdates(benchmark::State &state, BenchGame &g) {
    for (int i = 0; i < 120; ++i) {  // settle into the steady state
        g.Update();
    }
    const long allocsBefore = bench_AllocationCount();
    const int objsBefore = gc_alloced_objs;
    for (auto _ : state) {
        g.Update();
    }
    state.counters["mallocs_per_update"] =
        benchmark::Counter(static_cast<double>(bench_AllocationCount() - allocsBefore),
                           benchmark::Counter::kAvgIterations);
    state.counters["gc_objects_per_update"] = benchmark::Counter(
        static_cast<double>(gc_alloced_objs - objsBefore), benchmark::Counter::kAvgIterations);
    state.counters["draw_records"] = g.app->drawListLength / kDrawRecordFloats;
}

void BM_UpdateTitleMenu(benchmark::State &state) {
    BenchGame &g = bench_TheGame();
    if (!g.error.empty()) return state.SkipWithError(g.error.c_str());
    g.app->screenMode = kScreenMenu;
    DebugMode = 0;
    RunUpdates(state, g);
}

void BM_UpdateTitleMenuWithDebugOverlay(benchmark::State &state) {
    BenchGame &g = bench_TheGame();
    if (!g.error.empty()) return state.SkipWithError(g.error.c_str());
    g.app->screenMode = kScreenMenu;
    DebugMode = 1;
    RunUpdates(state, g);
    DebugMode = 0;
}

// The frame driver alone: a screen mode without a screen.
void BM_UpdateFrameDriverOnly(benchmark::State &state) {
    BenchGame &g = bench_TheGame();
    if (!g.error.empty()) return state.SkipWithError(g.error.c_str());
    g.app->screenMode = kScreenNone;
    DebugMode = 0;
    RunUpdates(state, g);
    g.app->screenMode = kScreenMenu;
}

// A full list: rectangles, ellipses and font characters in turn.
void FillDrawList(c_MyApp *app) {
    app->p_CLS2D(0, 0, 80, 1);
    for (int i = 0; i < kFullDrawList; ++i) {
        float x = static_cast<float>(i % 64) * 10.0f;
        float y = static_cast<float>(i / 64) * 12.0f;
        app->p_SetCol(static_cast<float>(i % 255), 128, 200, 0.8f);
        switch (i % 3) {
            case 0:
                app->p_Rect(x, y, 8, 8);
                break;
            case 1:
                app->p_Oval(x, y, 4, 4);
                break;
            default:
                app->p_DrawImg(app->fontSlot, x, y, static_cast<float>(33 + i % 90));
                break;
        }
    }
}

// The whole frame: BeginRender, p_OnRender, EndRender with the buffer swap.
void BM_RenderFullDrawList(benchmark::State &state) {
    BenchGame &g = bench_TheGame();
    if (!g.error.empty()) return state.SkipWithError(g.error.c_str());
    FillDrawList(g.app);
    int calls = 0;
    for (auto _ : state) {
        g.host->RenderGame();
        calls = bb_graphics_device->DrawCalls();
    }
    state.counters["records"] = g.app->drawListLength / kDrawRecordFloats;
    state.counters["draw_calls"] = calls;
}

// p_OnRender alone (the replay and its draw calls), without the swap.
void BM_OnRenderFullDrawList(benchmark::State &state) {
    BenchGame &g = bench_TheGame();
    if (!g.error.empty()) return state.SkipWithError(g.error.c_str());
    FillDrawList(g.app);
    gxtkGraphics *device = bb_graphics_device;
    for (auto _ : state) {
        state.PauseTiming();
        device->BeginRender();
        bb_graphics_BeginRender();
        state.ResumeTiming();
        g.app->p_OnRender();
        device->Flush();
        state.PauseTiming();
        bb_graphics_renderDevice = nullptr;
        device->EndRender();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_UpdateFrameDriverOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateTitleMenu)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateTitleMenuWithDebugOverlay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderFullDrawList)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnRenderFullDrawList)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
