// Artwork and sound effects: the three artwork resolutions and their file
// names, the staged loader that fills one slot group per update while the
// loading screen shows, the bitmap font, and p_PlaySFX with its rotation
// over the first 24 audio channels.
#include "game/myapp.h"

#include "audio/audio.h"
#include "graphics/graphics.h"

namespace {

// Window sizes above which the larger artwork is used.
constexpr int kHdWidthByWidth = 630;    // p_Reload: width > 630 -> level 2
constexpr int kHd2WidthByWidth = 1230;  // p_Reload: width > 1230 -> level 4
constexpr int kHdSizeBySize = 630;      // p_Loader: either side > 630 -> level 2
constexpr int kHd2SizeBySize = 1231;    // p_Loader: either side >= 1231 -> level 4

constexpr int kFontFrames = 128;
constexpr int kFontCellPixels = 16;  // at level 1
constexpr int kImageFlagCentred = 1;

// Sound effects rotate over channels sfxChannels[1..23, 0].
constexpr int kSfxRotation = 24;

constexpr int kLoaderSteps = 16;

}  // namespace

void c_MyApp::ChooseResolutionByWidth() {
    int w = bb_graphics_device->Width();
    hdLevel = 1;
    imageScale = 1.0f;
    if (w > kHdWidthByWidth) {
        hdLevel = 2;
        imageScale = 0.5f;
    }
    if (w > kHd2WidthByWidth) {
        hdLevel = 4;
        imageScale = 0.25f;
    }
}

void c_MyApp::ChooseResolutionBySize() {
    int w = bb_graphics_device->Width();
    int h = bb_graphics_device->Height();
    hdLevel = 1;
    imageScale = 1.0f;
    if (w > kHdSizeBySize || h > kHdSizeBySize) {
        hdLevel = 2;
        imageScale = 0.5f;
    }
    if (w >= kHd2SizeBySize || h >= kHd2SizeBySize) {
        hdLevel = 4;
        imageScale = 0.25f;
    }
}

String c_MyApp::ResolutionName(String name) {
    if (hdLevel == 2) return name + String("-hd.png");
    if (hdLevel == 4) return name + String("-hd2.png");
    return name + String(".png");
}

String c_MyApp::SfxFileName(int n) {
    const char *prefix = n < 10 ? "sfx/00" : n < 100 ? "sfx/0" : "sfx/";
    return String(prefix) + String(n) + String(".wav");
}

int c_MyApp::p_LoadImg(int slot, String name, int frameWidth, int frameHeight, int frameCount,
                       int flags) {
    if (slot < 0 || slot >= kImageSlots) return 0;
    images[slot] = nullptr;
    int w = frameWidth * hdLevel;
    int h = frameHeight * hdLevel;
    images[slot] = bb_graphics_LoadImage2(ResolutionName(name), w, h, frameCount, flags);
    imageInfo[slot * 3] = w;
    imageInfo[slot * 3 + 1] = h;
    imageInfo[slot * 3 + 2] = frameCount;
    return 0;
}

// The same without a resolution suffix or scaling: the file is read as
// name.png with the frame sizes as given.
int c_MyApp::p_LoadImgRaw(int slot, String name, int frameWidth, int frameHeight, int frameCount,
                          int flags) {
    if (slot < 0 || slot >= kImageSlots) return 0;
    images[slot] = nullptr;
    images[slot] =
        bb_graphics_LoadImage2(name + String(".png"), frameWidth, frameHeight, frameCount, flags);
    imageInfo[slot * 3] = frameWidth;
    imageInfo[slot * 3 + 1] = frameHeight;
    imageInfo[slot * 3 + 2] = frameCount;
    return 0;
}

int c_MyApp::p_LoadFont(int slot, String name, int advanceX, int advanceY) {
    if (slot < 0 || slot >= kImageSlots) return 0;
    int cell = kFontCellPixels * hdLevel;
    images[slot] =
        bb_graphics_LoadImage2(ResolutionName(name), cell, cell, kFontFrames, kImageFlagCentred);
    imageInfo[slot * 3] = advanceX;
    imageInfo[slot * 3 + 1] = advanceY;
    imageInfo[slot * 3 + 2] = kFontFrames;
    fontSlot = slot;
    return 0;
}

int c_MyApp::p_LoadSFX(int n) {
    // The sound table has 100 slots; other numbers have nowhere to go.
    if (n < 0 || n >= kSoundSlots) return 0;
    sounds[n] = bb_audio_LoadSound(SfxFileName(n));
    return 0;
}

int c_MyApp::p_Reload() {
    clearRed = 0.0f;
    clearGreen = 0.0f;
    clearBlue = 0.0f;
    clearAlpha = 1.0f;
    ChooseResolutionByWidth();
    p_LoadImg(93, String("common/RuvoLogo"), 256, 256, 1, kImageFlagCentred);
    p_LoadFont(90, String("fonts/editundo"), 7, 10);
    loadStage = 1;
    return 0;
}

int c_MyApp::p_Loader() {
    ChooseResolutionBySize();
    switch (loadStage) {
        case 1:
            p_LoadImg(97, String("common/icons"), 32, 32, 16, kImageFlagCentred);
            break;
        case 2:
            p_LoadImg(95, String("common/Buttons"), 64, 64, 16, kImageFlagCentred);
            break;
        case 3:
            p_LoadImg(94, String("common/dpad"), 32, 32, 16, kImageFlagCentred);
            break;
        case 4:
            p_LoadImg(92, String("common/icade"), 64, 64, 2, kImageFlagCentred);
            break;
        case 5:
            p_LoadImg(93, String("common/RuvoLogo"), 256, 256, 1, kImageFlagCentred);
            p_LoadImg(91, String("common/Testcard_Circle"), 256, 256, 1, kImageFlagCentred);
            break;
        case 6:
            p_LoadFont(90, String("fonts/editundo"), 7, 10);
            break;
        case 7:
            p_LoadSFX(1);
            break;
        case 8:
            p_LoadSFX(95);
            break;
        case 9:
            p_LoadSFX(98);
            break;
        case 10:
            p_LoadSFX(99);
            break;
        case 11:
            p_LoadImg(99, String("menu"), 256, 256, 4, kImageFlagCentred);
            break;
        case 12:
            p_LoadImg(98, String("logo"), 256, 128, 1, kImageFlagCentred);
            break;
        case 13:
            p_LoadImg(96, String("parts"), 8, 8, 16, kImageFlagCentred);
            break;
        case 14:
            p_LoadImg(80, String("BadgesA"), 64, 64, 64, kImageFlagCentred);
            break;
        case 15:
            p_LoadImg(1, String("gfx"), 64, 64, 16, kImageFlagCentred);
            break;
        case 16:
            p_LoadSFX(2);
            break;
        default:
            break;
    }
    if (loadStage >= 1 && loadStage <= kLoaderSteps) {
        ++loadStage;
    } else {
        loadStage = 0;
    }
    p_WaitStart(1);
    return 0;
}

int c_MyApp::p_PlaySFX(int n, float rate, float volume, float pan) {
    int mode = settings[kSettingSound];
    if (mode != 1 && mode != 2) return 0;
    sfxCursor = (sfxCursor + 1) % kSfxRotation;
    if (sfxCursor < 0) sfxCursor = 0;
    int channel = sfxChannels[sfxCursor];
    if (channel < 0 || channel >= kAudioChannelCount) return 0;
    bb_audio_StopChannel(channel);
    if (n >= 0 && n < kSoundSlots) {
        c_Sound *sound = sounds[n];
        if (sound) bb_audio_PlaySound(sound, channel, 0);
    }
    bb_audio_SetChannelRate(channel, rate);
    bb_audio_SetChannelVolume(channel, volume);
    bb_audio_SetChannelPan(channel, pan);
    return 0;
}

// Hooks of the loader that this game does not use: it keeps no word list and
// reads no pixels back from its images.
int c_MyApp::p_Loader_WordList() {
    return 0;
}
int c_MyApp::p_GrabImageData(int, int) {
    return 0;
}
