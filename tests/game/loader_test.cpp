// The staged loader and the sound effects: resolution choice, file names,
// the 16 steps, missing files, and the channel rotation of p_PlaySFX.
#include <gtest/gtest.h>

#include <string>

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "tests/game/support/game_fixture.h"
#include "tests/game/support/recording_app.h"

namespace {

using LoaderTest = GameFixture;

std::string Text(const String &s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i) out += static_cast<char>(s[i]);
    return out;
}

struct ResolutionCase {
    int width, height;
    int reloadLevel;  // width rule
    int loaderLevel;  // width-or-height rule
};

TEST_F(LoaderTest, ResolutionRules) {
    const ResolutionCase cases[] = {
        {640, 480, 2, 2},  {630, 480, 1, 1},  {631, 100, 2, 2},  {600, 700, 1, 2},
        {1230, 720, 2, 2}, {1231, 720, 4, 4}, {1280, 720, 4, 4}, {600, 1231, 1, 4},
        {630, 630, 1, 1},  {100, 1230, 1, 2},
    };
    for (const ResolutionCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        graphics->width = c.width;
        graphics->height = c.height;
        app->p_Reload();
        EXPECT_EQ(app->hdLevel, c.reloadLevel);
        EXPECT_EQ(app->imageScale, 1.0f / static_cast<float>(c.reloadLevel));
        EXPECT_EQ(app->loadStage, 1);
        app->p_Loader();
        EXPECT_EQ(app->hdLevel, c.loaderLevel);
        EXPECT_EQ(app->imageScale, 1.0f / static_cast<float>(c.loaderLevel));
    }
}

struct FileCase {
    int width, height;
    const char *file;
    int frame;
};

TEST_F(LoaderTest, ImagesAreReadAtTheChosenResolution) {
    // Only the file of the expected resolution exists; the frame sizes
    // recorded are those of the loaded file.
    const FileCase cases[] = {
        {640, 480, "gfx-hd.png", 128},
        {1280, 720, "gfx-hd2.png", 256},
        {600, 400, "gfx.png", 64},
    };
    for (const FileCase &c : cases) {
        SCOPED_TRACE(c.file);
        WritePng(c.file, c.frame * 4, c.frame * 4);
        graphics->width = c.width;
        graphics->height = c.height;
        app->loadStage = 15;
        app->p_Loader();
        c_Image *image = app->images[1];
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, c.frame);
        EXPECT_EQ(image->frames.Length(), 16);
        EXPECT_EQ(app->imageInfo[3], c.frame);
        EXPECT_EQ(app->imageInfo[4], c.frame);
        EXPECT_EQ(app->imageInfo[5], 16);
        EXPECT_EQ(app->loadStage, 16);
        std::remove(DataPath(c.file).c_str());
    }
    // With no file the slot is emptied and the sizes still recorded.
    graphics->width = 640;
    graphics->height = 480;
    app->loadStage = 15;
    app->p_Loader();
    EXPECT_EQ(static_cast<c_Image *>(app->images[1]), nullptr);
    EXPECT_EQ(app->imageInfo[3], 128);
}

TEST_F(LoaderTest, ReloadLoadsLogoAndFontAndResetsTheClearColour) {
    WritePng("common/RuvoLogo.png", 256, 256);
    WritePng("fonts/editundo.png", 16 * 16, 16 * 8);
    graphics->width = 600;
    graphics->height = 700;
    app->clearRed = 50;
    app->clearAlpha = 0.2f;
    app->fontSlot = 0;
    app->p_Reload();
    EXPECT_EQ(app->clearRed, 0.0f);
    EXPECT_EQ(app->clearAlpha, 1.0f);
    EXPECT_NE(static_cast<c_Image *>(app->images[93]), nullptr);
    c_Image *font = app->images[90];
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->frames.Length(), 128);
    EXPECT_EQ(font->width, 16);
    EXPECT_EQ(app->fontSlot, 90);
    // The font records its advances, not its cell size.
    EXPECT_EQ(app->imageInfo[270], 7);
    EXPECT_EQ(app->imageInfo[271], 10);
    EXPECT_EQ(app->imageInfo[272], 128);
    EXPECT_EQ(app->loadStage, 1);
}

TEST_F(LoaderTest, SoundFileNames) {
    const std::pair<int, const char *> cases[] = {
        {0, "sfx/000.wav"},  {7, "sfx/007.wav"},   {42, "sfx/042.wav"},
        {99, "sfx/099.wav"}, {123, "sfx/123.wav"}, {100, "sfx/100.wav"},
    };
    for (const auto &c : cases) EXPECT_EQ(Text(c_MyApp::SfxFileName(c.first)), c.second);

    WriteWav("sfx/007.wav");
    app->p_LoadSFX(7);
    EXPECT_NE(static_cast<c_Sound *>(app->sounds[7]), nullptr);
    app->p_LoadSFX(42);
    EXPECT_EQ(static_cast<c_Sound *>(app->sounds[42]), nullptr);
    // Numbers outside the table load nothing and touch nothing.
    app->p_LoadSFX(123);
    app->p_LoadSFX(-1);
}

TEST_F(LoaderTest, LoaderStepsFillTheirSlotsInOrder) {
    // All pictures at level 2 (the 640 x 480 window) and all sounds.
    struct Image {
        const char *file;
        int w, h, frames;
    };
    const Image files[] = {
        {"common/icons-hd.png", 64 * 4, 64 * 4, 16},
        {"common/Buttons-hd.png", 128 * 4, 128 * 4, 16},
        {"common/dpad-hd.png", 64 * 4, 64 * 4, 16},
        {"common/icade-hd.png", 128 * 2, 128, 2},
        {"common/RuvoLogo-hd.png", 512, 512, 1},
        {"common/Testcard_Circle-hd.png", 512, 512, 1},
        {"fonts/editundo-hd.png", 32 * 16, 32 * 8, 128},
        {"menu-hd.png", 512 * 2, 512 * 2, 4},
        {"logo-hd.png", 512, 256, 1},
        {"parts-hd.png", 16 * 4, 16 * 4, 16},
        {"BadgesA-hd.png", 128 * 8, 128 * 8, 64},
        {"gfx-hd.png", 128 * 4, 128 * 4, 16},
    };
    for (const Image &f : files) WritePng(f.file, f.w, f.h);
    for (const char *s :
         {"sfx/001.wav", "sfx/002.wav", "sfx/095.wav", "sfx/098.wav", "sfx/099.wav"}) {
        WriteWav(s);
    }
    StartFreshGame();
    EXPECT_EQ(FinishLoading(), 17);
    for (int slot : {1, 80, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99}) {
        EXPECT_NE(static_cast<c_Image *>(app->images[slot]), nullptr) << "image slot " << slot;
    }
    for (int slot : {1, 2, 95, 98, 99}) {
        EXPECT_NE(static_cast<c_Sound *>(app->sounds[slot]), nullptr) << "sound slot " << slot;
    }
    const int info[][4] = {{97, 64, 64, 16},   {95, 128, 128, 16}, {94, 64, 64, 16},
                           {92, 128, 128, 2},  {93, 512, 512, 1},  {91, 512, 512, 1},
                           {99, 512, 512, 4},  {98, 512, 256, 1},  {96, 16, 16, 16},
                           {80, 128, 128, 64}, {1, 128, 128, 16},  {90, 7, 10, 128}};
    for (const auto &i : info) {
        EXPECT_EQ(app->imageInfo[i[0] * 3], i[1]) << "slot " << i[0];
        EXPECT_EQ(app->imageInfo[i[0] * 3 + 1], i[2]) << "slot " << i[0];
        EXPECT_EQ(app->imageInfo[i[0] * 3 + 2], i[3]) << "slot " << i[0];
    }
    EXPECT_EQ(app->loadStage, 0);
}

TEST_F(LoaderTest, MissingFilesLeaveSlotsEmptyAndLoadingGoesOn) {
    EXPECT_EQ(FinishLoading(), 17);
    for (int i = 0; i < kImageSlots; ++i) {
        EXPECT_EQ(static_cast<c_Image *>(app->images[i]), nullptr) << i;
    }
    for (int i = 0; i < kSoundSlots; ++i) {
        EXPECT_EQ(static_cast<c_Sound *>(app->sounds[i]), nullptr) << i;
    }
}

TEST_F(LoaderTest, RawImagesKeepTheirNameAndSizes) {
    WritePng("raw/sheet.png", 40, 20);
    app->p_LoadImgRaw(5, String("raw/sheet"), 20, 20, 2, 1);
    c_Image *image = app->images[5];
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 20);
    EXPECT_EQ(app->imageInfo[15], 20);
    EXPECT_EQ(app->imageInfo[17], 2);
    EXPECT_EQ(app->p_Loader_WordList(), 0);
    EXPECT_EQ(app->p_GrabImageData(5, 0), 0);
}

class SfxTest : public GameFixture {
public:
    void SetUp() override {
        GameFixture::SetUp();
        WriteWav("sfx/001.wav");
        app->p_LoadSFX(1);
        ASSERT_NE(static_cast<c_Sound *>(app->sounds[1]), nullptr);
        sample = static_cast<c_Sound *>(app->sounds[1])->sample;
    }
    gxtkSample *sample = nullptr;
};

TEST_F(SfxTest, EffectsRotateOverTwentyFourChannels) {
    app->settings[kSettingSound] = 1;
    app->p_PlaySFX(1, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(app->sfxCursor, 1);
    EXPECT_EQ(audio->channels[1].sample, sample);
    for (int i = 2; i <= 23; ++i) app->p_PlaySFX(1, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(app->sfxCursor, 23);
    EXPECT_EQ(audio->channels[0].sample, nullptr);
    app->p_PlaySFX(1, 0.8f, 0.5f, -1.0f);  // the 24th
    EXPECT_EQ(app->sfxCursor, 0);
    EXPECT_EQ(audio->channels[0].sample, sample);
    for (int c = 24; c < kAudioChannelCount; ++c) EXPECT_EQ(audio->channels[c].sample, nullptr);
}

TEST_F(SfxTest, SoundSettingDecidesWhetherEffectsPlay) {
    for (int setting : {0, 3, 4, -1}) {
        SCOPED_TRACE(setting);
        app->settings[kSettingSound] = setting;
        app->sfxCursor = 5;
        app->p_PlaySFX(1, 1.0f, 1.0f, 0.0f);
        EXPECT_EQ(app->sfxCursor, 5);
        EXPECT_EQ(audio->channels[6].sample, nullptr);
    }
    app->settings[kSettingSound] = 2;
    app->p_PlaySFX(1, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(app->sfxCursor, 6);
    EXPECT_EQ(audio->channels[6].sample, sample);
}

TEST_F(SfxTest, EmptyOrOutOfRangeSlotsStillMoveTheRotation) {
    app->settings[kSettingSound] = 1;
    app->sfxCursor = -30;  // a negative remainder starts the rotation again
    app->p_PlaySFX(50, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(app->sfxCursor, 0);
    app->p_PlaySFX(1000, 1.0f, 1.0f, 0.0f);
    EXPECT_EQ(app->sfxCursor, 1);
    EXPECT_EQ(audio->channels[1].sample, nullptr);
}

}  // namespace

namespace {

TEST_F(LoaderTest, TheRealAssetPackLoadsAtEveryResolution) {
    if (!UseRealAssets()) GTEST_SKIP() << "no generated data folder in the build";
    for (auto size : {std::pair<int, int>{640, 480}, {600, 400}, {1280, 720}}) {
        SCOPED_TRACE(testing::Message() << size.first << "x" << size.second);
        ASSERT_TRUE(ResizeWindow(size.first, size.second));
        StartFreshGame();
        EXPECT_EQ(FinishLoading(), 17);
        for (int slot : {1, 80, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99}) {
            c_Image *image = app->images[slot];
            ASSERT_NE(image, nullptr) << "image slot " << slot;
            EXPECT_EQ(image->frames.Length(), app->imageInfo[slot * 3 + 2]) << slot;
        }
        for (int slot : {1, 2, 95, 98, 99}) {
            EXPECT_NE(static_cast<c_Sound *>(app->sounds[slot]), nullptr) << "sound " << slot;
        }
        c_Image *gfx = app->images[1];
        EXPECT_EQ(gfx->width, 64 * app->hdLevel);
    }
}

}  // namespace
