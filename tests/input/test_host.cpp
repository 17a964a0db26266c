// The scripted joystick polling of the input tests' host.

#include "tests/input/test_host.h"

#include "input/joystick.h"

bool TestHost::PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z,
                            Array<bool> buttons) {
    polled.push_back(port);
    const FakeJoystick &joy = joysticks[port];
    if (!joy.present) return false;
    StoreJoystickState(joy.axes.data(), int(joy.axes.size()), joy.buttons.data(),
                       int(joy.buttons.size()), x, y, z, buttons);
    return true;
}
