// The player's loader inside real render frames on the test display: steps
// per render, file names, the song decoded from its image through a draw and
// a pixel read-back, the black clear, and songs or samples that are missing
// or unusable.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "graphics/graphics.h"
#include "tests/music/support/music_fixture.h"

namespace {

class Loader : public MusicFixture {};

// The renders of a whole load: 70 steps at three per render.
constexpr int kLoadRenders = 24;

TEST_F(Loader, LoadsInRenderFramesAndDecodesEveryPatternFrame) {
    WriteSongFiles();
    NewPlayer();
    const int now = Now();

    player->loadStep = 1;
    for (int render = 1; render < kLoadRenders; ++render) {
        RenderPlayer();
        ASSERT_EQ(player->loadStep, 1 + 3 * render) << "render " << render;
        EXPECT_EQ(player->nextStepTime, now + 100);
    }
    RenderPlayer();
    EXPECT_EQ(player->loadStep, 0);
    EXPECT_EQ(player->nextStepTime, now + 100);

    ASSERT_NE(player->songImage, nullptr);
    EXPECT_EQ(player->songImage->frames.Length(), 64);
    EXPECT_EQ(player->songImage->width, 64);

    // Patterns 0 to 62 exactly as written; pattern 63 and the spare value
    // stay zero although frame 63 of the image carries data.
    const std::vector<int> &expected = StandardSong().Values();
    int mismatches = 0;
    for (int i = 0; i < kTzDecodedFrames * kTzPatternValues; ++i) {
        if (player->songData[i] != expected[i] && ++mismatches <= 5) {
            ADD_FAILURE() << "songData[" << i << "] = " << player->songData[i] << ", expected "
                          << expected[i];
        }
    }
    EXPECT_EQ(mismatches, 0);
    for (int i = kTzDecodedFrames * kTzPatternValues; i < kTzSongValues; ++i) {
        ASSERT_EQ(player->songData[i], 0) << i;
    }
    // Spot checks through the cell layout: pattern 2, lead, row 5.
    const int cell = c_TzPlayer::CellIndex(2, 2, 5);
    EXPECT_EQ(player->songData[cell + kTzColNote], 3);
    EXPECT_EQ(player->songData[cell + kTzColEffect], 27);
    EXPECT_EQ(player->songData[c_TzPlayer::CellIndex(0, 4, 63) + 7], 31);

    // The last frame with data of each track, tracks 5 to 7 included.
    const int lastPattern[8] = {62, 1, 3, 5, 1, 0, 0, 10};
    for (int t = 0; t < 8; ++t) EXPECT_EQ(player->lastPattern[t], lastPattern[t]) << "track " << t;

    // Samples: every file that exists, in its slot.
    for (int k = 1; k <= 8; ++k) {
        EXPECT_NE(player->drumKitA[k], nullptr) << "kit A slot " << k;
        if (k == kSongMissingKitBSlot) {
            EXPECT_EQ(player->drumKitB[k], nullptr);
        } else {
            EXPECT_NE(player->drumKitB[k], nullptr) << "kit B slot " << k;
        }
    }
    EXPECT_EQ(player->drumKitA[0], nullptr);
    EXPECT_EQ(player->drumKitB[0], nullptr);
    for (int slot = 0; slot < 8; ++slot) {
        if (slot >= 2 && slot <= 4) {
            EXPECT_NE(player->instruments[slot], nullptr) << "instrument " << slot;
        } else {
            EXPECT_EQ(player->instruments[slot], nullptr) << "instrument " << slot;
        }
    }
    // Loading starts nothing.
    EXPECT_EQ(player->state, kTzStopped);
    EXPECT_TRUE(RecordingAudio::Only(rec->Take(), "Play").empty());
}

// Reads a block of the window inside a render frame after the player's
// render-time service, with a bright clear before it.
std::vector<int> ReadAfterService(c_TzPlayer *p, gxtkGraphics *g, bool clearFirst) {
    g->BeginRender();
    bb_graphics_BeginRender();
    if (clearFirst) bb_graphics_Cls(200.0f, 120.0f, 40.0f);
    p->p_Tz_Alive_R();
    Array<int> pixels(64 * 64);
    bb_graphics_ReadPixels(pixels, 0, 0, 64, 64, 0, 64);
    bb_graphics_renderDevice = nullptr;
    g->EndRender();
    return std::vector<int>(pixels.begin(), pixels.end());
}

bool AllBlack(const std::vector<int> &pixels) {
    for (int p : pixels)
        if ((p & 0xffffff) != 0) return false;
    return true;
}

TEST_F(Loader, RenderServiceClearsToBlackWithOrWithoutLoading) {
    WriteSongFiles();
    NewPlayer();
    const int schedule = player->nextStepTime;

    // Nothing to load: only the clear.
    EXPECT_TRUE(AllBlack(ReadAfterService(player, graphics, true)));
    EXPECT_EQ(player->loadStep, 0);
    EXPECT_EQ(player->songImage, nullptr);
    EXPECT_EQ(player->drumKitA[1], nullptr);
    EXPECT_EQ(player->nextStepTime, schedule);
    EXPECT_TRUE(rec->Take().empty());

    // While frames are decoded the decoding drawings are hidden as well.
    player->loadStep = 5;
    gc_assign(player->songImage, nullptr);
    RenderPlayer();  // steps 5 to 7 without the image: no decoding yet
    player->loadStep = 1;
    RenderPlayer();  // steps 1 to 3: the image
    ASSERT_NE(player->songImage, nullptr);
    player->loadStep = 8;
    EXPECT_TRUE(AllBlack(ReadAfterService(player, graphics, false)));
    EXPECT_EQ(player->loadStep, 11);
}

TEST_F(Loader, UnusableSongImagesLeaveTheSongEmptyAndLoadingStillFinishes) {
    struct Case {
        const char *name;
        std::function<void(MusicFixture &)> write;
    };
    const Case cases[] = {
        {"missing", [](MusicFixture &) {}},
        {"one frame only",
         [](MusicFixture &f) { f.WritePng("songs/test.png", 64, 64, 0x0000f8ffu); }},
        {"too narrow for a frame",
         [](MusicFixture &f) { f.WritePng("songs/test.png", 32, 8192, 0x0000f8ffu); }},
        {"63 frames",
         [](MusicFixture &f) { f.WritePng("songs/test.png", 64 * 63, 64, 0x0000f8ffu); }},
        {"not an image",
         [](MusicFixture &f) {
             std::ofstream(f.DataPath("songs/test.png"), std::ios::binary) << "not a png at all";
         }},
    };
    WriteSongFiles();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(DataPath("songs/test.png").c_str());
        c.write(*this);
        NewPlayer();
        EXPECT_EQ(LoadSong(), kLoadRenders);
        EXPECT_EQ(player->songImage, nullptr);
        int nonzero = 0;
        for (int v : player->songData) nonzero += v != 0;
        EXPECT_EQ(nonzero, 0);
        for (int t = 0; t < 8; ++t) EXPECT_EQ(player->lastPattern[t], 0);
        EXPECT_NE(player->instruments[2], nullptr);

        // Playing it sounds nothing.
        player->state = kTzPlaying;
        for (int i = 0; i < 70; ++i) PlayRow();
        EXPECT_TRUE(RecordingAudio::Only(rec->Take(), "Play").empty());
    }
}

TEST_F(Loader, MissingSamplesLeaveTheirSlotsEmpty) {
    StandardSong().WritePng(DataPath("songs/test.png"));
    NewPlayer();
    EXPECT_EQ(LoadSong(), kLoadRenders);
    ASSERT_NE(player->songImage, nullptr);
    EXPECT_EQ(player->lastPattern[2], 3);
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(player->drumKitA[k], nullptr);
        EXPECT_EQ(player->drumKitB[k], nullptr);
    }
    for (int k = 0; k < 8; ++k) EXPECT_EQ(player->instruments[k], nullptr);

    // The song plays silently: channels are stopped and pitched, nothing
    // is started.
    player->state = kTzPlaying;
    PlayRow();
    const std::vector<AudioCall> calls = rec->Take();
    EXPECT_TRUE(RecordingAudio::Only(calls, "Play").empty());
    EXPECT_FALSE(RecordingAudio::Only(calls, "Stop").empty());
    EXPECT_FALSE(RecordingAudio::Only(calls, "Rate").empty());
    for (int t = 0; t < 5; ++t) EXPECT_EQ(player->sounding[t], 0);
}

}  // namespace
