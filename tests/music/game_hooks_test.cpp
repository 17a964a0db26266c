// The game object's use of the player: with HasMusic 0 (as the game ships)
// the player is created and stopped at game over but never initialised,
// loaded or played; with HasMusic 1 the create, render and update hooks
// drive it.
#include <gtest/gtest.h>

#include "host/app.h"
#include "tests/music/support/music_fixture.h"

namespace {

class GameHooks : public MusicFixture {};

TEST_F(GameHooks, GameAsShippedNeverStartsThePlayer) {
    ASSERT_EQ(HasMusic, 0);
    c_TzPlayer *own = app->musicPlayer;
    ASSERT_NE(own, nullptr);
    WriteSongFiles();
    FinishLoading();
    for (int i = 0; i < 30; ++i) {
        Update();
        Render();
    }
    EXPECT_EQ(app->musicPlayer, own);
    EXPECT_EQ(own->state, kTzStopped);
    EXPECT_EQ(own->loadStep, 0);
    EXPECT_EQ(own->channelBase, 0);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(own->initValues[i], 0);
    EXPECT_EQ(own->songImage, nullptr);
    EXPECT_EQ(own->row, 0);
    for (const AudioCall &c : rec->Take()) EXPECT_LT(c.channel, 24) << c.op << " from the player";
}

TEST_F(GameHooks, GameOverStopsThePlayerWhateverHasMusicHolds) {
    for (int hasMusic : {0, 1}) {
        SCOPED_TRACE(hasMusic);
        NewPlayer();
        HasMusic = hasMusic;
        player->state = kTzPlaying;
        player->channels[2] = 29;
        player->sounding[2] = 1;
        rec->Take();
        app->screenMode = kScreenPlaying;
        app->gameOverTimer = 89;
        app->p_GameOver();
        EXPECT_EQ(app->screenMode, kScreenReturnToMenu);
        EXPECT_EQ(player->state, kTzStopped);
        EXPECT_EQ(player->sounding[2], 0);
        const auto stops = RecordingAudio::Only(rec->Take(), "Stop");
        ASSERT_EQ(stops.size(), 1u);
        EXPECT_EQ(stops[0].channel, 29);
    }
    HasMusic = 0;
}

// The game with music switched on from its start.
class GameWithMusic : public MusicFixture {
public:
    c_MyApp *CreateApp() override {
        HasMusic = 1;
        return MusicFixture::CreateApp();
    }
    void TearDown() override {
        HasMusic = 0;
        MusicFixture::TearDown();
    }
};

TEST_F(GameWithMusic, HooksInitLoadAndPlayThePlayer) {
    c_TzPlayer *own = app->musicPlayer;
    EXPECT_EQ(own->channelBase, 32);
    const int initValues[8] = {0, 4, 3, 3, 4, 0, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(own->initValues[i], initValues[i]);

    // Set up as a caller that wants music would; the game's own frames
    // then run the loader and the tick.
    WriteSongFiles();
    own->songPath = String("songs/test.png");
    own->instrumentNumbers[1] = kSongKitA;
    own->instrumentNumbers[2] = kSongKitB;
    own->instrumentNumbers[3] = kSongLead;
    own->instrumentNumbers[4] = kSongAccompany;
    own->instrumentNumbers[5] = kSongBass;
    own->loadStep = 1;
    own->state = kTzPlaying;
    int renders = 0;
    while (own->loadStep > 0 && renders < 40) {
        Render();
        ++renders;
    }
    EXPECT_EQ(renders, 24);
    EXPECT_EQ(own->lastPattern[2], 3);

    // Sound setting 1 (music and effects): rows advance with the updates.
    app->settings[kSettingSound] = 1;
    AdvanceMillis(200);
    rec->Take();
    for (int i = 0; i < 30; ++i) Update();
    EXPECT_GT(own->row, 0);
    bool leadStarted = false;
    for (const AudioCall &c : rec->Take()) leadStarted |= c.op == "Play" && c.channel == 29;
    EXPECT_TRUE(leadStarted);

    // Sound setting 2 (effects only): the music stops and stays in place.
    app->settings[kSettingSound] = 2;
    Update();
    const int row = own->row;
    for (int i = 0; i < 30; ++i) Update();
    EXPECT_EQ(own->row, row);
    for (int t = 0; t < 5; ++t) EXPECT_EQ(own->sounding[t], 0);
}

}  // namespace
