// The native host: the one window, the fixed-rate run loop and the guarded
// event dispatch into the application's delegate.
//
// BBGame is the platform-neutral host base, BBGlfwGame the desktop host over
// GLFW 3, BBVantixGame the concrete host that `main` starts. The host never
// calls game code directly: every call goes through a BBGameDelegate, via
// the guarded event methods StartGame ... DiscardGraphics, which check the
// started/suspended flags, turn an uncaught ThrowableObject into Die, and
// run the collector after the delegate returns.
#pragma once

#include <cstdio>

#include "runtime/runtime.h"

struct GLFWwindow;
class HostPlatform;

// ---------------------------------------------------------------------------
// Event type codes the desktop host produces (the input device defines the
// full set and interprets them).
// ---------------------------------------------------------------------------
enum HostEventType {
    kHostKeyPressed = 1,
    kHostKeyReleased = 2,
    kHostCharTyped = 3,
    kHostMousePressed = 4,
    kHostMouseReleased = 5,
    kHostMouseMoved = 6,
};

// The window's close button arrives as one press and release of this key.
constexpr int kHostCloseKey = 432;

// ---------------------------------------------------------------------------
// BBGameDelegate: what the host calls. Every operation does nothing here.
// ---------------------------------------------------------------------------
class BBGameDelegate : public Object {
public:
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int /*event*/, int /*data*/) {}
    virtual void MouseEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void TouchEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void MotionEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/, float /*z*/) {}
    virtual void DiscardGraphics() {}
};

// ---------------------------------------------------------------------------
// BBGame: platform-neutral host base. A plain heap object, never deleted.
// ---------------------------------------------------------------------------
class BBGame {
public:
    BBGame();
    virtual ~BBGame() {}

    // The one host object (set by the constructor).
    static BBGame *Game() { return _game; }

    virtual void SetDelegate(BBGameDelegate *delegate);
    virtual BBGameDelegate *Delegate();
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool KeyboardEnabled();
    virtual void SetUpdateRate(int hertz);
    virtual int UpdateRate();
    virtual bool Started();
    virtual bool Suspended();
    virtual int Millisecs();
    virtual void GetDate(Array<int> date);
    virtual int SaveState(String state);
    virtual String LoadState();
    virtual String LoadString(String path);
    virtual bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons);
    virtual void OpenUrl(String url);
    virtual void SetMouseVisible(bool visible);
    virtual String PathToFilePath(String path);
    virtual FILE *OpenFile(String path, String mode);
    virtual unsigned char *LoadData(String path, int *length);
    [[noreturn]] virtual void Die(ThrowableObject *ex);
    virtual void gc_collect();

    // Guarded event methods.
    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();

    static BBGame *_game;

protected:
    BBGameDelegate *_delegate = nullptr;
    bool _keyboardEnabled = false;
    int _updateRate = 0;
    bool _started = false;
    bool _suspended = false;
};

// ---------------------------------------------------------------------------
// BBGlfwGame: the desktop host. Window queries, clock, sleep and event
// polling go through a HostPlatform (host/platform.h); the production
// platform is GLFW, tests substitute a scripted one.
// ---------------------------------------------------------------------------
class BBGlfwGame : public BBGame {
public:
    // window: the GLFW window the host drives (null: GLFW's current context
    // window). platform: the loop's clock/poll/window seam (null: GLFW over
    // that window; the host then owns it).
    explicit BBGlfwGame(GLFWwindow *window = nullptr, HostPlatform *platform = nullptr);
    ~BBGlfwGame() override;

    void SetUpdateRate(int hertz) override;
    int Millisecs() override;
    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                      Array<bool> buttons) override;  // input/
    void OpenUrl(String url) override;
    void SetMouseVisible(bool visible) override;
    String PathToFilePath(String path) override;

    // Decoded pixels (caller frees), or null. Defined in graphics/.
    virtual unsigned char *LoadImageData(String path, int *width, int *height, int *depth);
    // Interleaved samples (caller frees), or null. Defined in audio/.
    virtual unsigned char *LoadAudioData(String path, int *length, int *channels, int *format,
                                         int *hertz);
    // The run loop; returns when the window is no longer open.
    virtual void Run();

    // Callbacks the platform installs (GLFW 3 arguments already reduced to
    // these). OnKey, OnChar, OnMouseButton, TransKey, KeyToChar: input/.
    static void OnKey(int key, int action);
    static void OnChar(int chr, int action);
    static void OnMouseButton(int button, int action);
    static void OnMousePos(int x, int y);
    static int OnWindowClose();
    static int TransKey(int key);
    static int KeyToChar(int key);

    // The window this host drives (may be null in tests without a display).
    GLFWwindow *GetGLFWwindow() { return _window; }
    HostPlatform *Platform() { return _platform; }

    static BBGlfwGame *GlfwGame() { return _glfwGame; }
    static BBGlfwGame *_glfwGame;

protected:
    GLFWwindow *_window = nullptr;
    HostPlatform *_platform = nullptr;
    bool _ownsPlatform = false;
    bool _iconified = false;
    double _nextUpdateTime = 0.0;
    double _updatePeriod = 0.0;
};

// ---------------------------------------------------------------------------
// BBVantixGame: the concrete host `main` starts.
// ---------------------------------------------------------------------------
class BBVantixGame : public BBGlfwGame {
public:
    explicit BBVantixGame(GLFWwindow *window = nullptr, HostPlatform *platform = nullptr);
    ~BBVantixGame() override;

    // Start-up, run and shut-down; ends the process with exit().
    [[noreturn]] static void Main(int argc, const char **argv);
};
