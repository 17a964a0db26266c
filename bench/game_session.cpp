// Starting the real game once for the frame benchmarks.
#include "bench/game_session.h"

#include <GLFW/glfw3.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "host/app.h"

void BenchGame::Update() {
    clock->now += kBenchUpdateSeconds;
    host->UpdateGame();
}

void BenchGame::FinishLoading() {
    for (int i = 0; i < 100 && app->loadStage > 0; ++i) Update();
}

BenchGame &bench_TheGame() {
    static BenchGame game = [] {
        BenchGame g;
        namespace fs = std::filesystem;
        const fs::path pack = fs::path(TESSELON_BINARY_DIR) / "data";
        char tmpl[] = "/tmp/tesselon-bench-XXXXXX";
        if (!fs::exists(pack) || !mkdtemp(tmpl) || chdir(tmpl) != 0) {
            g.error = "no asset pack in the build folder";
            return g;
        }
        std::error_code ec;
        fs::create_directory_symlink(pack, "data", ec);
        if (!glfwInit() || !(g.window = OpenGameWindow())) {
            g.error = "no window (run under scripts/with-display.sh)";
            return g;
        }
        g.clock = new ManualClock(g.window);
        g.host = new BBVantixGame(g.window, g.clock);
        bb_std_main(0, nullptr);
        g.host->StartGame();
        g.app = static_cast<c_MyApp *>(bb_app__app);
        g.host->RenderGame();
        g.FinishLoading();
        return g;
    }();
    return game;
}
