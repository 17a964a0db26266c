// The input module: the bb_input_ functions, each asking the device in
// `bb_input_device`.

#include "input/input.h"

// ---------------------------------------------------------------------------
// Module global
// ---------------------------------------------------------------------------

c_InputDevice *bb_input_device = nullptr;

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------

int bb_input_SetInputDevice(c_InputDevice *device) {
    gc_assign(bb_input_device, device);
    return 0;
}

int bb_input_EnableKeyboard() {
    return bb_input_device->p_SetKeyboardEnabled(true);
}
int bb_input_DisableKeyboard() {
    return bb_input_device->p_SetKeyboardEnabled(false);
}
int bb_input_GetChar() {
    return bb_input_device->p_GetChar();
}
int bb_input_KeyHit(int key) {
    return bb_input_device->p_KeyHit(key);
}
int bb_input_KeyDown(int key) {
    return bb_input_device->p_KeyDown(key) ? 1 : 0;
}
float bb_input_MouseX() {
    return bb_input_device->p_MouseX();
}
float bb_input_MouseY() {
    return bb_input_device->p_MouseY();
}
int bb_input_MouseHit(int button) {
    return bb_input_device->p_KeyHit(button + 1);
}
int bb_input_MouseDown(int button) {
    return bb_input_device->p_KeyDown(button + 1) ? 1 : 0;
}

int bb_input_TouchDown(int index) {
    return bb_input_device->p_KeyDown(KeyCode::Touch0 + index) ? 1 : 0;
}

float bb_input_TouchX(int index) {
    return bb_input_device->p_TouchX(index);
}
float bb_input_TouchY(int index) {
    return bb_input_device->p_TouchY(index);
}
float bb_input_JoyX(int stick, int joystick) {
    return bb_input_device->p_JoyX(stick, joystick);
}
float bb_input_JoyY(int stick, int joystick) {
    return bb_input_device->p_JoyY(stick, joystick);
}

int bb_input_JoyDown(int button, int joystick) {
    return bb_input_device->p_KeyDown(KeyCode::Joy0 | button | int(unsigned(joystick) << 5)) ? 1
                                                                                             : 0;
}

float bb_input_AccelX() {
    return bb_input_device->p_AccelX();
}
float bb_input_AccelY() {
    return bb_input_device->p_AccelY();
}
