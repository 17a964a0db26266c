// Joystick polling over GLFW 3, and the rearrangement of a joystick's raw
// axes into the two sticks the device reports.

#include <GLFW/glfw3.h>

#include <algorithm>
#include <utility>

#include "host/host.h"
#include "input/joystick.h"

// ---------------------------------------------------------------------------
// Rearrangement
// ---------------------------------------------------------------------------

void StoreJoystickState(const float *axes, int axisCount, const unsigned char *pressed,
                        int buttonCount, Array<float> axisX, Array<float> axisY, Array<float> axisZ,
                        Array<bool> buttons) {
    axisCount = std::clamp(axisCount, 0, kJoystickMaxAxes);
    buttonCount = std::clamp(buttonCount, 0, kJoystickMaxButtons);
    float r[kJoystickMaxAxes] = {};
    std::copy(axes, axes + axisCount, r);
    if (axisCount == 4) {
        r[4] = r[2];
        r[2] = 0;
    } else if (axisCount == 5) {
        std::swap(r[3], r[4]);
    }
    axisX[0] = r[0];
    axisX[1] = r[3];
    axisY[0] = r[1];
    axisY[1] = r[4];
    axisZ[0] = r[2];
    axisZ[1] = r[5];
    for (int i = 0; i < buttonCount; ++i) buttons[i] = pressed[i] == GLFW_PRESS;
}

// ---------------------------------------------------------------------------
// Polling
// ---------------------------------------------------------------------------

bool BBGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    int joystick = GLFW_JOYSTICK_1 + port;
    if (joystick < GLFW_JOYSTICK_1 || joystick > GLFW_JOYSTICK_LAST) return false;
    if (!glfwJoystickPresent(joystick)) return false;
    int axisCount = 0, buttonCount = 0;
    const float *axes = glfwGetJoystickAxes(joystick, &axisCount);
    const unsigned char *pressed = glfwGetJoystickButtons(joystick, &buttonCount);
    if (!axes) axisCount = 0;
    if (!pressed) buttonCount = 0;
    StoreJoystickState(axes, axisCount, pressed, buttonCount, joyx, joyy, joyz, buttons);
    return true;
}
