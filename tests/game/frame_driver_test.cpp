// The frame driver: start-up state, the screen dispatch table, the close
// key, the debug overlay, the update-rate measurement, the credits slide
// and suspend/resume.
#include <gtest/gtest.h>

#include "input/input.h"
#include "tests/game/support/game_fixture.h"
#include "tests/game/support/recording_app.h"

namespace {

class FrameDriverTest : public GameFixture {
public:
    c_MyApp *CreateApp() override {
        rec = new RecordingApp();
        rec->m_new();
        return rec;
    }
    // Skips the loader so the screens run.
    void Loaded() {
        app->loadStage = 0;
        rec->Take();
    }
    RecordingApp *rec = nullptr;
};

TEST_F(FrameDriverTest, CreateSetsTheStartStateBeforeLoadingSavedData) {
    int soundAtLoad = -1;
    EXPECT_EQ(app->screenMode, kScreenMenu);
    EXPECT_EQ(bb_app__updateRate, 60);
    EXPECT_EQ(host->UpdateRate(), 60);
    EXPECT_EQ(app->deviceWidth, 640);
    EXPECT_EQ(app->deviceHeight, 480);
    EXPECT_EQ(app->loadStage, 1);
    EXPECT_EQ(app->gameMode, 2);
    EXPECT_EQ(app->menuSlide, -32);
    EXPECT_EQ(app->pausePanelDirection, -1);
    EXPECT_EQ(app->pausePanelY, -64);
    EXPECT_EQ(app->settings[kSettingSound], 1);
    for (int i = 0; i < kSfxChannelSlots; ++i) EXPECT_EQ(app->sfxChannels[i], i);
    EXPECT_EQ(app->fontSlot, 90);

    // p_Load runs after the defaults are in place, so it can replace them.
    app->settings[kSettingSound] = 3;
    rec->onCall = [&](const std::string &name) {
        if (name == "Load") soundAtLoad = app->settings[kSettingSound];
    };
    rec->p_OnCreate();
    EXPECT_EQ(soundAtLoad, 1);
}

TEST_F(FrameDriverTest, EveryTableHasItsFinalLength) {
    EXPECT_EQ(app->images.Length(), 100);
    EXPECT_EQ(app->imageInfo.Length(), 300);
    EXPECT_EQ(app->badgePopupBadge.Length(), 15);
    EXPECT_EQ(app->badgePopupTimer.Length(), 15);
    EXPECT_EQ(app->badgeEarned.Length(), 256);
    EXPECT_EQ(app->virtualKeys.Length(), 20);
    EXPECT_EQ(app->settings.Length(), 25);
    EXPECT_EQ(app->scoreTable.Length(), 150);
    EXPECT_EQ(app->sfxChannels.Length(), 33);
    EXPECT_EQ(app->drawList.Length(), 37500);
    EXPECT_EQ(app->touchDown.Length(), 10);
    EXPECT_EQ(app->touchX.Length(), 10);
    EXPECT_EQ(app->touchY.Length(), 10);
    EXPECT_EQ(app->sounds.Length(), 100);
    EXPECT_EQ(app->board.Length(), 1024);
}

struct DispatchCase {
    int mode;
    int gameEnded;
    int creditsOpen;
    int badgesOpen;
    const char *calls;
    int modeAfter;
};

TEST_F(FrameDriverTest, DispatchTable) {
    const DispatchCase cases[] = {
        {1, 0, 0, 0, "Menu GameOver ShowBadges", 1},
        {1, 0, 1, 0, "Menu GameOver CreditBox ShowBadges", 1},
        {1, 0, 0, 1, "Menu GameOver BadgesBox ShowBadges", 1},
        {1, 1, 1, 1, "Menu GameOver CreditBox BadgesBox ShowBadges", 1},
        {2, 0, 0, 0, "LoadMenu GameOver ShowBadges", 1},
        {2, 0, 1, 1, "LoadMenu GameOver CreditBox BadgesBox ShowBadges", 1},
        {10, 0, 1, 1, "Game InGame ShowBadges", 10},
        {10, 1, 0, 0, "Game InGame GameOver ShowBadges", 10},
        {11, 0, 1, 1, "LoadGame ShowBadges", 11},
        {0, 1, 1, 1, "ShowBadges", 0},
        {5, 1, 1, 1, "ShowBadges", 5},
    };
    for (const DispatchCase &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "mode " << c.mode << " ended " << c.gameEnded << " credits "
                     << c.creditsOpen << " badges " << c.badgesOpen);
        Loaded();
        app->screenMode = c.mode;
        app->gameEnded = c.gameEnded;
        app->creditsOpen = c.creditsOpen;
        app->badgesOpen = c.badgesOpen;
        app->creditsSlide = 0;
        Update();
        EXPECT_EQ(rec->Take(), c.calls);
        EXPECT_EQ(app->screenMode, c.modeAfter);
    }
}

TEST_F(FrameDriverTest, GameOverRunsTwiceInTheUpdateThatEndsTheSequence) {
    Loaded();
    app->screenMode = kScreenPlaying;
    app->gameEnded = 1;
    rec->onCall = [&](const std::string &name) {
        if (name == "GameOver" && app->screenMode == kScreenPlaying) app->screenMode = 2;
    };
    Update();
    EXPECT_EQ(rec->Take(), "Game InGame GameOver GameOver ShowBadges");
    EXPECT_EQ(app->screenMode, 2);
    // The next update returns to the title menu.
    Update();
    EXPECT_EQ(rec->Take(), "LoadMenu GameOver ShowBadges");
    EXPECT_EQ(app->screenMode, 1);
}

TEST_F(FrameDriverTest, LoaderRunsInsteadOfScreensAndAScreenCanStartIt) {
    EXPECT_EQ(app->loadStage, 1);
    rec->Take();
    Update();
    EXPECT_EQ(rec->Take(), "WaitStart1 ShowBadges");
    EXPECT_EQ(app->loadStage, 2);

    // A loader started by the screen runs its first step in the same update.
    Loaded();
    rec->onCall = [&](const std::string &name) {
        if (name == "Menu") app->loadStage = 1;
    };
    Update();
    EXPECT_EQ(rec->Take(), "Menu GameOver WaitStart1 ShowBadges");
    EXPECT_EQ(app->loadStage, 2);
}

TEST_F(FrameDriverTest, SeventeenLoaderUpdatesThenTheTitleMenu) {
    int n = 0;
    rec->Take();
    while (app->loadStage > 0 && n < 100) {
        Update();
        ++n;
        EXPECT_EQ(rec->Take(), "WaitStart1 ShowBadges") << "update " << n;
    }
    EXPECT_EQ(n, 17);
    Update();
    EXPECT_EQ(rec->Take(), "Menu GameOver ShowBadges");
}

TEST_F(FrameDriverTest, CloseKeyEndsWithStatusZeroEvenWhileLoading) {
    ASSERT_GT(app->loadStage, 0);
    Tap(KeyCode::CloseRequest);
    EXPECT_EXIT(UpdateWithoutTime(), testing::ExitedWithCode(0), "");
}

TEST_F(FrameDriverTest, F10TogglesTheOverlayDrawnOnTopOfTheScreen) {
    Loaded();
    app->fontSlot = 90;
    rec->onCall = [&](const std::string &name) {
        if (name == "Menu") {
            app->p_CLS2D(0, 0, 80, 1);
            app->p_Rect(1, 2, 3, 4);
        }
    };
    Tap(KeyCode::F10);
    Update();
    EXPECT_EQ(DebugMode, 1);
    // The screen's rectangle comes first, then one record per character.
    ASSERT_GT(app->drawListLength, 15);
    EXPECT_EQ(app->drawList[0], kDrawOpRect);
    EXPECT_EQ(app->drawList[15], 90.0f);
    // "<fps>:1.0,1.0": the last character is a '0' at y jscrh - 16.
    const int last = app->drawListLength - 15;
    EXPECT_EQ(app->drawList[last + 6], static_cast<float>('0' - 32));
    EXPECT_EQ(app->drawList[last + 2], jscrh - 16.0f + 0.5f * 10.0f);

    Tap(KeyCode::F10);
    Update();
    EXPECT_EQ(DebugMode, 0);
    EXPECT_EQ(app->drawListLength, 15);
}

TEST_F(FrameDriverTest, UpdateRateMeasurement) {
    Loaded();
    UpdateWithoutTime();
    // 20 ms since the previous update: 50 per second, averaged in a tenth.
    app->updateFps = 0;
    app->updateFpsSmoothed = 60;
    AdvanceMillis(20);
    UpdateWithoutTime();
    EXPECT_EQ(app->updateFps, 50);
    EXPECT_EQ(app->updateFpsSmoothed, (60 * 9 + 50) / 10);
    EXPECT_EQ(app->lastUpdateMillis, Millis());

    // Same millisecond: the rate keeps its value and the average moves.
    app->updateFps = 59;
    app->updateFpsSmoothed = 60;
    UpdateWithoutTime();
    EXPECT_EQ(app->updateFps, 59);
    EXPECT_EQ(app->updateFpsSmoothed, 59);
}

TEST_F(FrameDriverTest, CreditsSlideStaysWithinZeroToThirty) {
    Loaded();
    app->creditsOpen = 1;
    for (int i = 0; i < 40; ++i) Update();
    EXPECT_EQ(app->creditsSlide, 30);
    app->creditsOpen = 0;
    app->creditsSlide = 12;
    rec->Take();
    int boxes = 0;
    for (int i = 0; i < 20; ++i) {
        Update();
        for (const std::string &c : rec->calls) boxes += c == "CreditBox";
        rec->Take();
    }
    EXPECT_EQ(boxes, 12);
    EXPECT_EQ(app->creditsSlide, 0);
}

TEST_F(FrameDriverTest, SuspendDuringAGameSavesAndReopensWithThePausePanel) {
    struct Case {
        int mode;
        int paused;
        int direction;
        int panelY;
    };
    const Case cases[] = {{10, 1, 1, 240}, {11, 1, 1, 240}, {1, 0, 0, 0}, {2, 0, 0, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        Loaded();
        app->screenMode = c.mode;
        app->paused = 7;
        iCadeControls = 1;
        app->virtualKeys[3] = 2;
        Suspend();
        EXPECT_EQ(rec->Take(), "Save");
        EXPECT_EQ(app->paused, c.paused);
        EXPECT_EQ(app->pausePanelDirection, c.direction);
        EXPECT_EQ(app->pausePanelY, c.panelY);
        EXPECT_EQ(iCadeControls, 0);
        EXPECT_EQ(app->virtualKeys[3], 0);
        EXPECT_EQ(bb_app__updateRate, 5);
        app->paused = 7;
        Resume();
        EXPECT_EQ(app->paused, c.paused);
        EXPECT_EQ(bb_app__updateRate, 60);
    }
}

TEST_F(FrameDriverTest, SurvivesCollectionsWithEveryTableIntact) {
    // The host collects after every event; the tables must stay reachable
    // through the game object's mark.
    app->scoreTable[149] = 77;
    app->drawList[37499] = 5.0f;
    for (int i = 0; i < 20; ++i) {
        gc_force_sweep = true;
        host->gc_collect();
    }
    Update(3);
    EXPECT_EQ(app->scoreTable[149], 77);
    EXPECT_EQ(app->drawList[37499], 5.0f);
}

}  // namespace
