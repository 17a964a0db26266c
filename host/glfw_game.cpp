// BBGlfwGame's services: the update rate and clock, the desktop path
// mapping, the mouse cursor, opening a URL, and the mouse-position and
// window-close callbacks.
#include <sys/wait.h>
#include <cerrno>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "host/files.h"
#include "host/host.h"
#include "host/platform.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

// Milliseconds per second, as the clock conversion uses it.
constexpr float kMillisPerSecond = 1000.0f;

// The desktop's URL opener, run without a shell.
const char *const kUrlOpener = "xdg-open";

// Exit status of a child whose exec failed.
constexpr int kExecFailed = 127;

}  // namespace

// ---------------------------------------------------------------------------
// Construction
// ---------------------------------------------------------------------------

BBGlfwGame *BBGlfwGame::_glfwGame = nullptr;

BBGlfwGame::BBGlfwGame(GLFWwindow *window, HostPlatform *platform)
    : _window(window), _platform(platform) {
    if (!_platform) {
        _platform = new GlfwPlatform(window);
        _ownsPlatform = true;
    }
    _glfwGame = this;
}

BBGlfwGame::~BBGlfwGame() {
    if (_ownsPlatform) delete _platform;
    if (_glfwGame == this) _glfwGame = nullptr;
    if (_game == this) _game = nullptr;
}

// ---------------------------------------------------------------------------
// Update rate and clock
// ---------------------------------------------------------------------------

void BBGlfwGame::SetUpdateRate(int hertz) {
    BBGame::SetUpdateRate(hertz);
    if (hertz == 0) return;
    _updatePeriod = 1.0 / hertz;
    _nextUpdateTime = _platform->Now() + _updatePeriod;
}

// Through 64 bits and wrapped to 32, so the clock keeps counting (modulo
// 2^32) past 2^31 milliseconds instead of overflowing.
int BBGlfwGame::Millisecs() {
    const int64_t millis = static_cast<int64_t>(_platform->Now() * kMillisPerSecond);
    return static_cast<int>(static_cast<uint32_t>(millis));
}

// ---------------------------------------------------------------------------
// Paths, cursor, URLs
// ---------------------------------------------------------------------------

String BBGlfwGame::PathToFilePath(String path) {
    return host_MapVantixPath(path);
}

void BBGlfwGame::SetMouseVisible(bool visible) {
    _platform->SetCursorVisible(visible);
}

// Hands the URL to xdg-open without a shell and without waiting for it: the
// intermediate child exits at once, so the opener is adopted by init and
// never becomes a zombie of this process.
void BBGlfwGame::OpenUrl(String url) {
    const std::string text = host_Utf8(url);
    const pid_t child = fork();
    if (child < 0) return;
    if (child == 0) {
        if (fork() == 0) {
            execlp(kUrlOpener, kUrlOpener, text.c_str(), static_cast<char *>(nullptr));
            _exit(kExecFailed);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

// ---------------------------------------------------------------------------
// Window callbacks
// ---------------------------------------------------------------------------

void BBGlfwGame::OnMousePos(int x, int y) {
    if (_game) _game->MouseEvent(kHostMouseMoved, -1, static_cast<float>(x), static_cast<float>(y));
}

// The close button: one press and release of the close key; the window
// stays open (0) and the game decides what to do.
int BBGlfwGame::OnWindowClose() {
    if (_game) {
        _game->KeyEvent(kHostKeyPressed, kHostCloseKey);
        _game->KeyEvent(kHostKeyReleased, kHostCloseKey);
    }
    return 0;
}
