// The game-over sequence drawn over the last picture of a finished game:
// the screen darkens, two bars and the words "GAME" and "OVER" slide in,
// and a "New Highscore" panel names the place the score reaches. After 90
// updates it hands over to the title menu, where it runs backwards while
// the menu is already shown. Also the online score hook, which does nothing
// on this platform.
#include "game/myapp.h"

namespace {

constexpr float kDarkenPerUpdate = 1.0f / 40.0f;
constexpr float kDarkenMax = 0.7f;
constexpr int kBarGrowth = 12;         // virtual pixels of half length per update
constexpr float kBarMaxShare = 0.45f;  // of the screen height
constexpr float kBarHeight = 16.0f;
constexpr float kWordScale = 4.0f;
constexpr int kSequenceUpdates = 90;  // updates from the end of a game to the title menu
constexpr int kTitleStartTimer = 75;  // where the sequence starts running backwards
constexpr int kTitleCountdown = 2;    // timer decrease per update on the title menu

}  // namespace

int c_MyApp::p_GameOver() {
    const int t = gameOverTimer;
    const float W = jscrw;
    const float H = jscrh;

    if (t > 0) {
        float dark = static_cast<float>(t) * kDarkenPerUpdate;
        if (dark > kDarkenMax) dark = kDarkenMax;
        p_SetCol(0.0f, 0.0f, 0.0f, dark);
        p_Rect(-1.0f, -1.0f, W + 2.0f, H + 2.0f);

        const long long bar = static_cast<long long>(kBarGrowth) * t;
        gameOverBar = static_cast<float>(bar) > kBarMaxShare * H ? TruncToInt(kBarMaxShare * H)
                                                                 : static_cast<int>(bar);
        const float B = static_cast<float>(gameOverBar);

        p_ResetDraw();
        p_SetCol(255.0f, 255.0f, 0.0f, 0.5f);
        p_Rect(-1.0f, 0.45f * H - 8.0f, 2.0f * B, kBarHeight);
        p_SetCol(255.0f, 128.0f, 0.0f, 0.5f);
        p_Rect(W - 2.0f * B, 0.55f * H - 8.0f, 2.0f * B + 1.0f, kBarHeight);

        p_ResetDraw();
        p_SetSize(kWordScale, kAbsentF);
        p_SetCol(255.0f, 180.0f, 180.0f, 1.0f);
        p_Text(0.35f * W, B, String("GAME"), 1.0f, 1.0f);
        p_Text(0.65f * W, H - B, String("OVER"), 1.0f, 1.0f);

        const String place = p_MyNth();
        if (place.Length() > 0) {
            p_SetSize(1.0f, kAbsentF);
            p_SetCol(0.0f, 125.0f, 255.0f, 0.5f);
            p_Rect(0.35f * W, H - B / 1.5f - 16.0f, 0.3f * W, 32.0f);
            p_SetSize(2.0f, kAbsentF);
            p_SetCol(100.0f, 255.0f, 100.0f, 1.0f);
            // The backslash and n break the line; the spaces move the place
            // under the middle of the first line.
            p_Text(0.5f * W, H - B / 1.5f, String("New Highscore\\n           ") + place, 0.5f,
                   2.0f);
        }
    }

    if (screenMode == kScreenPlaying) {
        ++gameOverTimer;
        if (gameOverTimer == kSequenceUpdates) {
            screenMode = kScreenReturnToMenu;
            gameOverTimer = kTitleStartTimer;
            // A pointer or key still held from the game must not press the
            // title menu's buttons or start a new game.
            pressConsumed = 1;
            keyLatch = 1;
            musicPlayer->p_Tz_Stop(1);
            if (HasMusic == 1) musicPlayer->p_Tz_Stop(1);
        }
    } else if (screenMode < kScreenPlaying) {
        gameOverTimer -= kTitleCountdown;
        if (gameOverTimer < 0) gameOverTimer = 0;
    }
    return 0;
}

int c_MyApp::p_GC_PostScore(int mode, int best) {
    (void)mode;
    (void)best;
    return 0;
}
