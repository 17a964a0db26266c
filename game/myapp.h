// The game object: one collected c_MyApp holds all game state, and its
// methods are the screens and their helpers. The frame driver (p_OnUpdate)
// samples the controls, runs the screen of the current mode, which records
// its drawing into the draw list, and p_OnRender replays that list scaled to
// the window.
//
// The method groups live in their own files: myapp.cpp (construction and
// the frame driver), draw_list.cpp, loader.cpp, controls.cpp, text.cpp,
// gameplay.cpp, menus.cpp, game_over.cpp, badges.cpp, saved_data.cpp and
// credits.cpp.
#pragma once

#include <cmath>
#include <limits>

#include "host/app.h"
#include "runtime/runtime.h"

class c_Image;
class c_Sound;

#include "music/player.h"

// Interface of objects that receive the result of an HTTP request. Nothing
// in the game issues one; it only contributes its sub-object.
class c_IOnHttpRequestComplete : public virtual gc_interface {
public:
};

// ---------------------------------------------------------------------------
// Sizes of the game object's tables.
// ---------------------------------------------------------------------------
constexpr int kImageSlots = 100;
constexpr int kImageInfoInts = 300;  // frame width, frame height, frame count per slot
constexpr int kSoundSlots = 100;
constexpr int kBadgePopupSlots = 15;
constexpr int kBadgeCount = 256;
constexpr int kVirtualKeys = 20;
constexpr int kSettingsCount = 25;
constexpr int kScoreTableInts = 150;
constexpr int kSfxChannelSlots = 33;
constexpr int kDrawListFloats = 37500;
constexpr int kDrawRecordFloats = 15;
// A record is appended only while the length is at most this.
constexpr int kDrawListLastStart = 37484;
constexpr int kTouchSlots = 10;
constexpr int kBoardInts = 1024;

// The sentinel for an absent value; also the rectangle record's op code.
constexpr int kAbsent = -3717;
constexpr float kAbsentF = -3717.0f;
// Op codes of the draw list's non-image records.
constexpr float kDrawOpRect = -3717.0f;
constexpr float kDrawOpOval = -3716.0f;
constexpr float kDrawOpLine = -3715.0f;

// Screen modes (screenMode).
constexpr int kScreenNone = 0;
constexpr int kScreenMenu = 1;
constexpr int kScreenReturnToMenu = 2;
constexpr int kScreenPlaying = 10;
constexpr int kScreenEnterGame = 11;

// Abstract control numbers read by p_PlayKey.
constexpr int kControlUp = 0;
constexpr int kControlLeft = 3;
constexpr int kControlRight = 5;
constexpr int kControlDown = 8;
constexpr int kControlAction1 = 10;
constexpr int kControlAction2 = 11;
constexpr int kControlAction3 = 12;
constexpr int kControlAction4 = 13;
constexpr int kControlBack = 99;

// settings[] element holding the sound setting (0 off, 1 music and effects,
// 2 effects only, 3 music only).
constexpr int kSettingSound = 5;

// Float to int truncating toward zero, defined for every input: NaN gives 0
// and values beyond the int range give the nearest int.
inline int TruncToInt(float v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483648.0f) return std::numeric_limits<int>::max();
    if (v <= -2147483648.0f) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

class c_MyApp : public c_App, public virtual c_IOnHttpRequestComplete {
public:
    int screenMode = 0;
    int deviceWidth = 0;
    int deviceHeight = 0;
    c_TzPlayer *musicPlayer = nullptr;
    float clearRed = 0.0f;
    float clearGreen = 0.0f;
    float clearBlue = 0.0f;
    float clearAlpha = 0.0f;
    int hdLevel = 0;
    float imageScale = 0.0f;
    Array<c_Image *> images;  // 100
    Array<int> imageInfo;     // 300
    int fontSlot = 0;
    int loadStage = 0;
    int gameMode = 0;
    int menuSlide = 0;
    int paused = 0;
    int pausePanelDirection = 0;
    int pausePanelY = 0;
    Array<int> badgePopupBadge;  // 15
    Array<int> badgePopupTimer;  // 15
    Array<bool> badgeEarned;     // 256
    Array<int> virtualKeys;      // 20
    Array<int> settings;         // 25
    Array<int> scoreTable;       // 150
    int numberCount = 0;
    Array<int> sfxChannels;  // 33
    int gameOverBar = 0;
    int lastRenderMillis = 0;
    int renderFps = 0;
    int renderFpsSmoothed = 0;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    int landscape = 0;
    int drawListLength = 0;
    Array<float> drawList;  // 37500
    int cadeChar = 0;
    int lastUpdateMillis = 0;
    int updateFps = 0;
    int updateFpsSmoothed = 0;
    int pointerX = 0;
    int prevPointerX = 0;
    int pointerY = 0;
    int prevPointerY = 0;
    int mouseWasDown = 0;
    int pointerDown = 0;
    int pointerHits = 0;
    Array<int> touchDown;  // 10
    Array<int> touchX;     // 10
    Array<int> touchY;     // 10
    int pressConsumed = 0;
    int keyLatch = 0;
    int creditsOpen = 0;
    int badgesOpen = 0;
    float drawScaleX = 0.0f;
    float drawScaleY = 0.0f;
    float drawRotation = 0.0f;
    float drawRed = 0.0f;
    float drawGreen = 0.0f;
    float drawBlue = 0.0f;
    float drawAlpha = 0.0f;
    int drawBlend = 0;
    int sfxCursor = 0;
    Array<c_Sound *> sounds;  // 100
    int newRank = 0;
    int score = 0;
    int spinnerAngle = 0;
    Array<int> board;  // 1024: 64 cells of 10 ints
    float slideX = 0.0f;
    float slideY = 0.0f;
    float playerX = 0.0f;
    float playerY = 0.0f;
    int wallTimer = 0;
    int chaserX = 0;
    int chaserY = 0;
    int chaserDirection = 0;
    float chaserSlideY = 0.0f;
    float chaserSlideX = 0.0f;
    int chaserTimer = 0;
    int endTimer = 0;
    float playerScreenX = 0.0f;
    float playerScreenY = 0.0f;
    int gameEnded = 0;
    int shownScore = 0;
    int pauseChoice = 0;
    int gameOverTimer = 0;
    int creditsSlide = 0;
    float creditsScroll = 0.0f;
    int creditsLine = 0;

    // Creates every table at its final size (myapp.cpp).
    c_MyApp();
    c_MyApp *m_new();
    void mark() override;

    // Life cycle and frame (myapp.cpp; p_OnRender: draw_list.cpp).
    int p_OnCreate() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_OnUpdate() override;
    int p_OnRender() override;

    virtual int p_LoadImg(int slot, String name, int frameWidth, int frameHeight, int frameCount,
                          int flags);                                           // loader.cpp
    virtual int p_LoadFont(int slot, String name, int advanceX, int advanceY);  // loader.cpp
    virtual int p_Reload();                                                     // loader.cpp
    virtual int p_Load();                                                       // saved_data.cpp
    virtual int p_Loader_WordList();                                            // loader.cpp
    virtual int p_GrabImageData(int slot, int frame);                           // loader.cpp
    virtual int p_iCade(int mode);                                              // controls.cpp
    virtual int p_Save();                                                       // saved_data.cpp
    virtual bool p_PlayKey(int control);                                        // controls.cpp
    virtual int p_ResetDraw();                                                  // draw_list.cpp
    virtual int p_CLS2D(float r, float g, float b, float a);                    // draw_list.cpp
    virtual int p_SetSize(float sx, float sy);                                  // draw_list.cpp
    virtual int p_DrawImg(int slot, float x, float y, float frame);             // draw_list.cpp
    virtual int p_Alpha(float a);                                               // draw_list.cpp
    virtual int p_SetCol(float r, float g, float b, float a);                   // draw_list.cpp
    virtual int p_Rect(float x, float y, float w, float h);                     // draw_list.cpp
    virtual int p_Button(int image, float x, float y, int frame);               // controls.cpp
    virtual int p_PlaySFX(int n, float rate, float volume, float pan);          // loader.cpp
    virtual String p_rstr(int value, int width, String pad);                    // text.cpp
    virtual int p_Text(float x, float y, String text, float alignX, float alignY);  // text.cpp
    virtual int p_Menu();                                                           // menus.cpp
    virtual int p_GC_PostScore(int mode, int best);                                 // game_over.cpp
    virtual int p_GC_Badges();                                                      // badges.cpp
    virtual int p_LoadMenu();                                                       // menus.cpp
    virtual int p_Oval(float x, float y, float rx, float ry);                       // draw_list.cpp
    virtual int p_WaitStart(int mode);                                              // menus.cpp
    virtual bool p_MouseIn_Centered(float cx, float cy, float w, float h);          // controls.cpp
    virtual int p_Rand(float low, float high);                                      // text.cpp
    virtual String p_GetWall();                                                     // gameplay.cpp
    virtual int p_Shift();                                                          // gameplay.cpp
    virtual int p_Game();                                                           // gameplay.cpp
    virtual int p_PauseMenu();                                                      // menus.cpp
    virtual int p_InGame();                                                         // gameplay.cpp
    virtual int p_LoadGame();                                                       // gameplay.cpp
    virtual String p_MyNth();                                                       // text.cpp
    virtual int p_GameOver();                                                       // game_over.cpp
    virtual int p_CreditBox();                                                      // credits.cpp
    virtual String p_BadgeID(int n);                                                // badges.cpp
    virtual String p_BadgeName(int n);                                              // badges.cpp
    virtual String p_BadgeDetail(int n);                                            // badges.cpp
    virtual int p_BadgesBox();                                                      // badges.cpp
    virtual int p_LoadImgRaw(int slot, String name, int frameWidth, int frameHeight, int frameCount,
                             int flags);                             // loader.cpp
    virtual int p_LoadSFX(int n);                                    // loader.cpp
    virtual int p_Loader();                                          // loader.cpp
    virtual bool p_Button0(int image, float x, float y, int frame);  // controls.cpp
    virtual int p_ShowBadges();                                      // badges.cpp

private:
    // Steps of the frame driver (myapp.cpp, controls.cpp).
    void MeasureUpdateRate();
    void DispatchScreen();
    void DrawDebugOverlay();
    void SetPauseForSuspend();
    void SampleControls();
    void ControlsTail();
    bool PlayKeyDown(int key);
    // Appends one 15-float record (draw_list.cpp).
    void AppendRecord(float op, float x, float y, float a, float b, float frame);
    // The resolution rules of p_Reload and p_Loader (loader.cpp).
    void ChooseResolutionByWidth();
    void ChooseResolutionBySize();
    String ResolutionName(String name);

public:
    // The file a sound slot is read from: "sfx/" + three digits + ".wav".
    static String SfxFileName(int n);
};
