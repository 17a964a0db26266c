// The screens around a game: the loading screen drawn while the staged
// loader runs, the title menu (start, score lists, sound and iCade
// switches, the way into the credits), the entry of a finished game into
// the score tables on the way back to the title, and the pause panel that
// slides over the playing screen.
#include <cmath>

#include "game/myapp.h"
#include "game/play_keys.h"

namespace {

constexpr float kPi = 3.14159265358979f;
float SinDeg(float degrees) {
    return std::sin(degrees * kPi / 180.0f);
}
float CosDeg(float degrees) {
    return std::cos(degrees * kPi / 180.0f);
}

// Image slots and frames.
constexpr int kMenuArt = 99;
constexpr int kTitleLogo = 98;
constexpr int kButtons = 95;
constexpr int kFrameStart = 1;
constexpr int kIcons = 97;
constexpr int kFrameQuit = 1;
constexpr int kFrameResume = 3;
constexpr int kFrameSoundOn = 4;
constexpr int kFrameSoundOff = 5;
constexpr int kFrameRing = 6;
constexpr int kICadeImage = 92;
constexpr int kBrandLogo = 93;

// Sounds.
constexpr int kSoundClick = 98;
constexpr int kSoundConfirm = 99;
constexpr float kClickVolume = 0.5f;
constexpr float kClickRateLow = 0.8f;
constexpr float kClickRateHigh = 1.2f;
constexpr float kClickRateQuit = 0.5f;

// Loading screen.
constexpr int kSpinnerStep = 16;  // degrees per loading update
constexpr int kSpinnerDots = 11;
constexpr int kSpinnerDotSpacing = 16;  // degrees between dots
constexpr float kSpinnerDotRadius = 8.0f;

// Title menu.
constexpr float kMenuSlideRise = 0.25f;
constexpr float kScorePanelWidth = 140.0f;
constexpr int kMaxListLines = 10;
constexpr int kListValueWidth = 11;
constexpr float kListTextScale = 1.5f;
constexpr float kBestListY = 60.0f;

// Score table layout: ten best per mode from (mode - 1) * 10, the last ten
// games 30 entries further on.
constexpr int kScoresPerMode = 10;
constexpr int kLastGamesOffset = 30;
constexpr int kPlayedGameMode = 2;

// Pause panel.
constexpr int kPanelSpeed = 24;        // virtual pixels per update
constexpr int kPanelGoneY = -63;       // below this the panel has left
constexpr int kPanelHiddenY = -32;     // moving out below this clears paused
constexpr int kPanelQuitY = -64;       // where quitting parks the panel
constexpr float kPanelDimSpan = 0.8f;  // dimming alpha = |y| / (0.8 H)
constexpr int kSoundSettingSteps = 4;  // the keyboard steps the sound setting 0 to 3

// The sound buttons toggle between off (0) and on (1); a damaged setting
// outside that range becomes 0. Wide arithmetic keeps any stored value safe.
int ToggledSound(int value) {
    const long long v = 1LL - static_cast<long long>(value);
    return (v < 0 || v > 1) ? 0 : static_cast<int>(v);
}

// The keyboard steps the sound setting through 0, 1, 2, 3; a value outside
// that range steps to 0.
int SteppedSound(int value) {
    const long long v = (static_cast<long long>(value) + 1) % kSoundSettingSteps;
    return (v < 0 || v >= kSoundSettingSteps) ? 0 : static_cast<int>(v);
}

// Index of the first best score of the current game mode. The game only
// plays mode 2; anything else is held to the three modes the table has.
int ScoreBase(int gameMode) {
    int m = gameMode < 1 ? 1 : (gameMode > 3 ? 3 : gameMode);
    return (m - 1) * kScoresPerMode;
}

}  // namespace

// ---------------------------------------------------------------------------
// Loading screen
// ---------------------------------------------------------------------------

int c_MyApp::p_WaitStart(int mode) {
    (void)mode;  // the game draws only the one loading screen
    const float W = jscrw;
    const float H = jscrh;
    p_CLS2D(40.0f, 40.0f, 80.0f, 1.0f);
    const int S = TruncToInt(W < H ? W : H);
    spinnerAngle = static_cast<int>(static_cast<unsigned>(spinnerAngle) + kSpinnerStep);

    auto ring = [&](float grey, int offset) {
        for (int i = 0; i < kSpinnerDots; ++i) {
            p_SetCol(grey, grey, grey, static_cast<float>(i) / 10.0f);
            const float a = static_cast<float>(spinnerAngle) + offset +
                            kSpinnerDotSpacing * static_cast<float>(i);
            p_Oval(W * 0.5f + SinDeg(a) * S / 4.0f, H * 0.5f - CosDeg(a) * S / 4.0f,
                   kSpinnerDotRadius, kSpinnerDotRadius);
        }
    };

    ring(250.0f, 180);
    p_SetCol(255.0f, 255.0f, 0.0f, 0.8f);
    p_Oval(W * 0.5f, H * 0.5f, S * 0.3f, S * 0.3f);
    p_SetCol(250.0f, 160.0f, 60.0f, 0.7f);
    p_Rect(0.0f, 0.4f * H, W, 0.2f * H);
    p_ResetDraw();
    p_DrawImg(kBrandLogo, W * 0.5f, 0.48f * H, 0.0f);
    ring(50.0f, 0);

    // Loading leads to the title menu, but a game in progress, or one
    // waiting to be entered into the score tables, survives a reload of the
    // artwork (the window was resized).
    if (screenMode != kScreenPlaying && screenMode != kScreenEnterGame &&
        screenMode != kScreenReturnToMenu) {
        screenMode = kScreenMenu;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Title menu
// ---------------------------------------------------------------------------

namespace {

void StartGame(c_MyApp &app) {
    app.screenMode = kScreenEnterGame;
    app.pressConsumed = 1;
    app.keyLatch = 1;
    app.p_PlaySFX(kSoundClick, 1.0f, kClickVolume, 0.0f);
}

}  // namespace

int c_MyApp::p_Menu() {
    const float W = jscrw;
    const float H = jscrh;
    p_CLS2D(0.0f, 0.0f, 80.0f, 1.0f);
    if (menuSlide < 0) menuSlide = TruncToInt(static_cast<float>(menuSlide) + kMenuSlideRise);
    const float M = static_cast<float>(menuSlide);
    const bool boxOpen = creditsOpen != 0 || badgesOpen != 0;

    // Artwork, logo and the score panel at the right edge.
    p_ResetDraw();
    p_SetSize(3.0f, kAbsentF);
    p_DrawImg(kMenuArt, W * 0.5f, H * 0.5f + 16.0f * M, 0.0f);
    p_SetSize(2.0f, kAbsentF);
    p_Alpha(1.0f);
    p_DrawImg(kTitleLogo, 0.4f * W, 0.2f * H + 12.0f * M, 0.0f);
    p_SetCol(0.0f, 0.0f, 0.0f, 0.4f);
    const float panelX = W - kScorePanelWidth - 4.0f * M;
    p_Rect(panelX, 0.0f, kScorePanelWidth, H);

    // Sound switch: works even while a box is open.
    p_ResetDraw();
    p_SetSize(2.0f, kAbsentF);
    p_SetCol(50.0f, 250.0f, 50.0f, 1.0f);
    {
        const int frame = settings[kSettingSound] != 0 ? kFrameSoundOn : kFrameSoundOff;
        float x = 0.0f;
        float y = 0.0f;
        if (landscape == 1) {
            x = 32.0f + 4.0f * M;
            y = static_cast<float>(TruncToInt(H * 0.5f));
        } else {
            x = static_cast<float>(TruncToInt(W * 0.5f));
            y = 32.0f + 4.0f * M;
        }
        if (p_Button(kIcons, x, y, frame) != 0 && pressConsumed == 0) {
            settings[kSettingSound] = ToggledSound(settings[kSettingSound]);
            pressConsumed = 1;
            p_PlaySFX(kSoundClick, 1.0f, kClickVolume, 0.0f);
        }
    }

    // Best and last scores of the mode, as many lines as fit.
    if (!boxOpen) {
        const int lineAdvance = TruncToInt(imageInfo[3 * fontSlot + 1] * 1.5f);
        const int room = TruncToInt(H * 0.5f - 90.0f);
        int lines = lineAdvance > 0 ? room / lineAdvance : kMaxListLines;
        if (lines < 1) lines = 1;
        if (lines > kMaxListLines) lines = kMaxListLines;
        const int base = ScoreBase(gameMode);
        String best = lines == 1 ? String("Highscore") : String("Top ") + String(lines);
        String last = lines == 1 ? String("Last") : String("Last ") + String(lines);
        for (int i = 0; i < lines; ++i) {
            best += String("\\n") + p_rstr(scoreTable[base + i], kListValueWidth, String(" "));
            last += String("\\n") +
                    p_rstr(scoreTable[base + kLastGamesOffset + i], kListValueWidth, String(" "));
        }
        p_SetCol(255.0f, 200.0f, 100.0f, 1.0f);
        p_SetSize(kListTextScale, kAbsentF);
        p_Text(panelX + 20.0f, kBestListY, best, 0.0f, 0.0f);
        p_SetCol(200.0f, 255.0f, 100.0f, kAbsentF);
        p_SetSize(kListTextScale, kAbsentF);
        p_Text(panelX + 20.0f, H * 0.5f + 20.0f, last, 0.0f, 0.0f);
    }

    // Start button.
    p_ResetDraw();
    p_SetSize(2.0f, kAbsentF);
    p_Alpha(1.0f);
    const int startHit = landscape == 1
                             ? p_Button(kButtons, 0.4f * W, 0.7f * H - 12.0f * M, kFrameStart)
                             : p_Button(kButtons, 0.3f * W, 0.65f * H - 12.0f * M, kFrameStart);
    if (startHit != 0 && pressConsumed == 0 && !boxOpen) {
        StartGame(*this);
        gameMode = kPlayedGameMode;
    }
    gameMode = kPlayedGameMode;

    // Start by key.
    if ((p_PlayKey(kControlAction1) || p_PlayKey(kControlAction2) || p_PlayKey(kControlAction3) ||
         p_PlayKey(kControlAction4)) &&
        keyLatch == 0 && !boxOpen) {
        StartGame(*this);
    }

    // iCade switch; the frame shows the current state.
    p_ResetDraw();
    if (p_Button(kICadeImage, W - 38.0f, 38.0f + 4.0f * M, iCadeControls) != 0 && !boxOpen &&
        pressConsumed == 0) {
        pressConsumed = 1;
        if (iCadeControls == 0) {
            p_iCade(1);
        } else if (iCadeControls == 1) {
            p_iCade(0);
        }
        p_PlaySFX(kSoundConfirm, 1.0f, 1.0f, 0.0f);
    }

    // The brand logo opens the credits box.
    p_SetSize(0.5f, kAbsentF);
    if (p_Button(kBrandLogo, W - 70.0f, H - 40.0f - 4.0f * M, 0) != 0 && pressConsumed == 0 &&
        creditsOpen == 0 && badgesOpen == 0) {
        pressConsumed = 1;
        p_PlaySFX(kSoundConfirm, 1.0f, 1.0f, 0.0f);
        creditsOpen = 1;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Entering a finished game into the score tables
// ---------------------------------------------------------------------------

int c_MyApp::p_LoadMenu() {
    const int base = ScoreBase(gameMode);
    newRank = -1;
    // A score equal to an entry goes below it.
    for (int k = 0; k < kScoresPerMode; ++k) {
        if (score > scoreTable[base + k] && newRank == -1) newRank = k;
    }
    if (newRank != -1) {
        for (int k = kScoresPerMode - 1; k > newRank; --k)
            scoreTable[base + k] = scoreTable[base + k - 1];
        scoreTable[base + newRank] = score;
    }
    p_GC_PostScore(gameMode, scoreTable[base]);
    p_GC_Badges();
    const int last = base + kLastGamesOffset;
    for (int k = kScoresPerMode - 1; k > 0; --k) scoreTable[last + k] = scoreTable[last + k - 1];
    scoreTable[last] = score;
    p_Save();
    return 0;
}

// ---------------------------------------------------------------------------
// Pause panel
// ---------------------------------------------------------------------------

namespace {

void PanelClick(c_MyApp &app, float rate) {
    app.p_PlaySFX(kSoundClick, rate, kClickVolume, 0.0f);
}

// Quitting ends the game at once; the game-over sequence follows.
void QuitGame(c_MyApp &app) {
    app.paused = 0;
    app.pausePanelDirection = -1;
    app.pausePanelY = kPanelQuitY;
    app.gameEnded = 1;
    app.pressConsumed = 1;
    PanelClick(app, kClickRateQuit);
}

}  // namespace

int c_MyApp::p_PauseMenu() {
    const float W = jscrw;
    const float H = jscrh;

    p_ResetDraw();
    p_SetCol(0.0f, 0.0f, 0.0f, std::fabs(static_cast<float>(pausePanelY)) / (kPanelDimSpan * H));
    p_Rect(0.0f, 0.0f, W, H);

    int y = pausePanelY;
    if (pausePanelDirection == 1) {
        if (static_cast<float>(y) < H * 0.5f) y += kPanelSpeed;
    } else if (pausePanelDirection == -1) {
        if (y < kPanelGoneY) {
            paused = 0;
        } else {
            y -= kPanelSpeed;
            if (y < kPanelHiddenY) paused = 0;
        }
    }
    pausePanelY = y;
    const float fy = static_cast<float>(y);

    // Three bands.
    p_ResetDraw();
    const float cx = W * 0.5f;
    if (landscape == 1) {
        p_SetCol(255.0f, 255.0f, 10.0f, 0.6f);
        p_Rect(cx - 128.0f, fy - 64.0f, 256.0f, 8.0f);
        p_SetCol(255.0f, 150.0f, 10.0f, 0.7f);
        p_Rect(cx - 140.0f, fy - 52.0f, 280.0f, 104.0f);
        p_SetCol(10.0f, 150.0f, 255.0f, 0.6f);
        p_Rect(cx - 128.0f, fy + 56.0f, 256.0f, 8.0f);
    } else {
        p_SetCol(255.0f, 255.0f, 10.0f, 0.6f);
        p_Rect(cx - 96.0f, fy - 92.0f, 192.0f, 8.0f);
        p_SetCol(255.0f, 150.0f, 10.0f, 0.7f);
        p_Rect(cx - 128.0f, fy - 80.0f, 256.0f, 160.0f);
        p_SetCol(10.0f, 150.0f, 255.0f, 0.6f);
        p_Rect(cx - 96.0f, fy + 84.0f, 192.0f, 8.0f);
    }

    const float quitX = static_cast<float>(TruncToInt(landscape == 1 ? cx - 140.0f : cx - 96.0f));
    const float soundX = static_cast<float>(TruncToInt(landscape == 1 ? cx + 140.0f : cx + 96.0f));
    const float sideY = landscape == 1 ? fy - 64.0f : fy - 96.0f;

    // The panel's keys act once per press (see play_keys.h) and only while
    // no other key press has been used this update.
    auto key = [this](int control) { return keyLatch == 0 && play_keys::Pressed(control); };
    auto ring = [this](float x, float ry) {
        p_SetSize(2.5f, kAbsentF);
        p_SetCol(255.0f, 255.0f, 100.0f, kAbsentF);
        p_DrawImg(kIcons, x, ry, static_cast<float>(kFrameRing));
    };

    // Resume.
    p_SetSize(2.0f, kAbsentF);
    p_SetCol(50.0f, 50.0f, 250.0f, kAbsentF);
    if (p_Button(kIcons, cx, fy, kFrameResume) != 0 && pressConsumed == 0) {
        pausePanelDirection = -1;
        pressConsumed = 1;
        PanelClick(*this, 1.0f);
    }
    if (pauseChoice == 0) {
        ring(cx, fy);
        if (key(kControlAction1)) {
            keyLatch = 1;
            pausePanelDirection = -1;
            PanelClick(*this, 1.0f);
        } else if (key(kControlLeft) || key(kControlUp)) {
            keyLatch = 1;
            pauseChoice = -1;
            PanelClick(*this, kClickRateLow);
        } else if (key(kControlRight)) {
            keyLatch = 1;
            pauseChoice = 1;
            PanelClick(*this, kClickRateHigh);
        }
    }

    // Quit.
    p_SetSize(2.0f, kAbsentF);
    p_SetCol(255.0f, 50.0f, 50.0f, kAbsentF);
    if (p_Button(kIcons, quitX, sideY, kFrameQuit) != 0 && pressConsumed == 0) QuitGame(*this);
    if (pauseChoice == -1) {
        ring(quitX, sideY);
        if (key(kControlAction1)) {
            keyLatch = 1;
            QuitGame(*this);
        } else if (key(kControlRight) || key(kControlDown)) {
            keyLatch = 1;
            pauseChoice = 0;
            PanelClick(*this, kClickRateLow);
        }
    }

    // Sound.
    p_SetSize(2.0f, kAbsentF);
    p_SetCol(50.0f, 250.0f, 50.0f, kAbsentF);
    const int soundFrame = settings[kSettingSound] != 0 ? kFrameSoundOn : kFrameSoundOff;
    if (p_Button(kIcons, soundX, sideY, soundFrame) != 0 && pressConsumed == 0) {
        settings[kSettingSound] = ToggledSound(settings[kSettingSound]);
        pressConsumed = 1;
        PanelClick(*this, 1.0f);
    }
    if (pauseChoice == 1) {
        ring(soundX, sideY);
        if (key(kControlAction1)) {
            keyLatch = 1;
            settings[kSettingSound] = SteppedSound(settings[kSettingSound]);
            PanelClick(*this, 1.0f);
        } else if (key(kControlLeft) || key(kControlDown)) {
            keyLatch = 1;
            pauseChoice = 0;
            PanelClick(*this, kClickRateLow);
        }
    }

    // Back resumes.
    if (key(kControlBack)) {
        keyLatch = 1;
        pausePanelDirection = -1;
        PanelClick(*this, 1.0f);
    }
    return 0;
}
