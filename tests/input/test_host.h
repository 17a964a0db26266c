// A host for input tests: a real BBGlfwGame (so OnKey and friends reach the
// device through the host's guarded event methods) whose joystick polling
// is scripted, with a delegate that forwards events to one input device.
#pragma once

#include <vector>

#include "host/host.h"
#include "input/device.h"

// One scripted joystick: present or not, its axes and button bytes as GLFW
// would report them.
struct FakeJoystick {
    bool present = false;
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
};

class ForwardingDelegate : public BBGameDelegate {
public:
    c_InputDevice *input = nullptr;

    void KeyEvent(int event, int data) override { input->p_KeyEvent(event, data); }
    void MouseEvent(int event, int data, float x, float y) override {
        input->p_MouseEvent(event, data, x, y);
    }
    void mark() override { gc_mark_q(input); }
};

class TestHost : public BBGlfwGame {
public:
    FakeJoystick joysticks[4];
    std::vector<int> polled;  // ports asked, in order

    explicit TestHost(GLFWwindow *window = nullptr) : BBGlfwGame(window) {
        delegate = new ForwardingDelegate();
        delegate->input = (new c_InputDevice())->m_new();
        SetDelegate(delegate);
        StartGame();
    }

    c_InputDevice *input() { return delegate->input; }

    bool PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z,
                      Array<bool> buttons) override;

private:
    ForwardingDelegate *delegate;
};
