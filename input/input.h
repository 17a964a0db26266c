// Input module: the bb_input_ functions the game calls, each asking the
// device in `bb_input_device`.
#pragma once

#include "input/device.h"

// ---------------------------------------------------------------------------
// Module global and functions
// ---------------------------------------------------------------------------

extern c_InputDevice *bb_input_device;

int bb_input_SetInputDevice(c_InputDevice *device);
int bb_input_EnableKeyboard();
int bb_input_DisableKeyboard();
int bb_input_GetChar();
int bb_input_KeyHit(int key);
int bb_input_KeyDown(int key);  // 0 or 1
float bb_input_MouseX();
float bb_input_MouseY();
int bb_input_MouseHit(int button);   // key button + 1
int bb_input_MouseDown(int button);  // key button + 1
int bb_input_TouchDown(int index);   // key 384 + index
float bb_input_TouchX(int index);
float bb_input_TouchY(int index);
float bb_input_JoyX(int stick, int joystick);
float bb_input_JoyY(int stick, int joystick);
int bb_input_JoyDown(int button, int joystick);  // key 256 | button | joystick << 5
float bb_input_AccelX();
float bb_input_AccelY();
