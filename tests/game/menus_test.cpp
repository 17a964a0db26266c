// The loading screen, the title menu and the pause panel on the real game
// object: drawing figures, buttons, keys and their latches.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "tests/game/support/play_helpers.h"

namespace {

class Menus : public PlayFixture {
protected:
    void Click(float x, float y) {
        MouseDown(x, y);
        Update();
        MouseUp(x, y);
        Update();
    }
    void Press(int key) {
        KeyDown(key);
        Update();
        KeyUp(key);
        Update();
    }
    // A game whose player can only step down: left, up and right are
    // blocked for the whole test (no step ages them).
    void PlayingWithOnlyDownFree() {
        StartPlaying();
        ClearBoard();
        PlacePlayer(4, 4);
        Block(4, 4) = 8;
        Block(3, 4) = Block(5, 4) = Block(4, 3) = 8;
        app->chaserTimer = 1000;
    }
    void OpenPanelWithEscape() {
        Press(KeyCode::Escape);
        Update(20);
        ASSERT_EQ(app->paused, 1);
        ASSERT_EQ(app->pausePanelY, 248);
    }
};

// ---------------------------------------------------------------------------
// Loading screen
// ---------------------------------------------------------------------------

TEST_F(Menus, LoadingScreenTurnsTheRingsSixteenDegreesPerUpdate) {
    ASSERT_GT(app->loadStage, 0);
    const int angle = app->spinnerAngle;
    Update();
    EXPECT_EQ(app->spinnerAngle, angle + 16);
    const std::vector<DrawRecord> r = Records();
    // 11 back dots, the sun, the band, the logo, 11 front dots.
    ASSERT_EQ(r.size(), 25u);
    const float S = 480.0f, a = app->spinnerAngle;
    const float kDeg = 3.14159265f / 180.0f;
    for (int i = 0; i < 11; ++i) {
        const float back = (a + 180 + 16 * i) * kDeg, front = (a + 16 * i) * kDeg;
        EXPECT_EQ(r[i].op, -3716.0f);
        EXPECT_NEAR(r[i].x, 320 + std::sin(back) * S / 4, 0.01);
        EXPECT_NEAR(r[i].y, 240 - std::cos(back) * S / 4, 0.01);
        EXPECT_NEAR(r[i].alpha, i / 10.0f, 1e-6);
        EXPECT_EQ(r[i].red, 250.0f);
        EXPECT_NEAR(r[14 + i].x, 320 + std::sin(front) * S / 4, 0.01);
        EXPECT_NEAR(r[14 + i].y, 240 - std::cos(front) * S / 4, 0.01);
        EXPECT_EQ(r[14 + i].red, 50.0f);
        EXPECT_EQ(r[i].a, 8.0f);
    }
    EXPECT_EQ(r[11].op, -3716.0f);  // the sun
    EXPECT_NEAR(r[11].a, 144.0f, 0.01);
    EXPECT_EQ(r[12].op, -3717.0f);  // the band
    EXPECT_NEAR(r[12].y, 192.0f, 0.01);
    EXPECT_NEAR(r[12].b, 96.0f, 0.01);
    EXPECT_EQ(r[13].op, 93.0f);  // the brand logo
    EXPECT_NEAR(r[13].y, 0.48f * 480, 0.01);
}

TEST_F(Menus, ReloadingTheArtworkKeepsAGameInProgress) {
    StartPlaying();
    StepKey(KeyCode::Right);
    const int block = Block(5, 4), score = app->score;
    app->loadStage = 1;  // as a window resize does
    FinishLoading();
    EXPECT_EQ(app->screenMode, kScreenPlaying);
    EXPECT_EQ(Block(5, 4), block);
    EXPECT_EQ(app->score, score);
    StepKey(KeyCode::Right);
    EXPECT_EQ(PlayerX(), 6);
}

// ---------------------------------------------------------------------------
// Title menu
// ---------------------------------------------------------------------------

TEST_F(Menus, MenuSlidesInByOnePerUpdate) {
    FinishLoading();
    ASSERT_EQ(app->menuSlide, -32);
    Update();
    EXPECT_EQ(app->menuSlide, -31);
    Update(40);
    EXPECT_EQ(app->menuSlide, 0);
}

TEST_F(Menus, HoldingEnterStartsExactlyOneGame) {
    ToTitle();
    KeyDown(KeyCode::Enter);
    Update(100);
    KeyUp(KeyCode::Enter);
    Update();
    EXPECT_EQ(rec()->gamesStarted, 1);
    EXPECT_EQ(app->screenMode, kScreenPlaying);
}

TEST_F(Menus, StartButtonStartsAGame) {
    ToTitle();
    Click(0.4f * 640, 0.7f * 480);
    EXPECT_EQ(rec()->gamesStarted, 1);
    EXPECT_EQ(app->screenMode, kScreenPlaying);
    EXPECT_EQ(app->gameMode, 2);
    ASSERT_GE(rec()->CountSounds(98), 1);
}

TEST_F(Menus, AnOpenBoxDisablesStartKeysICadeAndListsButNotSound) {
    for (const char *box : {"credits", "badges"}) {
        SCOPED_TRACE(box);
        StartFreshGame();
        ToTitle();
        auto open = [&] {
            if (std::string(box) == "credits") {
                app->creditsOpen = 1;
            } else {
                app->badgesOpen = 1;
            }
        };
        open();
        Update();
        EXPECT_TRUE(rec()->TextsStartingWith("Top ").empty());
        EXPECT_TRUE(rec()->TextsStartingWith("Last").empty());

        open();
        MouseDown(0.4f * 640, 0.7f * 480);  // start button
        Update();
        EXPECT_EQ(app->screenMode, kScreenMenu);
        MouseUp(0.4f * 640, 0.7f * 480);
        Update();

        open();
        KeyDown(KeyCode::Enter);
        Update();
        EXPECT_EQ(app->screenMode, kScreenMenu);
        KeyUp(KeyCode::Enter);
        Update();

        open();
        MouseDown(640 - 38, 38);  // iCade switch
        Update();
        EXPECT_EQ(iCadeControls, 0);
        MouseUp(640 - 38, 38);
        Update();

        open();
        const int sound = app->settings[kSettingSound];
        MouseDown(32, 240);  // sound switch
        Update();
        EXPECT_EQ(app->settings[kSettingSound], 1 - sound);
        MouseUp(32, 240);
        Update();
        EXPECT_EQ(rec()->gamesStarted, 0);
        app->creditsOpen = app->badgesOpen = 0;
    }
}

TEST_F(Menus, ScoreListsShowAsManyLinesAsFit) {
    struct Case {
        int height;
        const char *best, *last;
        int lines;
    };
    const Case cases[] = {
        {480, "Top 10", "Last 10", 10},
        {300, "Top 4", "Last 4", 4},
        {200, "Highscore", "Last", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.height);
        ASSERT_TRUE(ResizeWindow(640, c.height));
        Render();
        ToTitle();
        ASSERT_EQ(jscrh, static_cast<float>(c.height));
        for (int i = 0; i < 10; ++i) {
            app->scoreTable[10 + i] = 100 - i;
            app->scoreTable[40 + i] = 7 + i;
        }
        Update();
        auto best = rec()->TextsStartingWith(c.best);
        auto last = rec()->TextsStartingWith(c.last);
        ASSERT_EQ(best.size(), 1u);
        ASSERT_EQ(last.size(), 1u);
        std::string wantBest = c.best, wantLast = c.last;
        for (int i = 0; i < c.lines; ++i) {
            std::string b = std::to_string(100 - i), l = std::to_string(7 + i);
            wantBest += "\\n" + std::string(11 - b.size(), ' ') + b;
            wantLast += "\\n" + std::string(11 - l.size(), ' ') + l;
        }
        EXPECT_EQ(best[0].text, wantBest);
        EXPECT_EQ(last[0].text, wantLast);
        EXPECT_FLOAT_EQ(best[0].x, 640 - 140 + 20);
        EXPECT_FLOAT_EQ(best[0].y, 60);
        EXPECT_FLOAT_EQ(last[0].y, c.height / 2.0f + 20);
    }
    ResizeWindow(640, 480);
}

TEST_F(Menus, SoundSwitchTogglesAndDamagedValuesBecomeOff) {
    const int cases[][2] = {{1, 0}, {0, 1}, {2, 0}, {3, 0}, {-1, 0}, {INT_MIN, 0}, {INT_MAX, 0}};
    ToTitle();
    for (const auto &c : cases) {
        app->settings[kSettingSound] = c[0];
        Click(32, 240);
        EXPECT_EQ(app->settings[kSettingSound], c[1]) << "from " << c[0];
    }
}

// ---------------------------------------------------------------------------
// Pause panel
// ---------------------------------------------------------------------------

TEST_F(Menus, PanelSlidesInToTheFirstStopAtHalfHeightAndOutToMinusForty) {
    PlayingWithOnlyDownFree();
    ASSERT_EQ(app->pausePanelY, -64);
    KeyDown(KeyCode::Escape);
    std::vector<int> in;
    for (int i = 0; i < 15; ++i) {
        Update();
        in.push_back(app->pausePanelY);
        if (i == 0) KeyUp(KeyCode::Escape);
    }
    EXPECT_EQ(in, (std::vector<int>{-40, -16, 8, 32, 56, 80, 104, 128, 152, 176, 200, 224, 248, 248,
                                    248}));
    // Closing: the back key turns the panel round after its move of this
    // update, and paused is cleared in the update it reaches -40.
    KeyDown(KeyCode::Escape);
    std::vector<int> out;
    while (app->paused == 1 && out.size() < 20) {
        Update();
        out.push_back(app->pausePanelY);
        KeyUp(KeyCode::Escape);
    }
    EXPECT_EQ(out, (std::vector<int>{248, 224, 200, 176, 152, 128, 104, 80, 56, 32, 8, -16, -40}));
}

TEST_F(Menus, HeldEscapeOpensThePanelOnceAndASecondPressCloses) {
    PlayingWithOnlyDownFree();
    const int clicks = rec()->CountSounds(98);
    KeyDown(KeyCode::Escape);
    for (int i = 0; i < 20; ++i) {
        Update();
        EXPECT_EQ(app->paused, 1) << "update " << i;
        EXPECT_EQ(app->pausePanelDirection, 1);
    }
    KeyUp(KeyCode::Escape);
    Update();
    EXPECT_EQ(rec()->CountSounds(98), clicks + 1);
    // Held again, it closes the panel, which stays closed while held.
    HoldKey(KeyCode::Escape, 30);
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->pausePanelDirection, -1);
    EXPECT_EQ(rec()->CountSounds(98), clicks + 2);
}

TEST_F(Menus, KeyboardPathThroughResumeQuitAndSound) {
    PlayingWithOnlyDownFree();
    OpenPanelWithEscape();
    app->settings[kSettingSound] = 1;
    EXPECT_EQ(app->pauseChoice, 0);
    Press(KeyCode::Left);  // toward a blocked cell: the panel sees it
    EXPECT_EQ(app->pauseChoice, -1);
    Press(KeyCode::Right);
    EXPECT_EQ(app->pauseChoice, 0);
    Press(KeyCode::Up);
    EXPECT_EQ(app->pauseChoice, -1);
    Press(KeyCode::Right);
    Press(KeyCode::Right);
    EXPECT_EQ(app->pauseChoice, 1);
    // Enter steps the sound setting through 0 to 3.
    const int steps[] = {2, 3, 0, 1};
    for (int want : steps) {
        Press(KeyCode::Enter);
        EXPECT_EQ(app->settings[kSettingSound], want);
    }
    // Held, it steps once.
    HoldKey(KeyCode::Enter, 20);
    EXPECT_EQ(app->settings[kSettingSound], 2);
    Update();
    Press(KeyCode::Left);
    EXPECT_EQ(app->pauseChoice, 0);
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->gameEnded, 0);
    EXPECT_EQ(PlayerY(), 4);  // no step all along
}

TEST_F(Menus, DownTowardAFreeCellStepsThePlayerInsteadOfTheSelection) {
    PlayingWithOnlyDownFree();
    OpenPanelWithEscape();
    Press(KeyCode::Left);
    ASSERT_EQ(app->pauseChoice, -1);
    Press(KeyCode::Down);
    EXPECT_EQ(PlayerY(), 5);
    EXPECT_EQ(app->pauseChoice, -1);
}

TEST_F(Menus, EnterOnQuitEndsTheGameAtOnce) {
    PlayingWithOnlyDownFree();
    OpenPanelWithEscape();
    Press(KeyCode::Left);
    KeyDown(KeyCode::Enter);
    Update();
    EXPECT_EQ(app->gameEnded, 1);
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->pausePanelY, -64);
    EXPECT_EQ(app->pausePanelDirection, -1);
    KeyUp(KeyCode::Enter);
    // No pause once the game has ended.
    Press(KeyCode::Escape);
    EXPECT_EQ(app->paused, 0);
    Click(16, 16);
    EXPECT_EQ(app->paused, 0);
}

TEST_F(Menus, SoundStepOfADamagedSettingIsSafe) {
    const int cases[][2] = {{0, 1}, {2, 3}, {3, 0}, {INT_MAX, 0}, {INT_MIN, 0}, {-2, 0}, {7, 0}};
    PlayingWithOnlyDownFree();
    OpenPanelWithEscape();
    Press(KeyCode::Right);
    ASSERT_EQ(app->pauseChoice, 1);
    for (const auto &c : cases) {
        app->settings[kSettingSound] = c[0];
        Press(KeyCode::Enter);
        EXPECT_EQ(app->settings[kSettingSound], c[1]) << "from " << c[0];
    }
}

TEST_F(Menus, PanelButtonsResumeQuitAndToggleSound) {
    PlayingWithOnlyDownFree();
    // The pause button opens the panel.
    Click(16, 16);
    ASSERT_EQ(app->paused, 1);
    Update(20);
    ASSERT_EQ(app->pausePanelY, 248);
    // Sound toggles between on and off.
    app->settings[kSettingSound] = 1;
    Click(320 + 140, 248 - 64);
    EXPECT_EQ(app->settings[kSettingSound], 0);
    Click(320 + 140, 248 - 64);
    EXPECT_EQ(app->settings[kSettingSound], 1);
    // Resume lets the panel slide out.
    Click(320, 248);
    EXPECT_EQ(app->pausePanelDirection, -1);
    Update(20);
    EXPECT_EQ(app->paused, 0);
    // Quit ends the game at once.
    Click(16, 16);
    Update(20);
    MouseDown(320 - 140, 248 - 64);
    Update();
    EXPECT_EQ(app->gameEnded, 1);
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->pausePanelY, -64);
    MouseUp(320 - 140, 248 - 64);
}

TEST_F(Menus, EscapeOpeningThePanelConsumesAHeldPointer) {
    PlayingWithOnlyDownFree();
    // The pointer rests where the resume button will slide in.
    MouseDown(320, 248);
    Update();
    KeyDown(KeyCode::Escape);
    Update(20);
    KeyUp(KeyCode::Escape);
    EXPECT_EQ(app->pausePanelY, 248);
    EXPECT_EQ(app->pausePanelDirection, 1);  // not resumed by the held button
    MouseUp(320, 248);
    Update();
}

}  // namespace
