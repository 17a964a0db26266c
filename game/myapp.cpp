// The game object's construction and marking, its life-cycle events and the
// frame driver that runs once per fixed update: close key, debug toggle,
// update-rate measurement, controls sampling, the screen of the current
// mode (or one step of the staged loader), the controls tail, the debug
// overlay and the badge pop-ups.
#include "game/myapp.h"

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "input/input.h"

namespace {

// Key codes the frame driver reads itself.
constexpr int kPlatformBackKey = 416;
constexpr int kCloseKey = 432;
constexpr int kDebugToggleKey = 121;  // F10

constexpr int kRunningUpdateHz = 60;
constexpr int kSuspendedUpdateHz = 5;
constexpr int kMillisPerSecond = 1000;

// Weight of the old value in the running averages of the rates (of 10).
constexpr int kRateSmoothingOld = 9;
constexpr int kRateSmoothingTotal = 10;

// Credits box slide: updates from closed to fully open.
constexpr int kCreditsSlideMax = 30;

constexpr float kDebugTextX = 16.0f;
constexpr float kDebugTextBottomMargin = 16.0f;

// Start values of the title menu and pause panel set by p_OnCreate.
constexpr int kStartGameMode = 2;
constexpr int kStartMenuSlide = -32;
constexpr int kStartPausePanelY = -64;

// Elements p_OnCreate clears before the saved state is loaded.
constexpr int kClearedBadgeFlags = 128;
constexpr int kClearedVirtualKeys = 19;
constexpr int kClearedScoreInts = 31;

void SetUpdateRate(int hertz) {
    bb_app__updateRate = hertz;
    if (bb_app__game) bb_app__game->SetUpdateRate(hertz);
}

int HostMillisecs() {
    return bb_app__game ? bb_app__game->Millisecs() : 0;
}

}  // namespace

c_App *bb_create_app() {
    return (new c_MyApp())->m_new();
}

c_MyApp::c_MyApp()
    : images(kImageSlots),
      imageInfo(kImageInfoInts),
      badgePopupBadge(kBadgePopupSlots),
      badgePopupTimer(kBadgePopupSlots),
      badgeEarned(kBadgeCount),
      virtualKeys(kVirtualKeys),
      settings(kSettingsCount),
      scoreTable(kScoreTableInts),
      sfxChannels(kSfxChannelSlots),
      drawList(kDrawListFloats),
      touchDown(kTouchSlots),
      touchX(kTouchSlots),
      touchY(kTouchSlots),
      sounds(kSoundSlots),
      board(kBoardInts) {
    musicPlayer = (new c_TzPlayer())->m_new();
}

c_MyApp *c_MyApp::m_new() {
    c_App::m_new();
    return this;
}

void c_MyApp::mark() {
    c_App::mark();
    gc_mark_q(musicPlayer);
    gc_mark_q(images);
    gc_mark_q(imageInfo);
    gc_mark_q(badgePopupBadge);
    gc_mark_q(badgePopupTimer);
    gc_mark_q(badgeEarned);
    gc_mark_q(virtualKeys);
    gc_mark_q(settings);
    gc_mark_q(scoreTable);
    gc_mark_q(sfxChannels);
    gc_mark_q(drawList);
    gc_mark_q(touchDown);
    gc_mark_q(touchX);
    gc_mark_q(touchY);
    gc_mark_q(sounds);
    gc_mark_q(board);
}

int c_MyApp::p_OnCreate() {
    screenMode = kScreenMenu;
    SetUpdateRate(kRunningUpdateHz);
    deviceWidth = bb_graphics_device->Width();
    deviceHeight = bb_graphics_device->Height();
    if (HasMusic == 1) musicPlayer->p_Tz_Init(32, 4, 3, 3, 4);
    p_Reload();
    gameMode = kStartGameMode;
    menuSlide = kStartMenuSlide;
    paused = 0;
    pausePanelDirection = -1;
    pausePanelY = kStartPausePanelY;
    for (int i = 0; i < kBadgePopupSlots; ++i) {
        badgePopupBadge[i] = 0;
        badgePopupTimer[i] = 0;
    }
    for (int i = 0; i < kClearedBadgeFlags; ++i) badgeEarned[i] = false;
    for (int i = 0; i < kClearedVirtualKeys; ++i) virtualKeys[i] = 0;
    for (int i = 0; i < kSettingsCount; ++i) settings[i] = 0;
    for (int i = 0; i < kClearedScoreInts; ++i) scoreTable[i] = 0;
    settings[kSettingSound] = 1;
    p_Load();
    for (int i = 0; i < kSfxChannelSlots; ++i) sfxChannels[i] = i;
    return 0;
}

// A game that is being entered or played keeps its pause panel open across
// a suspension; every other screen has none.
void c_MyApp::SetPauseForSuspend() {
    if (screenMode > 9) {
        paused = 1;
        pausePanelDirection = 1;
        pausePanelY = TruncToInt(jscrh * 0.5f);
    } else {
        paused = 0;
        pausePanelDirection = 0;
        pausePanelY = 0;
    }
}

int c_MyApp::p_OnSuspend() {
    p_iCade(0);
    SetPauseForSuspend();
    SetUpdateRate(kSuspendedUpdateHz);
    p_Save();
    return 0;
}

int c_MyApp::p_OnResume() {
    SetPauseForSuspend();
    SetUpdateRate(kRunningUpdateHz);
    p_iCade(0);
    return 0;
}

void c_MyApp::MeasureUpdateRate() {
    int t = HostMillisecs();
    if (bb_app_MillisecsSince(t, lastUpdateMillis) > 0) {
        int elapsed = bb_app_MillisecsSince(HostMillisecs(), lastUpdateMillis);
        if (elapsed > 0) updateFps = kMillisPerSecond / elapsed;
    }
    updateFpsSmoothed = (updateFpsSmoothed * kRateSmoothingOld + updateFps) / kRateSmoothingTotal;
    lastUpdateMillis = HostMillisecs();
}

void c_MyApp::DispatchScreen() {
    switch (screenMode) {
        case kScreenMenu:
            p_Menu();
            break;
        case kScreenReturnToMenu:
            p_LoadMenu();
            screenMode = kScreenMenu;
            break;
        case kScreenPlaying:
            p_Game();
            p_InGame();
            break;
        case kScreenEnterGame:
            p_LoadGame();
            break;
        default:
            break;
    }
    // The game-over sequence runs over a finished game and, while it shrinks
    // away, over the title menu: in the update that ends it both calls run.
    if (screenMode == kScreenPlaying && gameEnded > 0) p_GameOver();
    if (screenMode == kScreenMenu || screenMode == kScreenReturnToMenu) p_GameOver();
    if (screenMode == kScreenMenu && (creditsOpen == 1 || creditsSlide > 0)) p_CreditBox();
    if (creditsOpen == 0 && creditsSlide > 0) --creditsSlide;
    if (creditsOpen == 1 && creditsSlide < kCreditsSlideMax) ++creditsSlide;
    if (screenMode == kScreenMenu && badgesOpen == 1) p_BadgesBox();
}

void c_MyApp::DrawDebugOverlay() {
    p_ResetDraw();
    String text =
        String(renderFpsSmoothed) + String(":") + String(scaleX) + String(",") + String(scaleY);
    p_Text(kDebugTextX, jscrh - kDebugTextBottomMargin, text, 0.0f, 0.0f);
}

int c_MyApp::p_OnUpdate() {
    c_InputDevice *input = bb_input_device;
    virtualKeys[19] = input->p_KeyHit(kPlatformBackKey);
    if (input->p_KeyHit(kCloseKey) != 0) Error(String());
    if (input->p_KeyHit(kDebugToggleKey) != 0) DebugMode = 1 - DebugMode;
    bb_asyncevent_UpdateAsyncEvents();
    MeasureUpdateRate();
    if (HasMusic == 1) {
        const int sound = settings[kSettingSound];
        musicPlayer->p_Tz_Alive_U(paused, sound == 1 || sound == 3 ? 1 : 0);
    }
    SampleControls();
    if (loadStage == 0) DispatchScreen();
    if (loadStage > 0) p_Loader();
    ControlsTail();
    if (DebugMode == 1) DrawDebugOverlay();
    p_ShowBadges();
    return 0;
}
