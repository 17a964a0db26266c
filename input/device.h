// Input device: turns the host's input events into the state the game polls
// once per update (held keys, hit counts, typed characters, pointer, touch,
// joystick and accelerometer).
//
// Keyboard keys, mouse buttons, joystick buttons and touches share one key
// space of codes 1 to 511.
#pragma once

#include "runtime/runtime.h"

// ---------------------------------------------------------------------------
// Event type codes: the first argument of every input event.
// ---------------------------------------------------------------------------

namespace BBGameEvent {
constexpr int KeyPressed = 1;     // data: key code
constexpr int KeyReleased = 2;    // data: key code
constexpr int CharTyped = 3;      // data: character code
constexpr int MousePressed = 4;   // data: button 0 left, 1 right, 2 middle
constexpr int MouseReleased = 5;  // data: button
constexpr int MouseMoved = 6;     // data: -1
constexpr int TouchPressed = 7;   // data: touch index 0 to 31
constexpr int TouchReleased = 8;  // data: touch index
constexpr int TouchMoved = 9;     // data: touch index
constexpr int AccelChanged = 10;  // data: not read
}  // namespace BBGameEvent

// ---------------------------------------------------------------------------
// Key codes
// ---------------------------------------------------------------------------

namespace KeyCode {
constexpr int MouseLeft = 1;  // also mirrors Touch0
constexpr int MouseRight = 2;
constexpr int MouseMiddle = 3;
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int Digit0 = 48;  // digits 0 to 9 are 48 to 57
constexpr int A = 65;       // letters A to Z are 65 to 90
constexpr int Z = 90;
constexpr int F1 = 112;  // F1 to F12 are 112 to 123
constexpr int F10 = 121;
constexpr int F12 = 123;
constexpr int LeftShift = 160;
constexpr int RightShift = 161;
constexpr int LeftControl = 162;
constexpr int RightControl = 163;
constexpr int Semicolon = 186;
constexpr int Equals = 187;
constexpr int Comma = 188;
constexpr int Minus = 189;
constexpr int Period = 190;
constexpr int Slash = 191;
constexpr int Backquote = 192;
constexpr int LeftBracket = 219;
constexpr int Backslash = 220;
constexpr int RightBracket = 221;
constexpr int Quote = 222;
// Joystick buttons: Joy0 + 32 * joystick + button.
constexpr int Joy0 = 256;
constexpr int JoyButtonsPerStick = 32;
// Touches: Touch0 + touch index; also mirrors MouseLeft.
constexpr int Touch0 = 384;
// The window's close button, sent by the host as a press and a release.
constexpr int CloseRequest = 432;
// Valid key codes are 1 to Count - 1.
constexpr int Count = 512;
}  // namespace KeyCode

// Character codes KeyToChar gives for the navigation keys: this flag ORed
// with the key code (so Left types 65573).
constexpr int kNavigationCharFlag = 0x10000;

constexpr int kJoystickCount = 4;
constexpr int kJoystickButtons = 32;
constexpr int kJoystickSticks = 2;
constexpr int kCharQueueSize = 32;
constexpr int kTouchCount = 32;

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

class c_JoyState : public Object {
public:
    Array<float> axisX;  // index 0 the first stick, 1 the second
    Array<float> axisY;
    Array<float> axisZ;
    Array<bool> buttons;  // 32 buttons

    c_JoyState();
    c_JoyState *m_new();
    void mark() override;
};

class c_InputDevice : public Object {
public:
    Array<c_JoyState *> joysticks;  // 4 joysticks
    Array<bool> keyIsDown;          // per key code
    Array<int> keyHitCount;         // presses since the last end of update
    int charReadIndex = 0;
    int charWriteIndex = 0;
    Array<int> charQueue;  // characters typed since the last end of update
    float mouseX = 0;
    float mouseY = 0;
    Array<float> touchX;
    Array<float> touchY;
    float accelX = 0;
    float accelY = 0;
    float accelZ = 0;

    c_InputDevice();
    // Creates the four joystick states.
    c_InputDevice *m_new();
    void mark() override;

    virtual int p_BeginUpdate();
    virtual int p_EndUpdate();
    virtual int p_KeyEvent(int type, int data);
    virtual int p_MouseEvent(int type, int button, float x, float y);
    virtual int p_TouchEvent(int type, int index, float x, float y);
    virtual int p_MotionEvent(int type, int data, float x, float y, float z);
    virtual int p_SetKeyboardEnabled(bool enabled);
    virtual int p_GetChar();
    virtual int p_KeyHit(int key);
    virtual float p_MouseX();
    virtual float p_MouseY();
    virtual bool p_KeyDown(int key);
    virtual float p_TouchX(int index);
    virtual float p_TouchY(int index);
    virtual float p_JoyY(int stick, int joystick);
    virtual float p_JoyX(int stick, int joystick);
    virtual float p_AccelX();
    virtual float p_AccelY();
};
