// The run loop's narrow platform contract: a clock, sleeping, event polling
// and waiting, and the window-state queries. GLFW is the production side
// (GlfwPlatform); unit tests substitute a scripted window and a fake clock.
// Window callbacks only record state or forward to the host's static
// callbacks; they run only inside PollEvents and WaitEvents.
#pragma once

struct GLFWwindow;

class HostPlatform {
public:
    virtual ~HostPlatform() {}

    // Seconds since the platform's clock started.
    virtual double Now() = 0;
    // Blocks for the given number of seconds.
    virtual void Sleep(double seconds) = 0;
    // Processes pending window events (callbacks run inside).
    virtual void PollEvents() = 0;
    // Blocks until at least one window event arrives, then processes it.
    virtual void WaitEvents() = 0;

    virtual bool WindowOpen() = 0;
    virtual bool WindowIconified() = 0;
    virtual bool WindowActive() = 0;

    // Connects the window's key, character, mouse-button, mouse-position and
    // close callbacks to BBGlfwGame's static callbacks.
    virtual void InstallCallbacks() = 0;
    virtual void SetCursorVisible(bool visible) = 0;
};

// GLFW 3 over one window. A null window answers "closed" and ignores the
// window operations, so a host object can exist without a display.
class GlfwPlatform : public HostPlatform {
public:
    explicit GlfwPlatform(GLFWwindow *window) : _window(window) {}

    double Now() override;
    void Sleep(double seconds) override;
    void PollEvents() override;
    void WaitEvents() override;
    bool WindowOpen() override;
    bool WindowIconified() override;
    bool WindowActive() override;
    void InstallCallbacks() override;
    void SetCursorVisible(bool visible) override;

private:
    GLFWwindow *_window;
};

// The game window as the host opens it: 640 x 480, resizable, titled
// "Tesselon", centred on the primary monitor's desktop, with the icons of
// ./data/icons (see window_icon.h), its GL context made current. Needs
// glfwInit first; null when the window cannot be opened.
GLFWwindow *OpenGameWindow();
