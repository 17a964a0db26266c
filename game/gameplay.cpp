// The playing screen: starting a game, the per-update screen (board
// drawing, pointer and key steps, chaser, end detection, slide animation,
// rolling score), the board step that ages the board and moves the chaser,
// the 16 wall patterns and the pause trigger.
//
// The board holds 64 cells of ten ints, cell (x, y) at (8y + x) * 10; only
// the first three ints are used: block (steps the cell stays blocked), the
// number token's value and the wall countdown.
#include <cmath>
#include <cstdlib>

#include "game/myapp.h"
#include "game/play_keys.h"

namespace {

constexpr int kBoardSide = 8;
constexpr int kCellInts = 10;
constexpr int kCellBlock = 0;
constexpr int kCellNumber = 1;
constexpr int kCellWall = 2;

// Start of a game.
constexpr int kStartCell = 4;
constexpr int kStartWallTimer = 25;
constexpr int kStartChaserTimer = 100;
constexpr int kNoChaser = -16;
// chaserX at or above this means a chaser is on or next to the board.
constexpr int kChaserPresent = -15;

// Board step rules.
constexpr int kTrailBlock = 8;        // the player's cell, blocked for 7 more steps
constexpr int kChaserTrailBlock = 2;  // a cell the chaser leaves
constexpr int kWallBlock = 1;         // a cell under a wall pattern
constexpr int kNewToken = 9;          // value of a new number token
constexpr int kMinTokens = 2;         // tokens kept on the board
constexpr int kTokenMinDistance = 1;  // token placement, cells along rows and columns
constexpr int kTokenMaxDistance = 9;
constexpr int kWallCountdown = 20;      // steps a wall pattern lasts
constexpr int kWallInterval = 25;       // wallTimer after a pattern (26 steps apart)
constexpr int kChaserInterval = 10;     // chaserTimer after a chaser entered
constexpr int kChaserOffBoardMin = -1;  // a chaser beyond these leaves
constexpr int kChaserOffBoardMax = 8;

// Playing screen.
constexpr float kBoardDesignSize = 530.0f;  // virtual pixels the board scale refers to
constexpr float kCellPitch = 64.0f;         // at board scale 1
constexpr float kBoardHalfSpan = 224.0f;    // centre of the board to the centre of cell 0
constexpr float kPointerCellSide = 58.0f;   // pointer target per cell, at board scale 1
constexpr float kCatchDistance = 32.0f;     // chaser to player, per axis, at board scale 1
constexpr float kPlayerSlideStep = 0.1f;    // cells per update
constexpr float kChaserSlideStep = 0.2f;
constexpr int kKeyRepeatUpdates = 30;  // a held direction steps every half second
constexpr int kEndSoundUpdate = 2;     // endTimer value that plays the ending sound
constexpr int kEndUpdates = 60;        // endTimer beyond this ends the game
constexpr int kScoreRollDivisor = 6;   // the score figure closes 1/6 of the gap per update
constexpr float kScoreY = 32.0f;
constexpr int kScoreDigits = 8;
constexpr float kNumberTextScale = 2.0f;
constexpr float kScoreTextScale = 2.0f;
constexpr float kScoreAlpha = 0.8f;

// Image slot 1 ("gfx") frames.
constexpr int kBoardImage = 1;
constexpr int kFrameFloor = 0;
constexpr int kFrameToken = 1;
constexpr int kFramePlayer = 2;
constexpr int kFrameChaser = 3;
constexpr int kFrameBlockBase = 3;  // frame = block + 3 for block 1 to 8
constexpr int kFrameWall = 12;
constexpr int kFrameWallAnnounce = 13;

// The title menu slides in again from this offset after a game.
constexpr int kMenuSlideStart = -32;

// Pause button.
constexpr int kIconsImage = 97;
constexpr int kFramePause = 0;
constexpr float kPauseButtonX = 16.0f;
constexpr float kPauseButtonY = 16.0f;

// Sounds.
constexpr int kSoundToken = 1;
constexpr int kSoundEnding = 2;
constexpr int kSoundClick = 98;
constexpr int kSoundStep = 99;

// Headings of the chaser.
constexpr int kHeadUp = 0;
constexpr int kHeadRight = 1;
constexpr int kHeadDown = 2;
constexpr int kHeadLeft = 3;

// The 16 wall patterns: character 8 * row + column is '1' on a wall cell.
const char *const kWallPatterns[16] = {
    "0000110000001000100000001100000000000011000000010001000000110000",
    "0011000000010000000000010000001111000000100000000000100000001100",
    "0000000000010000001111000000010001100110001101000001000000000000",
    "0000000001110000010000000101011000000010000100100001111000000000",
    "0000000001100100000001100011001000000000000110000000001000000000",
    "0000000000000000000000000001100000011000000100000000000000000000",
    "0000000000111100001001000000000000000000000110000011110000000000",
    "0000000001101010010000000000001001000000000000100101011000000000",
    "0000000000100000001011000010000000100000001011000010000000000000",
    "0001000000000100010000000000100000000010100000000000000100100000",
    "0000000000000000011111000001000000010000000100000111000000000000",
    "0000000000100100001001000110011000000000001111000010010000000000",
    "0000000001110110001001000010110000101000001000100110111000000000",
    "0000000000000000001101000010000000000100001011000000000000000000",
    "0000000001110110010000100000001001000000010000100110111000000000",
    "0000000001011010000100000110001001000110000010000101101000000000",
};

int CellIndex(int x, int y) {
    return (kBoardSide * y + x) * kCellInts;
}

// Moves v toward 0 by step; a move that would cross 0 stops at 0.
float TowardZero(float v, float step) {
    if (v > 0.0f) {
        v -= step;
        if (v < 0.0f) v = 0.0f;
    } else if (v < 0.0f) {
        v += step;
        if (v > 0.0f) v = 0.0f;
    }
    return v;
}

// Board scale and the centre of cell (0, 0) on the current virtual screen.
struct BoardGeometry {
    float k;
    float originX;
    float originY;
    float pitch() const { return kCellPitch * k; }
    float CellX(float x) const { return originX + x * pitch(); }
    float CellY(float y) const { return originY + y * pitch(); }
};

BoardGeometry Geometry() {
    float side = jscrw < jscrh ? jscrw : jscrh;
    BoardGeometry g;
    g.k = side / kBoardDesignSize;
    g.originX = jscrw * 0.5f - kBoardHalfSpan * g.k;
    g.originY = jscrh * 0.5f - kBoardHalfSpan * g.k;
    return g;
}

enum class Step { None, Up, Down, Left, Right };

// Moves the player one cell, starts its slide from the old cell and runs
// the board step.
void TakeStep(c_MyApp &app, Step step) {
    switch (step) {
        case Step::Up:
            app.playerY -= 1.0f;
            app.slideY = 1.0f;
            break;
        case Step::Down:
            app.playerY += 1.0f;
            app.slideY = -1.0f;
            break;
        case Step::Left:
            app.playerX -= 1.0f;
            app.slideX = 1.0f;
            break;
        case Step::Right:
            app.playerX += 1.0f;
            app.slideX = -1.0f;
            break;
        case Step::None:
            return;
    }
    app.p_Shift();
}

}  // namespace

// ---------------------------------------------------------------------------
// Starting a game
// ---------------------------------------------------------------------------

int c_MyApp::p_LoadGame() {
    paused = 0;
    score = 0;
    gameEnded = 0;
    gameOverTimer = 0;
    screenMode = kScreenPlaying;
    for (int i = 0; i < kBoardSide * kBoardSide * kCellInts; ++i) board[i] = 0;
    board[CellIndex(kStartCell, kStartCell) + kCellBlock] = kTrailBlock;
    playerX = playerY = static_cast<float>(kStartCell);
    slideX = slideY = 0.0f;
    endTimer = 0;
    wallTimer = kStartWallTimer;
    chaserTimer = kStartChaserTimer;
    chaserX = chaserY = kNoChaser;
    chaserDirection = kHeadUp;
    // A key held while the game starts does not count as a new press.
    play_keys::Reset(this);
    p_Shift();
    return 0;
}

// ---------------------------------------------------------------------------
// One update of the playing screen
// ---------------------------------------------------------------------------

int c_MyApp::p_Game() {
    const BoardGeometry g = Geometry();
    p_CLS2D(0.0f, 0.0f, 80.0f, 1.0f);
    p_SetSize(g.k, g.k);

    // Once the game is ending (caught or boxed in) or has ended (quit from
    // the pause panel), the player no longer steps: the score is final.
    const bool stepsAllowed = endTimer == 0 && gameEnded == 0;

    for (int x = 0; x < kBoardSide; ++x) {
        for (int y = 0; y < kBoardSide; ++y) {
            const int c = CellIndex(x, y);
            const float cx = g.CellX(static_cast<float>(x));
            const float cy = g.CellY(static_cast<float>(y));
            int frame =
                board[c + kCellBlock] >= 1 ? board[c + kCellBlock] + kFrameBlockBase : kFrameFloor;
            if (board[c + kCellWall] > 0 && board[c + kCellWall] < kWallCountdown)
                frame = kFrameWall;

            if (stepsAllowed && board[c + kCellBlock] < 1 && board[c + kCellWall] == 0 &&
                p_MouseIn_Centered(cx, cy, kPointerCellSide * g.k, kPointerCellSide * g.k) &&
                pointerDown > 0 && pressConsumed == 0 && slideX == 0.0f && slideY == 0.0f) {
                const int px = TruncToInt(playerX);
                const int py = TruncToInt(playerY);
                Step step = Step::None;
                if (px == x - 1 && py == y) {
                    step = Step::Right;
                } else if (px == x + 1 && py == y) {
                    step = Step::Left;
                } else if (px == x) {
                    if (py == y - 1) {
                        step = Step::Down;
                    } else if (py == y + 1) {
                        step = Step::Up;
                    }
                }
                TakeStep(*this, step);
            }

            p_DrawImg(kBoardImage, cx, cy, static_cast<float>(frame));
            if (board[c + kCellWall] == kWallCountdown)
                p_DrawImg(kBoardImage, cx, cy, static_cast<float>(kFrameWallAnnounce));
            if (board[c + kCellNumber] > 0) {
                p_DrawImg(kBoardImage, cx, cy, static_cast<float>(kFrameToken));
                p_SetSize(kNumberTextScale, kNumberTextScale);
                p_Text(cx, cy, String(" ") + String(board[c + kCellNumber]), 1.0f, 1.0f);
                p_SetSize(g.k, g.k);
            }
        }
    }

    // The chaser slides toward its cell and catches the player when its
    // sprite comes close to the player's on both axes.
    if (chaserX >= kChaserPresent) {
        if (endTimer == 0) {
            chaserSlideX = TowardZero(chaserSlideX, kChaserSlideStep);
            chaserSlideY = TowardZero(chaserSlideY, kChaserSlideStep);
        }
        const float sx = g.CellX(static_cast<float>(chaserX) + chaserSlideX);
        const float sy = g.CellY(static_cast<float>(chaserY) + chaserSlideY);
        const float reach = kCatchDistance * g.k;
        if (std::fabs(sx - playerScreenX) < reach && std::fabs(sy - playerScreenY) < reach &&
            endTimer == 0 && gameEnded == 0) {
            endTimer = 1;
        }
        p_SetCol(255.0f, 255.0f, 255.0f, 1.0f);
        p_DrawImg(kBoardImage, sx, sy, static_cast<float>(kFrameChaser));
    }

    // Free neighbours.
    const int px = TruncToInt(playerX);
    const int py = TruncToInt(playerY);
    auto isFree = [this](int x, int y) {
        const int c = CellIndex(x, y);
        return board[c + kCellBlock] < 1 && board[c + kCellWall] < 1;
    };
    bool up = py > 0 && isFree(px, py - 1);
    bool down = py < kBoardSide - 1 && isFree(px, py + 1);
    bool left = px > 0 && isFree(px - 1, py);
    bool right = px < kBoardSide - 1 && isFree(px + 1, py);
    if (endTimer > 0) up = down = left = right = false;

    // Key repeat: a held direction steps again after kKeyRepeatUpdates;
    // releasing every direction allows the next press at once.
    if (keyLatch > 0) --keyLatch;
    if (!p_PlayKey(kControlUp) && !p_PlayKey(kControlLeft) && !p_PlayKey(kControlRight) &&
        !p_PlayKey(kControlDown)) {
        keyLatch = 0;
    }

    if (stepsAllowed && slideX == 0.0f && slideY == 0.0f && keyLatch == 0) {
        Step keyStep = Step::None;
        if (p_PlayKey(kControlUp) && up) {
            keyStep = Step::Up;
        } else if (p_PlayKey(kControlLeft) && left) {
            keyStep = Step::Left;
        } else if (p_PlayKey(kControlDown) && down) {
            keyStep = Step::Down;
        } else if (p_PlayKey(kControlRight) && right) {
            keyStep = Step::Right;
        }
        if (keyStep != Step::None) {
            keyLatch = kKeyRepeatUpdates;
            TakeStep(*this, keyStep);
        }
    }

    // The end: boxed in (no free neighbour once the slide is over) or caught.
    if ((!up && !down && !left && !right && slideX == 0.0f && slideY == 0.0f) || endTimer >= 1) {
        ++endTimer;
        if (endTimer == kEndSoundUpdate) p_PlaySFX(kSoundEnding, 1.0f, 1.0f, 0.0f);
        if (endTimer > kEndUpdates) gameEnded = 1;
    }

    if (endTimer == 0) {
        slideX = TowardZero(slideX, kPlayerSlideStep);
        slideY = TowardZero(slideY, kPlayerSlideStep);
    }

    playerScreenX = g.CellX(playerX + slideX);
    playerScreenY = g.CellY(playerY + slideY);
    p_SetCol(255.0f, 255.0f, 255.0f, 1.0f);
    p_DrawImg(kBoardImage, playerScreenX, playerScreenY, static_cast<float>(kFramePlayer));

    // The score figure rolls toward the score.
    // Wide arithmetic: the two figures may lie any distance apart.
    const long long shown = shownScore;
    const long long rolled = shown - (shown - score) / kScoreRollDivisor;
    const long long gap = rolled - score;
    shownScore =
        (gap > -kScoreRollDivisor && gap < kScoreRollDivisor) ? score : static_cast<int>(rolled);
    p_SetCol(100.0f, 255.0f, 100.0f, kScoreAlpha);
    p_SetSize(kScoreTextScale, kScoreTextScale);
    p_Text(jscrw * 0.5f, kScoreY, p_rstr(shownScore, kScoreDigits, String("0")), 1.0f, 1.0f);
    return 0;
}

// ---------------------------------------------------------------------------
// One board step
// ---------------------------------------------------------------------------

int c_MyApp::p_Shift() {
    p_PlaySFX(kSoundStep, 1.0f, 1.0f, 0.0f);
    const int px = TruncToInt(playerX);
    const int py = TruncToInt(playerY);
    const int player = CellIndex(px, py);

    // Collect the token under the player before it ages.
    if (board[player + kCellNumber] > 0) {
        p_PlaySFX(kSoundToken, 1.0f, 1.0f, 0.0f);
        score += board[player + kCellNumber];
        board[player + kCellNumber] = 0;
    }

    numberCount = 0;
    for (int c = 0; c < kBoardSide * kBoardSide * kCellInts; c += kCellInts) {
        if (board[c + kCellBlock] > 0) --board[c + kCellBlock];
        if (board[c + kCellNumber] > 0) {
            --board[c + kCellNumber];
            ++numberCount;
        }
        if (board[c + kCellWall] > 0) {
            --board[c + kCellWall];
            board[c + kCellBlock] = kWallBlock;
            board[c + kCellNumber] = 0;
        }
    }

    board[player + kCellBlock] = kTrailBlock;

    // New tokens: one chance in five of an extra attempt, then attempts
    // until at least kMinTokens cells carry a number.
    auto attempt = [&]() {
        const int x = p_Rand(0.0f, 7.0f);
        const int y = p_Rand(0.0f, 7.0f);
        const int d = std::abs(px - x) + std::abs(py - y);
        const int c = CellIndex(x, y);
        if (board[c + kCellNumber] == 0 && board[c + kCellWall] == 0 && d >= kTokenMinDistance &&
            d <= kTokenMaxDistance) {
            board[c + kCellNumber] = kNewToken;
            ++numberCount;
        }
    };
    if (p_Rand(0.0f, 4.0f) == 1) attempt();
    while (numberCount < kMinTokens) attempt();

    // Walls.
    --wallTimer;
    if (wallTimer < 0) {
        wallTimer = kWallInterval;
        const String pattern = p_GetWall();
        const int orientation = p_Rand(1.0f, 2.0f);
        for (int x = 0; x < kBoardSide; ++x) {
            for (int y = 0; y < kBoardSide; ++y) {
                const int i = orientation == 1 ? kBoardSide * x + y : kBoardSide * y + x;
                if (i < pattern.Length() && pattern[i] == u'1')
                    board[CellIndex(x, y) + kCellWall] = kWallCountdown;
            }
        }
    }

    // The chaser moves one cell, leaving a short trail, and leaves the board
    // once it is two cells beyond an edge. It ignores walls and blocks.
    if (chaserX >= kChaserPresent) {
        if (chaserX >= 0 && chaserX < kBoardSide && chaserY >= 0 && chaserY < kBoardSide)
            board[CellIndex(chaserX, chaserY) + kCellBlock] = kChaserTrailBlock;
        switch (chaserDirection) {
            case kHeadUp:
                --chaserY;
                chaserSlideY = 1.0f;
                break;
            case kHeadRight:
                ++chaserX;
                chaserSlideX = -1.0f;
                break;
            case kHeadDown:
                ++chaserY;
                chaserSlideY = -1.0f;
                break;
            case kHeadLeft:
                --chaserX;
                chaserSlideX = 1.0f;
                break;
            default:
                break;
        }
        if (chaserX < kChaserOffBoardMin || chaserX > kChaserOffBoardMax ||
            chaserY < kChaserOffBoardMin || chaserY > kChaserOffBoardMax) {
            chaserX = kNoChaser;
        }
    }

    // A new chaser enters from a border cell, heading across the board; a
    // corner sends it along the column.
    --chaserTimer;
    if (chaserTimer < 0 && chaserX < kChaserPresent) {
        chaserTimer = kChaserInterval;
        int x = 0;
        int y = 0;
        do {
            x = p_Rand(0.0f, 7.0f);
            y = p_Rand(0.0f, 7.0f);
        } while (x != 0 && x != kBoardSide - 1 && y != 0 && y != kBoardSide - 1);
        chaserX = x;
        chaserY = y;
        if (x == 0) {
            chaserDirection = kHeadRight;
            chaserSlideX = -1.0f;
            chaserSlideY = 0.0f;
        }
        if (x == kBoardSide - 1) {
            chaserDirection = kHeadLeft;
            chaserSlideX = 1.0f;
            chaserSlideY = 0.0f;
        }
        if (y == 0) {
            chaserDirection = kHeadDown;
            chaserSlideX = 0.0f;
            chaserSlideY = -1.0f;
        }
        if (y == kBoardSide - 1) {
            chaserDirection = kHeadUp;
            chaserSlideX = 0.0f;
            chaserSlideY = 1.0f;
        }
    }
    return 0;
}

String c_MyApp::p_GetWall() {
    const int r = p_Rand(1.0f, 16.0f);
    if (r < 1 || r > 16) return String();
    return String(kWallPatterns[r - 1]);
}

// ---------------------------------------------------------------------------
// The pause trigger
// ---------------------------------------------------------------------------

int c_MyApp::p_InGame() {
    p_ResetDraw();
    menuSlide = kMenuSlideStart;
    play_keys::Sample(this);

    // The back control opens the panel once per press. A pointer still held
    // then cannot press the panel's buttons as they slide in.
    if (p_PlayKey(kControlBack) && play_keys::Pressed(kControlBack) && paused == 0 &&
        keyLatch == 0 && gameEnded == 0) {
        keyLatch = 1;
        paused = 1;
        pausePanelDirection = 1;
        pauseChoice = 0;
        pressConsumed = 1;
        p_PlaySFX(kSoundClick, 1.0f, 0.5f, 0.0f);
    }

    if (p_Button(kIconsImage, kPauseButtonX, kPauseButtonY, kFramePause) != 0 && paused == 0 &&
        gameEnded == 0) {
        paused = 1;
        pausePanelDirection = 1;
        pressConsumed = 1;
        pauseChoice = 0;
        p_PlaySFX(kSoundClick, 1.0f, 0.5f, 0.0f);
    }

    if (paused == 1) p_PauseMenu();
    return 0;
}
