// Controls: the binding table with iCade off and on, joystick thresholds,
// button and rectangle hit tests, touch sampling, the two latches, the
// title menu's back-key rule and iCade letter decoding.
#include <gtest/gtest.h>

#include "input/input.h"
#include "tests/game/support/game_fixture.h"
#include "tests/game/support/recording_app.h"

namespace {

using ControlsTest = GameFixture;

constexpr int kControls[] = {0, 3, 5, 8, 10, 11, 12, 13, 99};

struct Binding {
    int key;
    int control;    // -1: no control
    bool withCade;  // still counts while an iCade cabinet is on
};

TEST_F(ControlsTest, BindingTableWithICadeOffAndOn) {
    const Binding bindings[] = {
        {KeyCode::Up, 0, true},
        {'W', 0, false},
        {265, 0, true},
        {KeyCode::Left, 3, true},
        {'A', 3, false},
        {264, 3, true},
        {KeyCode::Right, 5, true},
        {'D', 5, false},
        {266, 5, true},
        {KeyCode::Down, 8, true},
        {'S', 8, false},
        {267, 8, true},
        {'Z', 10, false},
        {'J', 10, false},
        {KeyCode::Space, 10, true},
        {KeyCode::Enter, 10, true},
        {256, 10, true},
        {'X', 11, false},
        {'K', 11, false},
        {KeyCode::Control, 11, true},
        {257, 11, true},
        {'C', 12, false},
        {'L', 12, false},
        {KeyCode::Shift, 12, true},
        {258, 12, true},
        {'V', 13, false},
        {'I', 13, false},
        {259, 13, true},
        {KeyCode::Escape, 99, true},
        {KeyCode::Delete, 99, true},
        {KeyCode::Backspace, 99, true},
        {263, 99, true},
        {'Q', -1, false},
        {KeyCode::Tab, -1, false},
        {260, -1, false},
        {KeyCode::MouseLeft, -1, false},
    };
    for (int cade : {0, 1}) {
        iCadeControls = cade;
        for (const Binding &b : bindings) {
            KeyDown(b.key);
            for (int control : kControls) {
                const bool expected = control == b.control && (cade == 0 || b.withCade);
                EXPECT_EQ(app->p_PlayKey(control), expected)
                    << "iCade " << cade << " key " << b.key << " control " << control;
            }
            for (int other : {1, 2, 4, 14, 15, 16, 17, 98, 100, -1}) {
                EXPECT_FALSE(app->p_PlayKey(other)) << "key " << b.key << " control " << other;
            }
            KeyUp(b.key);
        }
    }
    // Any other iCade value reads every control as released.
    iCadeControls = 2;
    KeyDown(KeyCode::Up);
    EXPECT_FALSE(app->p_PlayKey(0));
    KeyUp(KeyCode::Up);
}

TEST_F(ControlsTest, StateElementsCountAsHeld) {
    const std::pair<int, int> elements[] = {{0, 0},   {3, 3},   {5, 5},   {8, 8},   {10, 10},
                                            {11, 11}, {12, 12}, {13, 13}, {16, 99}, {17, 99},
                                            {19, 99}, {14, -1}, {15, -1}};
    for (const auto &e : elements) {
        app->virtualKeys[e.first] = 2;
        for (int control : kControls) {
            EXPECT_EQ(app->p_PlayKey(control), control == e.second)
                << "element " << e.first << " control " << control;
        }
        app->virtualKeys[e.first] = 0;
    }
}

TEST_F(ControlsTest, JoystickAxesAreStrictAtPointFour) {
    struct Case {
        float x, y;
        int control;
    };
    const Case cases[] = {
        {0.0f, -0.4f, -1}, {0.0f, -0.41f, 0}, {0.0f, 0.4f, -1}, {0.0f, 0.41f, 8},
        {-0.4f, 0.0f, -1}, {-0.41f, 0.0f, 3}, {0.4f, 0.0f, -1}, {0.41f, 0.0f, 5},
    };
    for (const Case &c : cases) {
        SetJoystickAxes(c.x, c.y);
        for (int control : kControls) {
            EXPECT_EQ(app->p_PlayKey(control), control == c.control)
                << "axes " << c.x << "," << c.y << " control " << control;
        }
    }
    SetJoystickAxes(0, 0);
}

TEST_F(ControlsTest, ButtonEdgesAreStrict) {
    // A 64 x 64 frame at image scale 0.5 and draw scale 2: 64 virtual pixels
    // across, centred on (100, 200).
    app->imageInfo[95 * 3] = 64;
    app->imageInfo[95 * 3 + 1] = 64;
    app->imageScale = 0.5f;
    app->p_SetSize(2, -3717);
    struct Case {
        int x, y;
        int hit;
    };
    const Case cases[] = {{100, 200, 1}, {68, 200, 0},  {69, 200, 1},
                          {131, 200, 1}, {132, 200, 0}, {100, 168, 0},
                          {100, 169, 1}, {100, 232, 0}, {-3717, -3717, 0}};
    for (const Case &c : cases) {
        for (int slot : {0, 7}) {
            SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " slot " << slot);
            for (int i = 0; i < kTouchSlots; ++i) app->touchX[i] = app->touchY[i] = -3717;
            app->touchX[slot] = c.x;
            app->touchY[slot] = c.y;
            app->pointerDown = 1;
            app->drawListLength = 0;
            EXPECT_EQ(app->p_Button(95, 100, 200, 3), c.hit);
            EXPECT_EQ(app->p_Button0(95, 100, 200, 3), slot == 0 && c.hit == 1);
            // Both draw the button, hit or not.
            EXPECT_EQ(app->drawListLength, 30);
            EXPECT_EQ(app->drawList[6], 3.0f);
            app->pointerDown = 0;
            EXPECT_EQ(app->p_Button(95, 100, 200, 3), 0);
        }
    }
}

TEST_F(ControlsTest, CentredRectangleTestsOnlyTouchesThatAreDown) {
    app->touchDown[2] = 1;
    app->touchX[2] = 110;
    app->touchY[2] = 50;
    EXPECT_TRUE(app->p_MouseIn_Centered(100, 50, 21, 10));
    EXPECT_FALSE(app->p_MouseIn_Centered(100, 50, 20, 10));  // on the edge
    app->touchDown[2] = 0;
    EXPECT_FALSE(app->p_MouseIn_Centered(100, 50, 100, 100));
    EXPECT_EQ(app->drawListLength, 0);
}

TEST_F(ControlsTest, PointerAndTouchesInVirtualPixels) {
    ASSERT_TRUE(ResizeWindow(1280, 720));
    Render();
    Update();
    for (int i = 0; i < kTouchSlots; ++i) {
        EXPECT_EQ(app->touchX[i], -3717);
        EXPECT_EQ(app->touchY[i], -3717);
        EXPECT_EQ(app->touchDown[i], 0);
    }
    EXPECT_EQ(app->pointerDown, 0);

    MouseMove(301, 101);
    Update();
    EXPECT_EQ(app->pointerX, 150);
    EXPECT_EQ(app->pointerY, 50);
    MouseMove(401, 201);
    Update();
    EXPECT_EQ(app->prevPointerX, 150);
    EXPECT_EQ(app->pointerX, 200);

    // A fresh press shows no jump.
    MouseDown(601, 301);
    Update();
    EXPECT_EQ(app->pointerX, 300);
    EXPECT_EQ(app->prevPointerX, 300);
    EXPECT_EQ(app->prevPointerY, 150);
    EXPECT_EQ(app->pointerDown, 1);
    EXPECT_EQ(app->pointerHits, 1);
    EXPECT_EQ(app->mouseWasDown, 1);
    // The mouse button is also touch 0.
    EXPECT_EQ(app->touchDown[0], 1);
    EXPECT_EQ(app->touchX[0], 300);
    MouseUp(601, 301);
    TouchDown(3, 81, 41);
    Update();
    EXPECT_EQ(app->mouseWasDown, 0);
    EXPECT_EQ(app->pointerDown, 1);
    EXPECT_EQ(app->touchDown[3], 1);
    EXPECT_EQ(app->touchX[3], 40);
    EXPECT_EQ(app->touchY[3], 20);
    EXPECT_EQ(app->touchX[0], -3717);
    TouchUp(3, 81, 41);
    Update();
    EXPECT_EQ(app->pointerDown, 0);
    EXPECT_EQ(app->touchX[3], -3717);
}

TEST_F(ControlsTest, LatchesClearOnlyWhenEverythingIsReleased) {
    FinishLoading();
    app->screenMode = 0;  // no screen: the test plays the screen's part
    app->keyLatch = 1;
    app->pressConsumed = 1;
    KeyDown(KeyCode::Enter);
    MouseDown(10, 10);
    Update(3);
    EXPECT_EQ(app->keyLatch, 1);
    EXPECT_EQ(app->pressConsumed, 1);
    KeyUp(KeyCode::Enter);
    KeyDown('V');
    Update();
    EXPECT_EQ(app->keyLatch, 1);
    KeyUp('V');
    Update();
    EXPECT_EQ(app->keyLatch, 0);
    EXPECT_EQ(app->pressConsumed, 1);
    MouseUp(10, 10);
    Update();
    EXPECT_EQ(app->pressConsumed, 0);
    // A key outside the game's controls never holds the latch.
    app->keyLatch = 1;
    KeyDown(KeyCode::Tab);
    Update();
    EXPECT_EQ(app->keyLatch, 0);
    KeyUp(KeyCode::Tab);
}

class BackKeyTest : public GameFixture {
public:
    c_MyApp *CreateApp() override {
        RecordingApp *rec = new RecordingApp();
        rec->m_new();
        return rec;
    }
};

TEST_F(BackKeyTest, BackKeyClosesTheTitleMenuBoxes) {
    struct Case {
        int mode, credits, badges, latch, consumed;
        bool closes;
    };
    const Case cases[] = {{1, 1, 0, 0, 0, true},   {1, 0, 1, 0, 0, true},  {1, 1, 1, 0, 0, true},
                          {1, 1, 0, 1, 0, false},  {1, 1, 0, 0, 1, false}, {10, 1, 0, 0, 0, false},
                          {11, 0, 1, 0, 0, false}, {1, 0, 0, 0, 0, false}};
    FinishLoading();
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "mode " << c.mode << " credits " << c.credits << " badges " << c.badges
                     << " latch " << c.latch << " consumed " << c.consumed);
        app->screenMode = c.mode;
        app->creditsOpen = c.credits;
        app->badgesOpen = c.badges;
        app->keyLatch = c.latch;
        app->pressConsumed = c.consumed;
        if (c.consumed) MouseDown(5, 5);  // keeps the press latched
        KeyDown(KeyCode::Escape);
        Update();
        KeyUp(KeyCode::Escape);
        MouseUp(5, 5);
        EXPECT_EQ(app->creditsOpen, c.closes ? 0 : c.credits);
        EXPECT_EQ(app->badgesOpen, c.closes ? 0 : c.badges);
        if (c.closes) {
            EXPECT_EQ(app->keyLatch, 1);
            EXPECT_EQ(app->pressConsumed, 1);
        }
        app->creditsOpen = app->badgesOpen = 0;
        Update();
    }
}

TEST_F(ControlsTest, ICadeLettersHoldAndReleaseFromTheNextUpdate) {
    FinishLoading();
    app->screenMode = 0;
    app->p_iCade(1);
    EXPECT_EQ(iCadeControls, 1);
    const struct {
        char press, release;
        int element, control;
    } letters[] = {{'w', 'e', 0, 0},   {'X', 'Z', 8, 8},   {'a', 'q', 3, 3},   {'D', 'C', 5, 5},
                   {'y', 't', 13, 13}, {'u', 'f', 14, -1}, {'i', 'm', 15, -1}, {'o', 'g', 16, 99},
                   {'H', 'R', 10, 10}, {'j', 'n', 11, 11}, {'k', 'p', 12, 12}, {'l', 'v', 17, 99}};
    for (const auto &l : letters) {
        SCOPED_TRACE(l.press);
        TypeChar(l.press);
        Update();
        EXPECT_EQ(app->virtualKeys[l.element], 2);
        EXPECT_EQ(app->cadeChar, 0);
        Update(3);  // held by the cabinet however long
        EXPECT_EQ(app->virtualKeys[l.element], 2);
        if (l.control >= 0) {
            EXPECT_TRUE(app->p_PlayKey(l.control));
        }
        TypeChar(l.release);
        Update();
        EXPECT_EQ(app->virtualKeys[l.element], 0);
        if (l.control >= 0) {
            EXPECT_FALSE(app->p_PlayKey(l.control));
        }
    }
    // The W key itself no longer reads as up.
    KeyDown('W');
    EXPECT_FALSE(app->p_PlayKey(0));
    KeyUp('W');
    // A press of one update is released by the tail; a cabinet hold is not.
    app->virtualKeys[4] = 1;
    app->virtualKeys[5] = 2;
    app->virtualKeys[19] = 1;
    UpdateWithoutTime();
    EXPECT_EQ(app->virtualKeys[4], 0);
    EXPECT_EQ(app->virtualKeys[5], 2);
}

TEST_F(ControlsTest, ICadeSwitch) {
    TypeChar('q');
    app->p_iCade(1);
    EXPECT_EQ(app->cadeChar, 0);
    EXPECT_EQ(input->p_GetChar(), 0);  // stale letters were taken
    app->virtualKeys[3] = 2;
    app->virtualKeys[19] = 1;
    EXPECT_EQ(app->p_iCade(2), 0);
    EXPECT_EQ(iCadeControls, 1);
    EXPECT_EQ(app->virtualKeys[3], 2);
    app->p_iCade(0);
    EXPECT_EQ(iCadeControls, 0);
    for (int i = 0; i < 19; ++i) EXPECT_EQ(app->virtualKeys[i], 0);
    EXPECT_EQ(app->virtualKeys[19], 1);
}

}  // namespace
