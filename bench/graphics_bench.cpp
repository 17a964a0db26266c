// Frame cost of the render device on this machine's OpenGL (Mesa llvmpipe
// on the test display), in a 640 x 480 window: one frame is BeginRender,
// 2000 textured quads, EndRender with the buffer swap.
//   BM_FrameQuadsOneTexture: every quad from one texture, so the batch only
//     flushes when full (8 draw calls).
//   BM_FrameQuadsAlternatingBlend: the blend mode changes before every quad,
//     the draw list's worst case (one draw call per quad).
// Run under scripts/with-display.sh.
#include <benchmark/benchmark.h>
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>

#include "graphics/device.h"
#include "runtime/runtime.h"

namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
constexpr int kQuadsPerFrame = 2000;
constexpr int kSheetSide = 64;  // texture, pixels
constexpr int kCellSide = 16;   // source rectangle of each quad, pixels

struct Scene {
    GLFWwindow *window = nullptr;
    gxtkGraphics *device = nullptr;
    gxtkSurface *sheet = nullptr;
};

Scene &GetScene() {
    static Scene scene = [] {
        Scene s;
        if (!glfwInit()) {
            std::fprintf(stderr, "no display: run under scripts/with-display.sh\n");
            std::exit(1);
        }
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        s.window =
            glfwCreateWindow(kWindowWidth, kWindowHeight, "Tesselon bench", nullptr, nullptr);
        if (!s.window) std::exit(1);
        glfwMakeContextCurrent(s.window);
        glfwSwapInterval(0);
        s.device = new gxtkGraphics();
        s.sheet = s.device->CreateSurface(kSheetSide, kSheetSide);
        Array<int> pixels(kSheetSide * kSheetSide);
        for (int i = 0; i < pixels.Length(); ++i)
            pixels[i] = int(0xc0000000u | unsigned(i * 2654435761u >> 8));
        s.device->WritePixels2(s.sheet, pixels, 0, 0, kSheetSide, kSheetSide, 0, kSheetSide);
        return s;
    }();
    return scene;
}

void DrawQuad(gxtkGraphics *device, gxtkSurface *sheet, int i) {
    float x = float((i * 37) % (kWindowWidth - kCellSide));
    float y = float((i * 53) % (kWindowHeight - kCellSide));
    int src = (i % 4) * kCellSide;
    device->DrawSurface2(sheet, x, y, src, src, kCellSide, kCellSide);
}

void RunFrames(benchmark::State &state, bool alternateBlend) {
    Scene &s = GetScene();
    for (auto _ : state) {
        s.device->BeginRender();
        s.device->SetColor(255, 255, 255);
        s.device->SetAlpha(1);
        s.device->SetMatrix(1, 0, 0, 1, 0, 0);
        s.device->Cls(0, 0, 0);
        for (int i = 0; i < kQuadsPerFrame; ++i) {
            if (alternateBlend) s.device->SetBlend(i & 1);
            DrawQuad(s.device, s.sheet, i);
        }
        s.device->EndRender();
    }
    state.counters["draw_calls"] = s.device->DrawCalls();
    state.counters["vertices"] = s.device->VerticesDrawn();
}

void BM_FrameQuadsOneTexture(benchmark::State &state) {
    RunFrames(state, false);
}
void BM_FrameQuadsAlternatingBlend(benchmark::State &state) {
    RunFrames(state, true);
}

// CPU time of the drawing thread alone, then of the whole process (the
// driver rasterises on its own threads).
BENCHMARK(BM_FrameQuadsOneTexture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameQuadsAlternatingBlend)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameQuadsOneTexture)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK(BM_FrameQuadsAlternatingBlend)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
