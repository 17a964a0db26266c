// The input device: held keys, hit counts, the character queue, pointer,
// touch, joystick and accelerometer state, fed by the host's events between
// updates and read by the game during them.

#include "input/device.h"
#include "host/host.h"

namespace {

bool ValidKey(int key) {
    return key >= 1 && key < KeyCode::Count;
}

}  // namespace

// ---------------------------------------------------------------------------
// c_JoyState
// ---------------------------------------------------------------------------

c_JoyState::c_JoyState()
    : axisX(kJoystickSticks),
      axisY(kJoystickSticks),
      axisZ(kJoystickSticks),
      buttons(kJoystickButtons) {}

c_JoyState *c_JoyState::m_new() {
    return this;
}

void c_JoyState::mark() {
    gc_mark_q(axisX);
    gc_mark_q(axisY);
    gc_mark_q(axisZ);
    gc_mark_q(buttons);
}

// ---------------------------------------------------------------------------
// c_InputDevice: construction and collection
// ---------------------------------------------------------------------------

c_InputDevice::c_InputDevice()
    : joysticks(kJoystickCount),
      keyIsDown(KeyCode::Count),
      keyHitCount(KeyCode::Count),
      charQueue(kCharQueueSize),
      touchX(kTouchCount),
      touchY(kTouchCount) {}

c_InputDevice *c_InputDevice::m_new() {
    for (int i = 0; i < kJoystickCount; ++i) joysticks[i] = (new c_JoyState())->m_new();
    return this;
}

void c_InputDevice::mark() {
    gc_mark_q(joysticks);
    gc_mark_q(keyIsDown);
    gc_mark_q(keyHitCount);
    gc_mark_q(charQueue);
    gc_mark_q(touchX);
    gc_mark_q(touchY);
}

// ---------------------------------------------------------------------------
// Updates
// ---------------------------------------------------------------------------

int c_InputDevice::p_BeginUpdate() {
    if (!BBGame::_game) return 0;
    for (int j = 0; j < kJoystickCount; ++j) {
        c_JoyState *joy = joysticks[j];
        if (!BBGame::_game->PollJoystick(j, joy->axisX, joy->axisY, joy->axisZ, joy->buttons)) {
            break;
        }
        for (int b = 0; b < kJoystickButtons; ++b) {
            int key = KeyCode::Joy0 + KeyCode::JoyButtonsPerStick * j + b;
            if (joy->buttons[b]) {
                if (!keyIsDown[key]) {
                    keyIsDown[key] = true;
                    keyHitCount[key] += 1;
                }
            } else {
                keyIsDown[key] = false;
            }
        }
    }
    return 0;
}

int c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < KeyCode::Count; ++i) keyHitCount[i] = 0;
    charReadIndex = 0;
    charWriteIndex = 0;
    return 0;
}

// ---------------------------------------------------------------------------
// Events
// ---------------------------------------------------------------------------

// Key 1 (left mouse button) and key 384 (touch 0) are one key under two
// codes: each press or release of one is applied to both.
int c_InputDevice::p_KeyEvent(int type, int data) {
    switch (type) {
        case BBGameEvent::KeyPressed:
        case BBGameEvent::KeyReleased: {
            if (!ValidKey(data)) break;
            bool pressed = type == BBGameEvent::KeyPressed;
            int mirror = data == KeyCode::MouseLeft ? KeyCode::Touch0
                         : data == KeyCode::Touch0  ? KeyCode::MouseLeft
                                                    : 0;
            for (int key : {data, mirror}) {
                if (key == 0) continue;
                keyIsDown[key] = pressed;
                if (pressed) keyHitCount[key] += 1;
            }
            break;
        }
        case BBGameEvent::CharTyped:
            if (charWriteIndex < kCharQueueSize) {
                charQueue[charWriteIndex] = data;
                charWriteIndex += 1;
            }
            break;
        default:
            break;
    }
    return 0;
}

int c_InputDevice::p_MouseEvent(int type, int button, float x, float y) {
    switch (type) {
        case BBGameEvent::MousePressed:
            p_KeyEvent(BBGameEvent::KeyPressed, button + 1);
            break;
        case BBGameEvent::MouseReleased:
            p_KeyEvent(BBGameEvent::KeyReleased, button + 1);
            return 0;  // a release does not move the pointer
        case BBGameEvent::MouseMoved:
            break;
        default:
            return 0;
    }
    mouseX = x;
    mouseY = y;
    touchX[0] = x;
    touchY[0] = y;
    return 0;
}

int c_InputDevice::p_TouchEvent(int type, int index, float x, float y) {
    switch (type) {
        case BBGameEvent::TouchPressed:
            p_KeyEvent(BBGameEvent::KeyPressed, KeyCode::Touch0 + index);
            break;
        case BBGameEvent::TouchReleased:
            p_KeyEvent(BBGameEvent::KeyReleased, KeyCode::Touch0 + index);
            return 0;
        case BBGameEvent::TouchMoved:
            break;
        default:
            return 0;
    }
    if (index < 0 || index >= kTouchCount) return 0;
    touchX[index] = x;
    touchY[index] = y;
    if (index == 0) {
        mouseX = x;
        mouseY = y;
    }
    return 0;
}

int c_InputDevice::p_MotionEvent(int type, int data, float x, float y, float z) {
    (void)data;
    if (type == BBGameEvent::AccelChanged) {
        accelX = x;
        accelY = y;
        accelZ = z;
    }
    return 0;
}

int c_InputDevice::p_SetKeyboardEnabled(bool enabled) {
    if (BBGame::_game) BBGame::_game->SetKeyboardEnabled(enabled);
    return 1;
}

// ---------------------------------------------------------------------------
// Queries
// ---------------------------------------------------------------------------

int c_InputDevice::p_GetChar() {
    if (charReadIndex == charWriteIndex) return 0;
    int chr = charQueue[charReadIndex];
    charReadIndex += 1;
    return chr;
}

int c_InputDevice::p_KeyHit(int key) {
    return ValidKey(key) ? keyHitCount[key] : 0;
}

bool c_InputDevice::p_KeyDown(int key) {
    return ValidKey(key) ? keyIsDown[key] : false;
}

float c_InputDevice::p_MouseX() {
    return mouseX;
}
float c_InputDevice::p_MouseY() {
    return mouseY;
}

float c_InputDevice::p_TouchX(int index) {
    return index >= 0 && index < kTouchCount ? touchX[index] : 0.0f;
}

float c_InputDevice::p_TouchY(int index) {
    return index >= 0 && index < kTouchCount ? touchY[index] : 0.0f;
}

float c_InputDevice::p_JoyX(int stick, int joystick) {
    return joysticks[joystick]->axisX[stick];
}

float c_InputDevice::p_JoyY(int stick, int joystick) {
    return joysticks[joystick]->axisY[stick];
}

float c_InputDevice::p_AccelX() {
    return accelX;
}
float c_InputDevice::p_AccelY() {
    return accelY;
}
