// The game-over sequence and the score tables on the real game object: the
// drawing figures, the place shown, the entry rules, the hand-over to the
// title menu and what a held control does there.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "music/player.h"
#include "tests/game/support/play_helpers.h"

namespace {

class GameOver : public PlayFixture {
protected:
    void SetBest(const std::vector<int> &best) {
        for (int i = 0; i < 10; ++i) app->scoreTable[10 + i] = i < (int)best.size() ? best[i] : 0;
    }
    std::vector<int> Best() const {
        return std::vector<int>(app->scoreTable.Data() + 10, app->scoreTable.Data() + 20);
    }
    std::vector<int> Last() const {
        return std::vector<int>(app->scoreTable.Data() + 40, app->scoreTable.Data() + 50);
    }
    // One drawn update of the sequence at timer t during play.
    void DrawAt(int t) {
        app->screenMode = kScreenPlaying;
        app->gameOverTimer = t;
        app->p_CLS2D(0, 0, 80, 1);
        ++rec()->updates;  // a fresh "update" for the text log
        app->p_GameOver();
    }
};

TEST_F(GameOver, DarkeningBarsAndWordsGrowWithTheTimer) {
    struct Case {
        int t;
        float alpha;
        int bar;
    };
    const Case cases[] = {{1, 1 / 40.0f, 12},    {17, 17 / 40.0f, 204}, {18, 18 / 40.0f, 216},
                          {27, 27 / 40.0f, 216}, {28, 0.7f, 216},       {80, 0.7f, 216}};
    ToTitle();
    SetBest({100, 90, 80, 70, 60, 50, 40, 30, 20, 10});
    app->score = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.t);
        DrawAt(c.t);
        EXPECT_EQ(app->gameOverBar, c.bar);
        const std::vector<DrawRecord> r = Records();
        ASSERT_GE(r.size(), 3u);
        EXPECT_EQ(r[0].op, -3717.0f);
        EXPECT_NEAR(r[0].alpha, c.alpha, 1e-6);
        EXPECT_EQ(r[0].a, 642.0f);
        EXPECT_EQ(r[0].b, 482.0f);
        // Yellow from the left edge, orange from the right.
        EXPECT_EQ(r[1].x, -1.0f);
        EXPECT_FLOAT_EQ(r[1].y, 0.45f * 480 - 8);
        EXPECT_EQ(r[1].a, 2.0f * c.bar);
        EXPECT_EQ(r[1].green, 255.0f);
        EXPECT_EQ(r[2].x, 640.0f - 2 * c.bar);
        EXPECT_EQ(r[2].a, 2.0f * c.bar + 1);
        EXPECT_EQ(r[2].green, 128.0f);
        auto game = rec()->TextsStartingWith("GAME");
        auto over = rec()->TextsStartingWith("OVER");
        ASSERT_EQ(game.size(), 1u);
        ASSERT_EQ(over.size(), 1u);
        EXPECT_FLOAT_EQ(game[0].x, 0.35f * 640);
        EXPECT_EQ(game[0].y, static_cast<float>(c.bar));
        EXPECT_FLOAT_EQ(over[0].x, 0.65f * 640);
        EXPECT_EQ(over[0].y, 480.0f - c.bar);
        // Below the best score: no highscore panel.
        EXPECT_TRUE(rec()->TextsStartingWith("New").empty());
    }
    // Timer 0 draws nothing.
    DrawAt(0);
    EXPECT_EQ(app->drawListLength, 0);
}

TEST_F(GameOver, PlaceShownAndScoreEntered) {
    struct Case {
        const char *name;
        std::vector<int> best;
        int score;
        const char *shown;  // empty: no panel
        std::vector<int> bestAfter;
        int newRank;
    };
    const std::vector<int> tens = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
    const Case cases[] = {
        {"zero against zeros", {}, 0, "1st!", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, -1},
        {"equal to the third", tens, 80, "3rd", {100, 90, 80, 80, 70, 60, 50, 40, 30, 20}, 3},
        {"equal to the tenth", tens, 10, "10th", tens, -1},
        {"below all", tens, 5, "", tens, -1},
        {"new best", tens, 1000, "1st!", {1000, 100, 90, 80, 70, 60, 50, 40, 30, 20}, 0},
    };
    ToTitle();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetBest(c.best);
        for (int i = 0; i < 10; ++i) app->scoreTable[40 + i] = i + 1;
        app->score = c.score;
        DrawAt(30);
        auto panel = rec()->TextsStartingWith("New Highscore");
        if (std::string(c.shown).empty()) {
            EXPECT_TRUE(panel.empty());
        } else {
            ASSERT_EQ(panel.size(), 1u);
            EXPECT_EQ(panel[0].text, std::string("New Highscore\\n           ") + c.shown);
            EXPECT_FLOAT_EQ(panel[0].x, 320);
            EXPECT_FLOAT_EQ(panel[0].y, 480 - 216 / 1.5f);
            EXPECT_EQ(panel[0].alignX, 0.5f);
            EXPECT_EQ(panel[0].alignY, 2.0f);
        }
        app->p_LoadMenu();
        EXPECT_EQ(Best(), c.bestAfter);
        EXPECT_EQ(app->newRank, c.newRank);
        // Every finished game becomes the newest of the last ten.
        EXPECT_EQ(Last(), (std::vector<int>{c.score, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    }
}

TEST_F(GameOver, SequenceHandsOverAtNinetyAndShrinksOnTheTitleMenu) {
    StartPlaying();
    app->chaserTimer = 1000;
    unlink(".vantixstate");
    // Quit from the pause panel ends the game at once.
    app->score = 42;
    KeyDown(KeyCode::Escape);
    Update();
    KeyUp(KeyCode::Escape);
    Update(20);
    MouseDown(320 - 140, 248 - 64);
    Update();
    MouseUp(320 - 140, 248 - 64);
    ASSERT_EQ(app->gameEnded, 1);
    ASSERT_EQ(app->gameOverTimer, 1);      // the quitting update drew nothing, then counted
    app->musicPlayer->state = kTzPlaying;  // as if a song were on
    int updates = 1;
    while (app->screenMode == kScreenPlaying && updates < 200) {
        Update();
        ++updates;
    }
    EXPECT_EQ(updates, 90);
    EXPECT_EQ(app->screenMode, kScreenReturnToMenu);
    EXPECT_EQ(app->musicPlayer->state, kTzStopped);  // stopped and reset
    // In the same update the sequence already ran once over the title: 75
    // was drawn and the timer went on down.
    EXPECT_EQ(app->gameOverTimer, 73);
    Update();  // the finished game is entered, then the title menu runs
    EXPECT_EQ(app->screenMode, kScreenMenu);
    EXPECT_EQ(app->scoreTable[40], 42);
    EXPECT_EQ(app->scoreTable[10], 42);
    EXPECT_EQ(access(".vantixstate", F_OK), 0);  // saved
    std::vector<int> timers = {app->gameOverTimer};
    while (app->gameOverTimer > 0 && timers.size() < 100) {
        Update();
        timers.push_back(app->gameOverTimer);
    }
    // 73 was left by the drawing of 75; 71 by 73; ... 0 after drawing 1.
    ASSERT_EQ(timers.size(), 37u);
    EXPECT_EQ(timers.front(), 71);
    EXPECT_EQ(timers.back(), 0);
    Update();
    EXPECT_TRUE(rec()->TextsStartingWith("GAME").empty());
    EXPECT_EQ(app->gameOverTimer, 0);
    // The table got the game once.
    EXPECT_EQ(app->scoreTable[41], 0);
}

TEST_F(GameOver, ScoreIsFrozenOnceTheGameHasEnded) {
    StartPlaying();
    ClearBoard();
    PlacePlayer(3, 3);
    app->chaserTimer = 1000;
    app->score = 20;
    Number(4, 3) = 9;
    app->gameEnded = 1;  // as quitting leaves it
    HoldKey(KeyCode::Right, 89);
    ASSERT_EQ(app->screenMode, kScreenPlaying);
    EXPECT_EQ(PlayerX(), 3);
    Update(3);
    ASSERT_EQ(app->screenMode, kScreenMenu);
    EXPECT_EQ(app->scoreTable[40], 20);
}

TEST_F(GameOver, ControlsHeldThroughTheHandOverDoNotStartANewGame) {
    struct Case {
        const char *name;
        bool pointer;
    };
    for (const Case c : {Case{"pointer on the start button", true}, Case{"Enter", false}}) {
        SCOPED_TRACE(c.name);
        StartFreshGame();
        StartPlaying();
        app->chaserTimer = 1000;
        app->gameEnded = 1;
        const float sx = 0.4f * 640, sy = 0.7f * 480;
        if (c.pointer) {
            MouseDown(sx, sy);
        } else {
            KeyDown(KeyCode::Enter);
        }
        Update(150);
        EXPECT_EQ(app->screenMode, kScreenMenu);
        EXPECT_EQ(rec()->gamesStarted, 1);
        if (c.pointer) {
            MouseUp(sx, sy);
        } else {
            KeyUp(KeyCode::Enter);
        }
        Update();
        // A fresh press starts the next game.
        if (c.pointer) {
            MouseDown(sx, sy);
            Update();
            MouseUp(sx, sy);
        } else {
            KeyDown(KeyCode::Enter);
            Update();
            KeyUp(KeyCode::Enter);
        }
        Update();
        EXPECT_EQ(rec()->gamesStarted, 2);
    }
}

}  // namespace
