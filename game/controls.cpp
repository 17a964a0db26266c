// Controls: the abstract control numbers read by p_PlayKey (keyboard,
// joystick 0, iCade cabinet and the per-control state elements), the button
// and rectangle hit tests, the iCade switch, and the controls steps the frame
// driver runs before and after the screen logic.
#include "game/myapp.h"

#include "input/input.h"

namespace {

// Joystick 0 button codes the game binds.
constexpr int kJoyButtonAction1 = 256;
constexpr int kJoyButtonAction2 = 257;
constexpr int kJoyButtonAction3 = 258;
constexpr int kJoyButtonAction4 = 259;
constexpr int kJoyButtonBack = 263;
constexpr int kJoyButtonLeft = 264;
constexpr int kJoyButtonUp = 265;
constexpr int kJoyButtonRight = 266;
constexpr int kJoyButtonDown = 267;

// Stick deflection beyond which an axis counts as a direction (strict).
constexpr float kAxisThreshold = 0.4f;

// virtualKeys elements 0..18 are the per-control states; element 19 counts
// the platform back key and is left alone by releases.
constexpr int kControlStateElements = 19;
constexpr int kStatePressedThisUpdate = 1;
constexpr int kStateHeldByCabinet = 2;

constexpr int kGameControls[] = {kControlUp,      kControlLeft,    kControlRight,
                                 kControlDown,    kControlAction1, kControlAction2,
                                 kControlAction3, kControlAction4, kControlBack};

// iCade letters: the first sets the element to held, the second releases it.
struct CadeLetters {
    char press;
    char release;
    int element;
};
constexpr CadeLetters kCadeLetters[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},  {'Y', 'T', 13}, {'U', 'F', 14},
    {'I', 'M', 15}, {'O', 'G', 16}, {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'L', 'V', 17},
};

bool IsLetter(int c, char upper) {
    return c == upper || c == upper - 'A' + 'a';
}

}  // namespace

bool c_MyApp::PlayKeyDown(int key) {
    return bb_input_device->p_KeyDown(key);
}

bool c_MyApp::p_PlayKey(int control) {
    if (iCadeControls != 0 && iCadeControls != 1) return false;
    const bool cade = iCadeControls == 1;
    c_InputDevice *in = bb_input_device;
    switch (control) {
        case kControlUp:
            return PlayKeyDown(KeyCode::Up) || (!cade && PlayKeyDown('W')) ||
                   PlayKeyDown(kJoyButtonUp) || in->p_JoyY(0, 0) < -kAxisThreshold ||
                   virtualKeys[0] != 0;
        case kControlLeft:
            return PlayKeyDown(KeyCode::Left) || (!cade && PlayKeyDown('A')) ||
                   PlayKeyDown(kJoyButtonLeft) || in->p_JoyX(0, 0) < -kAxisThreshold ||
                   virtualKeys[3] != 0;
        case kControlRight:
            return PlayKeyDown(KeyCode::Right) || (!cade && PlayKeyDown('D')) ||
                   PlayKeyDown(kJoyButtonRight) || in->p_JoyX(0, 0) > kAxisThreshold ||
                   virtualKeys[5] != 0;
        case kControlDown:
            return PlayKeyDown(KeyCode::Down) || (!cade && PlayKeyDown('S')) ||
                   PlayKeyDown(kJoyButtonDown) || in->p_JoyY(0, 0) > kAxisThreshold ||
                   virtualKeys[8] != 0;
        case kControlAction1:
            return (!cade && (PlayKeyDown('Z') || PlayKeyDown('J'))) ||
                   PlayKeyDown(KeyCode::Space) || PlayKeyDown(KeyCode::Enter) ||
                   PlayKeyDown(kJoyButtonAction1) || virtualKeys[10] != 0;
        case kControlAction2:
            return (!cade && (PlayKeyDown('X') || PlayKeyDown('K'))) ||
                   PlayKeyDown(KeyCode::Control) || PlayKeyDown(kJoyButtonAction2) ||
                   virtualKeys[11] != 0;
        case kControlAction3:
            return (!cade && (PlayKeyDown('C') || PlayKeyDown('L'))) ||
                   PlayKeyDown(KeyCode::Shift) || PlayKeyDown(kJoyButtonAction3) ||
                   virtualKeys[12] != 0;
        case kControlAction4:
            return (!cade && (PlayKeyDown('V') || PlayKeyDown('I'))) ||
                   PlayKeyDown(kJoyButtonAction4) || virtualKeys[13] != 0;
        case kControlBack:
            return PlayKeyDown(KeyCode::Escape) || PlayKeyDown(KeyCode::Delete) ||
                   PlayKeyDown(KeyCode::Backspace) || PlayKeyDown(kJoyButtonBack) ||
                   virtualKeys[16] != 0 || virtualKeys[17] != 0 || virtualKeys[19] != 0;
        default:
            return false;
    }
}

bool c_MyApp::p_Button0(int image, float x, float y, int frame) {
    p_DrawImg(image, x, y, static_cast<float>(frame));
    if (image < 0 || image >= kImageSlots || pointerDown <= 0) return false;
    float halfW = imageScale * static_cast<float>(imageInfo[image * 3]) * drawScaleX * 0.5f;
    float halfH = imageScale * static_cast<float>(imageInfo[image * 3 + 1]) * drawScaleY * 0.5f;
    float tx = static_cast<float>(touchX[0]);
    float ty = static_cast<float>(touchY[0]);
    return x - halfW < tx && tx < x + halfW && y - halfH < ty && ty < y + halfH;
}

int c_MyApp::p_Button(int image, float x, float y, int frame) {
    p_DrawImg(image, x, y, static_cast<float>(frame));
    if (image < 0 || image >= kImageSlots || pointerDown <= 0) return 0;
    float halfW = imageScale * static_cast<float>(imageInfo[image * 3]) * drawScaleX * 0.5f;
    float halfH = imageScale * static_cast<float>(imageInfo[image * 3 + 1]) * drawScaleY * 0.5f;
    int hit = 0;
    for (int i = 0; i < kTouchSlots; ++i) {
        float tx = static_cast<float>(touchX[i]);
        float ty = static_cast<float>(touchY[i]);
        if (x - halfW < tx && tx < x + halfW && y - halfH < ty && ty < y + halfH) hit = 1;
    }
    return hit;
}

bool c_MyApp::p_MouseIn_Centered(float cx, float cy, float w, float h) {
    for (int i = 0; i < kTouchSlots; ++i) {
        if (touchDown[i] == 0) continue;
        float tx = static_cast<float>(touchX[i]);
        float ty = static_cast<float>(touchY[i]);
        if (cx - w * 0.5f < tx && tx < cx + w * 0.5f && cy - h * 0.5f < ty && ty < cy + h * 0.5f) {
            return true;
        }
    }
    return false;
}

int c_MyApp::p_iCade(int mode) {
    c_InputDevice *in = bb_input_device;
    if (mode == 1) {
        in->p_SetKeyboardEnabled(true);
        iCadeControls = 1;
        while ((cadeChar = in->p_GetChar()) != 0) {
        }
    } else if (mode == 0) {
        in->p_SetKeyboardEnabled(false);
        iCadeControls = 0;
        for (int i = 0; i < kControlStateElements; ++i) virtualKeys[i] = 0;
    }
    return 0;
}

// Steps 1 to 7 of the controls step: pointer and touches in virtual pixels,
// the pointer state, the two latches and the title menu's back-key rule.
// (Step 0, the platform back key, is the frame driver's first step.)
void c_MyApp::SampleControls() {
    c_InputDevice *in = bb_input_device;
    prevPointerX = pointerX;
    prevPointerY = pointerY;
    pointerX = TruncToInt(in->p_MouseX() / scaleX);
    pointerY = TruncToInt(in->p_MouseY() / scaleY);
    const bool mouseDown = in->p_KeyDown(KeyCode::MouseLeft);
    if (mouseWasDown == 0 && mouseDown) {
        prevPointerX = pointerX;
        prevPointerY = pointerY;
    }
    pointerDown = mouseDown ? 1 : 0;
    pointerHits = in->p_KeyHit(KeyCode::MouseLeft);
    for (int i = 0; i < kTouchSlots; ++i) {
        touchDown[i] = 0;
        touchX[i] = kAbsent;
        touchY[i] = kAbsent;
        if (in->p_KeyDown(KeyCode::Touch0 + i)) {
            touchDown[i] = 1;
            touchX[i] = TruncToInt(in->p_TouchX(i) / scaleX);
            touchY[i] = TruncToInt(in->p_TouchY(i) / scaleY);
            pointerDown = 1;
        }
    }
    mouseWasDown = mouseDown ? 1 : 0;
    if (pointerDown == 0) pressConsumed = 0;
    bool anyHeld = false;
    for (int control : kGameControls) {
        if (p_PlayKey(control)) {
            anyHeld = true;
            break;
        }
    }
    if (!anyHeld) keyLatch = 0;
    if (keyLatch == 0 && pressConsumed == 0 && p_PlayKey(kControlBack) &&
        screenMode == kScreenMenu && (creditsOpen == 1 || badgesOpen == 1)) {
        creditsOpen = 0;
        badgesOpen = 0;
        keyLatch = 1;
        pressConsumed = 1;
    }
}

// Steps 8 and 9: iCade letters typed this update act from the next one;
// presses of a single update are released.
void c_MyApp::ControlsTail() {
    if (iCadeControls == 1) {
        c_InputDevice *in = bb_input_device;
        while ((cadeChar = in->p_GetChar()) != 0) {
            if (cadeChar <= 0) continue;
            for (const CadeLetters &l : kCadeLetters) {
                if (IsLetter(cadeChar, l.press)) {
                    virtualKeys[l.element] = kStateHeldByCabinet;
                    break;
                }
                if (IsLetter(cadeChar, l.release)) {
                    virtualKeys[l.element] = 0;
                    break;
                }
            }
        }
    }
    for (int i = 0; i < kControlStateElements; ++i) {
        if (virtualKeys[i] == kStatePressedThisUpdate) virtualKeys[i] = 0;
    }
}
