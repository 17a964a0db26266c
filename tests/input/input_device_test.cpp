// The input device fed with events directly and through the host's GLFW 3
// callbacks: hits and held state, mouse and touch mirroring, the character
// queue, key translation, joystick polling and the module functions.

#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <string>

#include "input/input.h"
#include "input/joystick.h"
#include "tests/input/test_host.h"

namespace {

using namespace BBGameEvent;

class InputDevice : public testing::Test {
protected:
    TestHost host;
    c_InputDevice *input = host.input();

    std::vector<int> HeldKeys() {
        std::vector<int> held;
        for (int k = 1; k < KeyCode::Count; ++k)
            if (input->p_KeyDown(k)) held.push_back(k);
        return held;
    }
    std::vector<int> QueuedChars() {
        std::vector<int> chars;
        for (int c; (c = input->p_GetChar()) != 0;) chars.push_back(c);
        return chars;
    }
};

TEST_F(InputDevice, HitsCountEveryPressUntilTheEndOfUpdate) {
    for (int i = 0; i < 2; ++i) {
        input->p_KeyEvent(KeyPressed, KeyCode::A);
        input->p_KeyEvent(KeyReleased, KeyCode::A);
    }
    EXPECT_EQ(input->p_KeyHit(KeyCode::A), 2);
    EXPECT_FALSE(input->p_KeyDown(KeyCode::A));
    input->p_KeyEvent(KeyPressed, KeyCode::Z);
    input->p_EndUpdate();
    EXPECT_EQ(input->p_KeyHit(KeyCode::A), 0);
    EXPECT_EQ(input->p_KeyHit(KeyCode::Z), 0);
    EXPECT_TRUE(input->p_KeyDown(KeyCode::Z));  // held state persists
}

TEST_F(InputDevice, LeftMouseButtonAndFirstTouchAreOneKey) {
    input->p_MouseEvent(MousePressed, 0, 10, 20);
    EXPECT_EQ(HeldKeys(), (std::vector<int>{KeyCode::MouseLeft, KeyCode::Touch0}));
    EXPECT_EQ(input->p_KeyHit(KeyCode::MouseLeft), 1);
    EXPECT_EQ(input->p_KeyHit(KeyCode::Touch0), 1);
    EXPECT_EQ(input->p_MouseX(), 10);
    EXPECT_EQ(input->p_TouchY(0), 20);

    input->p_MouseEvent(MouseMoved, -1, 30, 40);
    EXPECT_EQ(input->p_MouseX(), 30);
    EXPECT_EQ(input->p_TouchX(0), 30);
    EXPECT_EQ(input->p_TouchY(0), 40);

    input->p_MouseEvent(MouseReleased, 0, 50, 60);  // a release does not move the pointer
    EXPECT_TRUE(HeldKeys().empty());
    EXPECT_EQ(input->p_MouseX(), 30);
    EXPECT_EQ(input->p_MouseY(), 40);

    input->p_MouseEvent(MousePressed, 2, 1, 2);
    EXPECT_EQ(HeldKeys(), std::vector<int>{KeyCode::MouseMiddle});

    input->p_TouchEvent(TouchPressed, 0, 5, 6);
    EXPECT_TRUE(input->p_KeyDown(KeyCode::MouseLeft));
    EXPECT_EQ(input->p_MouseX(), 5);
    input->p_TouchEvent(TouchPressed, 3, 7, 8);
    EXPECT_TRUE(input->p_KeyDown(KeyCode::Touch0 + 3));
    EXPECT_EQ(input->p_TouchX(3), 7);
    EXPECT_EQ(input->p_MouseX(), 5);  // only touch 0 moves the mouse
    input->p_TouchEvent(TouchMoved, 0, 9, 9);
    EXPECT_EQ(input->p_MouseY(), 9);
    input->p_TouchEvent(TouchReleased, 0, 100, 100);
    EXPECT_FALSE(input->p_KeyDown(KeyCode::MouseLeft));
    EXPECT_EQ(input->p_TouchX(0), 9);
}

TEST_F(InputDevice, TypedCharactersAndNavigationKeysQueueInOrder) {
    BBGlfwGame::OnChar('a', GLFW_PRESS);
    BBGlfwGame::OnChar('b', GLFW_PRESS);
    BBGlfwGame::OnKey(GLFW_KEY_LEFT, GLFW_PRESS);
    BBGlfwGame::OnKey(GLFW_KEY_LEFT, GLFW_RELEASE);
    EXPECT_EQ(QueuedChars(), (std::vector<int>{97, 98, 65573}));
    EXPECT_EQ(input->p_GetChar(), 0);
    input->p_EndUpdate();
    EXPECT_EQ(input->p_GetChar(), 0);
}

TEST_F(InputDevice, KeyRepeatsCountAsPresses) {
    BBGlfwGame::OnKey(GLFW_KEY_LEFT, GLFW_PRESS);
    BBGlfwGame::OnKey(GLFW_KEY_LEFT, GLFW_REPEAT);
    BBGlfwGame::OnKey(GLFW_KEY_LEFT, GLFW_REPEAT);
    EXPECT_EQ(input->p_KeyHit(KeyCode::Left), 3);
    EXPECT_TRUE(input->p_KeyDown(KeyCode::Left));
    EXPECT_EQ(QueuedChars(), (std::vector<int>{65573, 65573, 65573}));
}

TEST_F(InputDevice, TheThirtyThirdCharacterIsDropped) {
    for (int i = 0; i < 33; ++i) input->p_KeyEvent(CharTyped, 'A' + i);
    std::vector<int> chars = QueuedChars();
    ASSERT_EQ(chars.size(), 32u);
    EXPECT_EQ(chars.back(), 'A' + 31);
    input->p_EndUpdate();
    input->p_KeyEvent(CharTyped, 'x');
    EXPECT_EQ(QueuedChars(), std::vector<int>{'x'});
}

TEST_F(InputDevice, KeysOutsideTheKeySpaceAreIgnored) {
    for (int key : {-1, 0, 512, 513, 100000, -100000}) {
        input->p_KeyEvent(KeyPressed, key);
        input->p_KeyEvent(KeyReleased, key);
        EXPECT_FALSE(input->p_KeyDown(key)) << key;
        EXPECT_EQ(input->p_KeyHit(key), 0) << key;
    }
    EXPECT_TRUE(HeldKeys().empty());
    EXPECT_EQ(input->p_TouchX(-1), 0);
    EXPECT_EQ(input->p_TouchY(32), 0);
    // Touch indexes beyond the 32 positions store no position.
    input->p_TouchEvent(TouchMoved, -5, 1, 1);
    input->p_TouchEvent(TouchMoved, 40, 1, 1);
    input->p_TouchEvent(TouchPressed, 200, 1, 1);  // key 584: outside the key space
    EXPECT_TRUE(HeldKeys().empty());
    EXPECT_EQ(input->p_MouseX(), 0);
}

TEST_F(InputDevice, AccelerometerAndUnknownEvents) {
    input->p_MotionEvent(AccelChanged, 0, 0.5f, -0.25f, 1);
    input->p_MotionEvent(KeyPressed, 0, 9, 9, 9);
    EXPECT_EQ(input->p_AccelX(), 0.5f);
    EXPECT_EQ(input->p_AccelY(), -0.25f);
    EXPECT_EQ(input->accelZ, 1.0f);
    input->p_KeyEvent(MouseMoved, KeyCode::A);
    input->p_MouseEvent(KeyPressed, 0, 3, 3);
    EXPECT_TRUE(HeldKeys().empty());
    EXPECT_EQ(input->p_MouseX(), 0);
}

// ---------------------------------------------------------------------------
// Key translation through OnKey
// ---------------------------------------------------------------------------

struct KeyCase {
    int glfwKey;
    int code;  // 0: the key sends nothing
    int chr;
};

TEST_F(InputDevice, GlfwKeysTranslateThroughTheTable) {
    const KeyCase cases[] = {
        {GLFW_KEY_A, 65, 0},
        {GLFW_KEY_Z, 90, 0},
        {GLFW_KEY_0, 48, 0},
        {GLFW_KEY_9, 57, 0},
        {GLFW_KEY_SPACE, 32, 0},
        {GLFW_KEY_APOSTROPHE, 222, 0},
        {GLFW_KEY_COMMA, 188, 0},
        {GLFW_KEY_MINUS, 189, 0},
        {GLFW_KEY_PERIOD, 190, 0},
        {GLFW_KEY_SLASH, 191, 0},
        {GLFW_KEY_SEMICOLON, 186, 0},
        {GLFW_KEY_EQUAL, 187, 0},
        {GLFW_KEY_LEFT_BRACKET, 219, 0},
        {GLFW_KEY_BACKSLASH, 220, 0},
        {GLFW_KEY_RIGHT_BRACKET, 221, 0},
        {GLFW_KEY_GRAVE_ACCENT, 192, 0},
        {GLFW_KEY_ESCAPE, 27, 27},
        {GLFW_KEY_ENTER, 13, 13},
        {GLFW_KEY_TAB, 9, 9},
        {GLFW_KEY_BACKSPACE, 8, 8},
        {GLFW_KEY_INSERT, 45, 0x10000 | 45},
        {GLFW_KEY_DELETE, 46, 127},
        {GLFW_KEY_PAGE_UP, 33, 0x10000 | 33},
        {GLFW_KEY_PAGE_DOWN, 34, 0x10000 | 34},
        {GLFW_KEY_END, 35, 0x10000 | 35},
        {GLFW_KEY_HOME, 36, 0x10000 | 36},
        {GLFW_KEY_LEFT, 37, 65573},
        {GLFW_KEY_UP, 38, 0x10000 | 38},
        {GLFW_KEY_RIGHT, 39, 0x10000 | 39},
        {GLFW_KEY_DOWN, 40, 0x10000 | 40},
        {GLFW_KEY_F1, 112, 0},
        {GLFW_KEY_F10, 121, 0},
        {GLFW_KEY_F12, 123, 0},
        {GLFW_KEY_LEFT_SHIFT, 16, 0},
        {GLFW_KEY_RIGHT_SHIFT, 16, 0},
        {GLFW_KEY_LEFT_CONTROL, 17, 0},
        {GLFW_KEY_RIGHT_CONTROL, 17, 0},
        // Keys the table does not list send nothing.
        {GLFW_KEY_UNKNOWN, 0, 0},
        {0, 0, 0},
        {31, 0, 0},
        {302, 0, 0},  // F13
        {400, 0, 0},
        {GLFW_KEY_LEFT_ALT, 0, 0},
        {GLFW_KEY_KP_0, 0, 0},
        {GLFW_KEY_CAPS_LOCK, 0, 0},
        {GLFW_KEY_WORLD_1, 0, 0},
        {GLFW_KEY_MENU, 0, 0},
        {GLFW_KEY_PRINT_SCREEN, 0, 0},
        {100000, 0, 0},
    };
    for (const KeyCase &c : cases) {
        SCOPED_TRACE("GLFW key " + std::to_string(c.glfwKey));
        BBGlfwGame::OnKey(c.glfwKey, GLFW_PRESS);
        std::vector<int> expectHeld;
        if (c.code) expectHeld.push_back(c.code);
        EXPECT_EQ(HeldKeys(), expectHeld);
        std::vector<int> expectChars;
        if (c.chr) expectChars.push_back(c.chr);
        EXPECT_EQ(QueuedChars(), expectChars);
        BBGlfwGame::OnKey(c.glfwKey, GLFW_RELEASE);
        EXPECT_TRUE(HeldKeys().empty());
        input->p_EndUpdate();
    }
}

TEST(KeyTranslation, TableEntriesAndCharacters) {
    // The side-specific modifier codes stay in the table, though OnKey maps
    // the modifiers first.
    EXPECT_EQ(BBGlfwGame::TransKey(GLFW_KEY_LEFT_SHIFT), 160);
    EXPECT_EQ(BBGlfwGame::TransKey(GLFW_KEY_RIGHT_CONTROL), 163);
    EXPECT_EQ(BBGlfwGame::TransKey('"'), 222);
    EXPECT_EQ(BBGlfwGame::TransKey('~'), 192);
    EXPECT_EQ(BBGlfwGame::TransKey(GLFW_KEY_KP_ENTER), 0);
    EXPECT_EQ(BBGlfwGame::KeyToChar(KeyCode::A), 0);
    EXPECT_EQ(BBGlfwGame::KeyToChar(KeyCode::Space), 0);
    EXPECT_EQ(BBGlfwGame::KeyToChar(KeyCode::Delete), 127);
}

TEST_F(InputDevice, MouseButtonsBecomeKeysOneToThree) {
    BBGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS);
    BBGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS);
    BBGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_MIDDLE, GLFW_PRESS);
    BBGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_4, GLFW_PRESS);
    BBGlfwGame::OnMouseButton(-1, GLFW_PRESS);
    EXPECT_EQ(HeldKeys(), (std::vector<int>{1, 2, 3, KeyCode::Touch0}));
    BBGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE);
    EXPECT_EQ(HeldKeys(), (std::vector<int>{1, 3, KeyCode::Touch0}));
}

// ---------------------------------------------------------------------------
// Joysticks
// ---------------------------------------------------------------------------

TEST_F(InputDevice, HeldJoystickButtonHitsOnce) {
    FakeJoystick &pad = host.joysticks[0];
    pad.present = true;
    pad.axes = {0.5f, -0.5f};
    pad.buttons.assign(12, GLFW_RELEASE);
    pad.buttons[3] = GLFW_PRESS;
    const int key = KeyCode::Joy0 + 3;  // 259

    input->p_BeginUpdate();
    EXPECT_EQ(input->p_KeyHit(key), 1);
    EXPECT_TRUE(input->p_KeyDown(key));
    EXPECT_EQ(input->p_JoyX(0, 0), 0.5f);
    EXPECT_EQ(input->p_JoyY(0, 0), -0.5f);
    input->p_EndUpdate();
    for (int update = 0; update < 2; ++update) {
        input->p_BeginUpdate();
        EXPECT_EQ(input->p_KeyHit(key), 0);
        EXPECT_TRUE(input->p_KeyDown(key));
        input->p_EndUpdate();
    }
    pad.buttons[3] = GLFW_RELEASE;
    input->p_BeginUpdate();
    EXPECT_FALSE(input->p_KeyDown(key));
    EXPECT_EQ(input->p_KeyHit(key), 0);
}

TEST_F(InputDevice, PollingStopsAtTheFirstMissingJoystick) {
    host.joysticks[1].present = true;
    host.joysticks[1].buttons.assign(4, GLFW_PRESS);
    host.joysticks[1].axes = {1, 1};
    input->p_BeginUpdate();
    EXPECT_EQ(host.polled, std::vector<int>{0});
    EXPECT_FALSE(input->p_KeyDown(KeyCode::Joy0 + 32));
    EXPECT_EQ(input->p_JoyX(0, 1), 0);

    host.polled.clear();
    host.joysticks[0].present = true;
    input->p_BeginUpdate();
    EXPECT_EQ(host.polled, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(input->p_KeyDown(KeyCode::Joy0 + 32));
    EXPECT_EQ(input->p_KeyHit(KeyCode::Joy0 + 35), 1);

    // A joystick that goes away keeps its last state.
    host.joysticks[0].present = false;
    input->p_BeginUpdate();
    EXPECT_TRUE(input->p_KeyDown(KeyCode::Joy0 + 32));
    EXPECT_EQ(input->p_JoyX(0, 1), 1);
}

struct AxisCase {
    std::vector<float> axes;
    float x0, y0, z0, x1, y1, z1;
};

TEST(JoystickState, AxesRearrangeByCount) {
    const AxisCase cases[] = {
        {{}, 0, 0, 0, 0, 0, 0},
        {{1, 2}, 1, 2, 0, 0, 0, 0},
        {{1, 2, 3}, 1, 2, 3, 0, 0, 0},
        // Four axes: the second stick is axes 3 (x) and 2 (y).
        {{1, 2, 3, 4}, 1, 2, 0, 4, 3, 0},
        // Five axes: x from axis 4, y from axis 3.
        {{1, 2, 3, 4, 5}, 1, 2, 3, 5, 4, 0},
        {{1, 2, 3, 4, 5, 6}, 1, 2, 3, 4, 5, 6},
        // More than six: clamped.
        {{1, 2, 3, 4, 5, 6, 7, 8}, 1, 2, 3, 4, 5, 6},
    };
    for (const AxisCase &c : cases) {
        SCOPED_TRACE(std::to_string(c.axes.size()) + " axes");
        Array<float> x(2), y(2), z(2);
        Array<bool> buttons(32);
        StoreJoystickState(c.axes.data(), int(c.axes.size()), nullptr, 0, x, y, z, buttons);
        EXPECT_EQ(x[0], c.x0);
        EXPECT_EQ(y[0], c.y0);
        EXPECT_EQ(z[0], c.z0);
        EXPECT_EQ(x[1], c.x1);
        EXPECT_EQ(y[1], c.y1);
        EXPECT_EQ(z[1], c.z1);
    }
}

TEST(JoystickState, ButtonsBeyondTheCountKeepTheirValues) {
    Array<float> x(2), y(2), z(2);
    Array<bool> buttons(32);
    buttons[10] = true;
    buttons[31] = true;
    std::vector<unsigned char> pressed(40, GLFW_PRESS);
    pressed[0] = GLFW_RELEASE;
    StoreJoystickState(nullptr, 0, pressed.data(), 4, x, y, z, buttons);
    EXPECT_FALSE(buttons[0]);
    EXPECT_TRUE(buttons[3]);
    EXPECT_FALSE(buttons[4]);
    EXPECT_TRUE(buttons[10]);
    // Forty reported buttons are clamped to the 32 there are.
    StoreJoystickState(nullptr, 0, pressed.data(), 40, x, y, z, buttons);
    EXPECT_TRUE(buttons[31]);
    EXPECT_TRUE(buttons[4]);
}

// ---------------------------------------------------------------------------
// Module functions
// ---------------------------------------------------------------------------

TEST_F(InputDevice, ModuleFunctionsAskTheGlobalDevice) {
    bb_input_SetInputDevice(input);
    EXPECT_EQ(bb_input_device, input);
    host.joysticks[0].present = true;
    host.joysticks[0].axes = {0.25f, 0.75f, 0, 0.5f, 1};
    host.joysticks[0].buttons.assign(32, GLFW_RELEASE);
    host.joysticks[0].buttons[5] = GLFW_PRESS;
    input->p_BeginUpdate();
    EXPECT_EQ(bb_input_JoyDown(5, 0), 1);
    EXPECT_EQ(bb_input_JoyDown(4, 0), 0);
    EXPECT_EQ(bb_input_JoyX(0, 0), 0.25f);
    EXPECT_EQ(bb_input_JoyY(0, 0), 0.75f);
    EXPECT_EQ(bb_input_JoyX(1, 0), 1.0f);
    EXPECT_EQ(bb_input_JoyY(1, 0), 0.5f);

    input->p_MouseEvent(MousePressed, 1, 12, 34);
    EXPECT_EQ(bb_input_MouseDown(1), 1);
    EXPECT_EQ(bb_input_MouseHit(1), 1);
    EXPECT_EQ(bb_input_MouseDown(0), 0);
    EXPECT_EQ(bb_input_MouseX(), 12);
    EXPECT_EQ(bb_input_MouseY(), 34);
    input->p_TouchEvent(TouchPressed, 2, 5, 6);
    EXPECT_EQ(bb_input_TouchDown(2), 1);
    EXPECT_EQ(bb_input_TouchX(2), 5);
    EXPECT_EQ(bb_input_TouchY(2), 6);
    input->p_KeyEvent(KeyPressed, KeyCode::Up);
    input->p_KeyEvent(CharTyped, 'q');
    EXPECT_EQ(bb_input_KeyDown(KeyCode::Up), 1);
    EXPECT_EQ(bb_input_KeyHit(KeyCode::Up), 1);
    EXPECT_EQ(bb_input_KeyDown(0), 0);
    EXPECT_EQ(bb_input_GetChar(), 'q');
    EXPECT_EQ(bb_input_GetChar(), 0);
    input->p_MotionEvent(AccelChanged, 0, 0.1f, 0.2f, 0.3f);
    EXPECT_EQ(bb_input_AccelX(), 0.1f);
    EXPECT_EQ(bb_input_AccelY(), 0.2f);

    EXPECT_EQ(bb_input_EnableKeyboard(), 1);
    EXPECT_TRUE(host.KeyboardEnabled());
    EXPECT_EQ(bb_input_DisableKeyboard(), 1);
    EXPECT_FALSE(host.KeyboardEnabled());
    bb_input_SetInputDevice(nullptr);
}

}  // namespace
