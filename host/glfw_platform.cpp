// The loop's platform contract over GLFW 3, and opening the game window.
// The window callbacks reduce GLFW 3's arguments to the host's static
// callbacks; they run only inside glfwPollEvents and glfwWaitEvents.
#include <GLFW/glfw3.h>

#include <cerrno>
#include <ctime>

#include "host/host.h"
#include "host/platform.h"
#include "host/window_icon.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
const char *const kWindowTitle = "Tesselon";

constexpr double kNanosPerSecond = 1e9;

void KeyCallback(GLFWwindow *, int key, int, int action, int) {
    // Key repeat arrives as its own action; the host treats it as a press.
    BBGlfwGame::OnKey(key, action == GLFW_REPEAT ? GLFW_PRESS : action);
}

void CharCallback(GLFWwindow *, unsigned int codepoint) {
    BBGlfwGame::OnChar(static_cast<int>(codepoint), GLFW_PRESS);
}

void MouseButtonCallback(GLFWwindow *, int button, int action, int) {
    BBGlfwGame::OnMouseButton(button, action);
}

void CursorPosCallback(GLFWwindow *, double x, double y) {
    BBGlfwGame::OnMousePos(static_cast<int>(x), static_cast<int>(y));
}

// A close request is only reported; the window stays open.
void CloseCallback(GLFWwindow *window) {
    if (BBGlfwGame::OnWindowClose() == 0) glfwSetWindowShouldClose(window, GLFW_FALSE);
}

}  // namespace

// ---------------------------------------------------------------------------
// GlfwPlatform
// ---------------------------------------------------------------------------

double GlfwPlatform::Now() {
    return glfwGetTime();
}

void GlfwPlatform::Sleep(double seconds) {
    if (seconds <= 0) return;
    struct timespec left;
    left.tv_sec = static_cast<time_t>(seconds);
    left.tv_nsec =
        static_cast<long>((seconds - static_cast<double>(left.tv_sec)) * kNanosPerSecond);
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

void GlfwPlatform::PollEvents() {
    glfwPollEvents();
}

void GlfwPlatform::WaitEvents() {
    glfwWaitEvents();
}

bool GlfwPlatform::WindowOpen() {
    return _window && !glfwWindowShouldClose(_window);
}

bool GlfwPlatform::WindowIconified() {
    return _window && glfwGetWindowAttrib(_window, GLFW_ICONIFIED) != 0;
}

bool GlfwPlatform::WindowActive() {
    return _window && glfwGetWindowAttrib(_window, GLFW_FOCUSED) != 0;
}

void GlfwPlatform::InstallCallbacks() {
    if (!_window) return;
    glfwSetKeyCallback(_window, KeyCallback);
    glfwSetCharCallback(_window, CharCallback);
    glfwSetMouseButtonCallback(_window, MouseButtonCallback);
    glfwSetCursorPosCallback(_window, CursorPosCallback);
    glfwSetWindowCloseCallback(_window, CloseCallback);
}

void GlfwPlatform::SetCursorVisible(bool visible) {
    if (!_window) return;
    glfwSetInputMode(_window, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

// ---------------------------------------------------------------------------
// The game window
// ---------------------------------------------------------------------------

GLFWwindow *OpenGameWindow() {
    const GLFWvidmode *desktop = glfwGetVideoMode(glfwGetPrimaryMonitor());

    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    // Default colour depth; no alpha, depth or stencil bits requested.
    glfwWindowHint(GLFW_ALPHA_BITS, 0);
    glfwWindowHint(GLFW_DEPTH_BITS, 0);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    // Shown only once it is centred.
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);

    GLFWwindow *window =
        glfwCreateWindow(kWindowWidth, kWindowHeight, kWindowTitle, nullptr, nullptr);
    if (!window) return nullptr;
    if (desktop) {
        glfwSetWindowPos(window, (desktop->width - kWindowWidth) / 2,
                         (desktop->height - kWindowHeight) / 2);
    }
    glfwSetWindowTitle(window, kWindowTitle);
    SetGameWindowIcon(window);
    glfwShowWindow(window);
    glfwMakeContextCurrent(window);
    return window;
}
