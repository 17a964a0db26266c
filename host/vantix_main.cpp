// BBVantixGame::Main: start-up, run and shut-down of the program.
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>

#include "host/app.h"
#include "host/host.h"
#include "host/platform.h"

// ---------------------------------------------------------------------------
// The concrete host
// ---------------------------------------------------------------------------

BBVantixGame::BBVantixGame(GLFWwindow *window, HostPlatform *platform)
    : BBGlfwGame(window, platform) {}

BBVantixGame::~BBVantixGame() {}

// ---------------------------------------------------------------------------
// Start-up
// ---------------------------------------------------------------------------

void BBVantixGame::Main(int argc, const char **argv) {
    if (!glfwInit()) {
        puts("glfwInit failed");
        exit(-1);
    }
    GLFWwindow *window = OpenGameWindow();
    if (!window) {
        puts("glfwOpenWindow failed");
        exit(-1);
    }

    // Never deleted: the process ends through exit.
    BBVantixGame *game = new BBVantixGame(window);
    try {
        bb_std_main(argc, argv);
    } catch (ThrowableObject *ex) {
        game->Die(ex);
    }
    if (game->Delegate()) game->Run();

    glfwTerminate();
    exit(0);
}
