// Joystick state as the host reports it: the raw axes and buttons of one
// joystick rearranged into the device's two sticks and 32 buttons.
#pragma once

#include "runtime/runtime.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

constexpr int kJoystickMaxAxes = 6;
constexpr int kJoystickMaxButtons = 32;

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------

// Stores axes (counts above 6 are clamped) as first and second stick x, y
// and z, and sets buttons[i] for the first buttonCount (at most 32) buttons;
// later entries keep their values. A pad with 4 axes has its second stick in
// axes 2 and 3, one with 5 axes in axes 3 and 4.
void StoreJoystickState(const float *axes, int axisCount, const unsigned char *pressed,
                        int buttonCount, Array<float> axisX, Array<float> axisY, Array<float> axisZ,
                        Array<bool> buttons);
