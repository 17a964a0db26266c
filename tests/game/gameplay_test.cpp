// The playing screen and the board step on the real game object: ageing,
// trail, tokens, walls, the chaser, scoring, the end of a game, pointer and
// key steps, and a replay from the start-up seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "tests/game/support/play_helpers.h"

namespace {

class Gameplay : public PlayFixture {
protected:
    // A started game on an empty board, the player at (x, y), no chaser,
    // no walls or chaser due for a long time.
    void QuietBoard(int x, int y) {
        StartPlaying();
        ClearBoard();
        PlacePlayer(x, y);
        app->wallTimer = 1000;
        app->chaserTimer = 1000;
        app->chaserX = app->chaserY = -16;
    }
    // Cells reachable from (x, y) over cells that are free or will be after
    // the next step.
    int OpenArea(int x0, int y0) {
        bool seen[64] = {};
        int stack[64], top = 0, n = 0;
        stack[top++] = 8 * y0 + x0;
        seen[8 * y0 + x0] = true;
        while (top > 0) {
            const int c = stack[--top];
            ++n;
            const int x = c % 8, y = c / 8;
            const int nb[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            for (const auto &p : nb) {
                if (p[0] < 0 || p[0] > 7 || p[1] < 0 || p[1] > 7) continue;
                const int d = 8 * p[1] + p[0];
                if (seen[d] || Block(p[0], p[1]) > 0 || Wall(p[0], p[1]) > 0) continue;
                seen[d] = true;
                stack[top++] = d;
            }
        }
        return n;
    }
    // OpenArea at (x, y) after a board step with the player moved there;
    // the game's state and the generator are put back afterwards.
    int AreaAfterStep(int x, int y) {
        int saved[640];
        for (int i = 0; i < 640; ++i) saved[i] = app->board[i];
        struct {
            int score, numberCount, wallTimer, chaserX, chaserY, chaserDirection, chaserTimer;
            float chaserSlideX, chaserSlideY, slideX, slideY;
        } copy = {app->score,        app->numberCount,     app->wallTimer,   app->chaserX,
                  app->chaserY,      app->chaserDirection, app->chaserTimer, app->chaserSlideX,
                  app->chaserSlideY, app->slideX,          app->slideY};
        const int seed = bb_random_Seed;
        const float px = app->playerX, py = app->playerY;
        PlacePlayer(x, y);
        app->p_Shift();
        int area = OpenArea(x, y);
        if (app->chaserX >= 0 && std::abs(app->chaserX - x) + std::abs(app->chaserY - y) <= 1)
            area = 0;
        for (int i = 0; i < 640; ++i) app->board[i] = saved[i];
        app->score = copy.score;
        app->numberCount = copy.numberCount;
        app->wallTimer = copy.wallTimer;
        app->chaserX = copy.chaserX;
        app->chaserY = copy.chaserY;
        app->chaserDirection = copy.chaserDirection;
        app->chaserSlideX = copy.chaserSlideX;
        app->chaserSlideY = copy.chaserSlideY;
        app->chaserTimer = copy.chaserTimer;
        app->playerX = px;
        app->playerY = py;
        app->slideX = copy.slideX;
        app->slideY = copy.slideY;
        bb_random_Seed = seed;
        return area;
    }
    int Tokens() {
        int n = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) n += Number(x, y) > 0;
        return n;
    }
};

// ---------------------------------------------------------------------------
// Board step
// ---------------------------------------------------------------------------

TEST_F(Gameplay, BoardStepAgesEachCellBlockThenNumberThenWall) {
    struct Case {
        int block, number, wall;
        int wantBlock, wantNumber, wantWall;
        bool counted;
    };
    const Case cases[] = {
        {3, 0, 0, 2, 0, 0, false},  // block counts down
        {0, 5, 0, 0, 4, 0, true},   // number counts down and is counted
        {0, 1, 0, 0, 0, 0, true},   // a token of 1 expires, still counted
        {0, 0, 7, 1, 0, 6, false},  // a wall keeps its cell blocked
        {0, 5, 3, 1, 0, 2, true},   // a wall clears the number after counting it
        {1, 0, 1, 1, 0, 0, false},  // the last wall step blocks once more
        {2, 4, 1, 1, 0, 0, true},   // all three at once
    };
    QuietBoard(0, 0);
    // Cells at least 10 cells from the player, where no new token may land.
    const int cells[][2] = {{3, 7}, {4, 7}, {5, 7}, {6, 7}, {7, 7}, {4, 6}, {5, 6}};
    static_assert(sizeof(cells) / sizeof(cells[0]) == sizeof(cases) / sizeof(cases[0]), "");
    int counted = 0;
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        Block(cells[i][0], cells[i][1]) = cases[i].block;
        Number(cells[i][0], cells[i][1]) = cases[i].number;
        Wall(cells[i][0], cells[i][1]) = cases[i].wall;
        counted += cases[i].counted;
    }
    app->p_Shift();
    int newTokens = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) newTokens += Number(x, y) == 9;
    EXPECT_EQ(app->numberCount, counted + newTokens);
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        const int x = cells[i][0], y = cells[i][1];
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(Block(x, y), cases[i].wantBlock);
        EXPECT_EQ(Number(x, y), cases[i].wantNumber);
        EXPECT_EQ(Wall(x, y), cases[i].wantWall);
    }
    EXPECT_EQ(Block(0, 0), 8);  // the player's cell
}

TEST_F(Gameplay, TrailOfEightClosesBehindThePlayer) {
    StartPlaying();
    EXPECT_EQ(Block(4, 4), 8);
    const int path[] = {KeyCode::Right, KeyCode::Right, KeyCode::Right,
                        KeyCode::Down,  KeyCode::Down,  KeyCode::Down,
                        KeyCode::Left,  KeyCode::Left,  KeyCode::Left};
    for (int key : path) StepKey(key);
    ASSERT_EQ(PlayerX(), 4);
    ASSERT_EQ(PlayerY(), 7);
    // Newest first: the cell stepped on is 8 and each older one a step less.
    const int cells[][3] = {{4, 7, 8}, {5, 7, 7}, {6, 7, 6}, {7, 7, 5}, {7, 6, 4},
                            {7, 5, 3}, {7, 4, 2}, {6, 4, 1}, {5, 4, 0}, {4, 4, 0}};
    for (const auto &c : cells) EXPECT_EQ(Block(c[0], c[1]), c[2]) << c[0] << "," << c[1];
    // The blocked trail is drawn as frame block + 3.
    EXPECT_EQ(FramesAtCell(6, 7).front(), 9);
    EXPECT_EQ(FramesAtCell(5, 4).front(), 0);
}

TEST_F(Gameplay, TokensAfterEveryStepAtDistanceOneToNine) {
    StartPlaying();
    app->chaserTimer = 100000;  // only tokens and walls in this test
    int steps = 0;
    for (int i = 0; i < 200 && app->endTimer == 0; ++i) {
        int before[64], expiring = 0;
        for (int c = 0; c < 64; ++c) {
            before[c] = app->board[c * 10 + 1];
            // A token about to reach 0 or to be covered by a wall still
            // counts toward the two of this step.
            if (before[c] == 1 || (before[c] > 0 && app->board[c * 10 + 2] > 0)) ++expiring;
        }
        const int px = PlayerX(), py = PlayerY();
        // The first free neighbour in a fixed order, stepping by hand.
        const int dx[] = {1, 0, -1, 0}, dy[] = {0, 1, 0, -1};
        bool moved = false;
        for (int d = 0; d < 4 && !moved; ++d) {
            const int nx = px + dx[d], ny = py + dy[d];
            if (nx < 0 || nx > 7 || ny < 0 || ny > 7) continue;
            if (Block(nx, ny) >= 1 || Wall(nx, ny) >= 1) continue;
            const int collected = Number(nx, ny) > 0 ? 1 : 0;
            PlacePlayer(nx, ny);
            app->p_Shift();
            ++steps;
            moved = true;
            EXPECT_GE(app->numberCount, 2);
            EXPECT_GE(Tokens() + expiring + collected, 2) << "step " << steps;
            for (int y = 0; y < 8; ++y) {
                for (int x = 0; x < 8; ++x) {
                    if (Number(x, y) != 9) continue;
                    const int dist = std::abs(x - nx) + std::abs(y - ny);
                    EXPECT_GE(dist, 1);
                    EXPECT_LE(dist, 9);
                }
            }
        }
        if (!moved) break;
    }
    EXPECT_GT(steps, 30);
}

TEST_F(Gameplay, FirstWallAtTheTwentySixthStepShownAsFrameTwelveForNineteen) {
    StartPlaying();  // p_LoadGame ran the first board step
    app->chaserTimer = 100000;
    auto wallCells = [&] {
        std::set<int> s;
        for (int c = 0; c < 64; ++c)
            if (app->board[c * 10 + 2] > 0) s.insert(c);
        return s;
    };
    for (int step = 2; step <= 25; ++step) app->p_Shift();
    EXPECT_TRUE(wallCells().empty());
    app->p_Shift();  // the 26th
    const std::set<int> walls = wallCells();
    ASSERT_FALSE(walls.empty());
    EXPECT_EQ(app->wallTimer, 25);

    for (int c : walls) EXPECT_EQ(app->board[c * 10 + 2], 20);

    const int c0 = *walls.begin();
    const int wx = c0 % 8, wy = c0 / 8;
    app->screenMode = kScreenPlaying;
    app->p_Game();
    std::vector<int> frames = FramesAtCell(wx, wy);
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[1], 13);  // announced over the cell
    for (int step = 27; step <= 45; ++step) {
        app->p_Shift();
        app->p_Game();
        frames = FramesAtCell(wx, wy);
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames[0], 12) << "step " << step;
        EXPECT_EQ(Block(wx, wy), 1);
    }
    app->p_Shift();  // the 46th: the wall is gone, its cell blocked once more
    EXPECT_EQ(Wall(wx, wy), 0);
    if (PlayerX() != wx || PlayerY() != wy) {
        EXPECT_EQ(Block(wx, wy), 1);
    }
}

TEST_F(Gameplay, WallPatternsFollowTheOrientationRule) {
    StartPlaying();
    // p_GetWall draws r = p_Rand(1, 16); the board step then draws the
    // orientation. Replaying the generator shows which pattern came.
    for (int trial = 0; trial < 40; ++trial) {
        ClearBoard();
        PlacePlayer(0, 0);
        app->wallTimer = 0;
        app->chaserTimer = 1000;
        const int seedBefore = bb_random_Seed;
        // Draws of the board step before the walls: one for the extra token
        // chance, then pairs until two tokens are on the board.
        app->p_Shift();
        const int seedAfter = bb_random_Seed;
        // Walk the generator from seedBefore to seedAfter; the last two
        // draws were the pattern and the orientation.
        std::vector<int> seeds;
        bb_random_Seed = seedBefore;
        while (bb_random_Seed != seedAfter) {
            app->p_Rand(0, 1);
            seeds.push_back(bb_random_Seed);
        }
        ASSERT_GE(seeds.size(), 2u);
        bb_random_Seed = seeds[seeds.size() - 3];
        const String pattern = app->p_GetWall();
        const int o = app->p_Rand(1, 2);
        ASSERT_EQ(pattern.Length(), 64);
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                const char16_t c = o == 1 ? pattern[8 * x + y] : pattern[8 * y + x];
                EXPECT_EQ(Wall(x, y), c == u'1' ? 20 : 0);
            }
        }
        bb_random_Seed = seedAfter;
    }
}

// ---------------------------------------------------------------------------
// Chaser
// ---------------------------------------------------------------------------

TEST_F(Gameplay, ChaserEntersAfterTheHundredFirstStepFromABorderCell) {
    StartPlaying();  // board step 1
    for (int step = 2; step <= 100; ++step) {
        app->p_Shift();
        ASSERT_EQ(app->chaserX, -16) << "step " << step;
    }
    app->p_Shift();  // the 101st
    EXPECT_GE(app->chaserX, 0);
    EXPECT_EQ(app->chaserTimer, 10);
}

TEST_F(Gameplay, ChaserHeadingAcrossTheBoardAndAlongTheColumnFromCorners) {
    StartPlaying();
    std::set<std::pair<int, int>> corners;
    for (int i = 0; i < 400; ++i) {
        app->chaserX = -16;
        app->chaserTimer = 0;
        app->p_Shift();
        const int x = app->chaserX, y = app->chaserY;
        ASSERT_TRUE(x == 0 || x == 7 || y == 0 || y == 7) << x << "," << y;
        int want = -1;
        float slideX = 0, slideY = 0;
        if (y == 0) {
            want = 2, slideY = -1;
        } else if (y == 7) {
            want = 0, slideY = 1;
        } else if (x == 0) {
            want = 1, slideX = -1;
        } else {
            want = 3, slideX = 1;
        }
        EXPECT_EQ(app->chaserDirection, want) << x << "," << y;
        EXPECT_EQ(app->chaserSlideX, slideX);
        EXPECT_EQ(app->chaserSlideY, slideY);
        if ((x == 0 || x == 7) && (y == 0 || y == 7)) corners.insert({x, y});
    }
    EXPECT_EQ(corners.size(), 4u);
}

TEST_F(Gameplay, ChaserLeavesATrailIgnoresWallsAndLeavesTheBoard) {
    QuietBoard(4, 6);
    app->chaserX = 0;
    app->chaserY = 2;
    app->chaserDirection = 1;  // right
    Wall(2, 2) = 15;
    Block(3, 2) = 5;
    const int wantX[] = {1, 2, 3, 4, 5, 6, 7, 8, -16};
    for (int i = 0; i < 9; ++i) {
        app->p_Shift();
        EXPECT_EQ(app->chaserX, wantX[i]) << "step " << i + 1;
        if (app->chaserX >= 0) {
            EXPECT_EQ(app->chaserSlideX, -1.0f);
        }
        if (i < 8) {
            EXPECT_EQ(Block(wantX[i] - 1, 2), 2) << "trail at step " << i + 1;
        }
    }
    // The trail ages like any block: the first cell was left 9 steps ago.
    EXPECT_EQ(Block(6, 2), 0);
    EXPECT_EQ(Block(7, 2), 1);
}

// ---------------------------------------------------------------------------
// Scoring
// ---------------------------------------------------------------------------

TEST_F(Gameplay, TokenValueFallsByOnePerStep) {
    struct Case {
        int tokenX, tokenY;
        std::vector<int> path;
        int wantGain;
    };
    const Case cases[] = {
        // Distance 9 from (0, 0), reached with the 9th step: worth 1.
        {4,
         5,
         {KeyCode::Right, KeyCode::Right, KeyCode::Right, KeyCode::Right, KeyCode::Down,
          KeyCode::Down, KeyCode::Down, KeyCode::Down, KeyCode::Down},
         1},
        // Distance 1, collected at once: worth 9.
        {1, 0, {KeyCode::Right}, 9},
    };
    for (const Case &c : cases) {
        QuietBoard(0, 0);
        Number(c.tokenX, c.tokenY) = 9;
        // The other tokens a step places must not be on the path; keep the
        // board free of them by clearing them before every step.
        for (size_t i = 0; i < c.path.size(); ++i) {
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    if (x != c.tokenX || y != c.tokenY) Number(x, y) = 0;
            const int before = app->score;
            const int sounds = rec()->CountSounds(1);
            StepKey(c.path[i]);
            if (i + 1 < c.path.size()) {
                EXPECT_EQ(app->score, before);
            } else {
                EXPECT_EQ(app->score - before, c.wantGain);
                EXPECT_EQ(rec()->CountSounds(1), sounds + 1);
                EXPECT_EQ(Number(c.tokenX, c.tokenY), 0);
            }
        }
        EXPECT_EQ(PlayerX(), c.tokenX);
        EXPECT_EQ(PlayerY(), c.tokenY);
        app->score = 0;
    }
}

TEST_F(Gameplay, ScoreFigureRollsTowardTheScore) {
    StartPlaying();
    app->shownScore = 100;
    app->score = 0;
    // 100 - 100/6 = 84, 84 - 14 = 70, 70 - 11 = 59, ... then equal once
    // within 6 of the score.
    const int want[] = {84, 70, 59, 50, 42, 35, 30, 25, 21, 18, 15, 13, 11, 10, 9, 8, 7, 6, 0};
    for (int w : want) {
        Update();
        EXPECT_EQ(app->shownScore, w);
    }
    ASSERT_FALSE(rec()->TextsStartingWith("0000").empty());
    EXPECT_EQ(rec()->TextsStartingWith("0000").back().text, "00000000");
}

// ---------------------------------------------------------------------------
// The end of a game
// ---------------------------------------------------------------------------

TEST_F(Gameplay, BoxedInEndsOneSecondLaterWithTheEndingSound) {
    QuietBoard(3, 3);
    // A free cell next to the player: nothing happens while it waits.
    Update(100);
    EXPECT_EQ(app->endTimer, 0);
    // Walls on all four sides, no chaser anywhere.
    Wall(2, 3) = Wall(4, 3) = Wall(3, 2) = Wall(3, 4) = 15;
    const int start = rec()->updates;
    int soundAt = -1, endedAt = -1;
    for (int i = 1; i <= 70; ++i) {
        Update();
        if (soundAt < 0 && rec()->CountSounds(2) > 0) soundAt = i;
        if (endedAt < 0 && app->gameEnded > 0) endedAt = i;
    }
    (void)start;
    EXPECT_EQ(soundAt, 2);
    EXPECT_EQ(endedAt, 61);  // endTimer passes 60 in the 61st update
    EXPECT_EQ(rec()->CountSounds(2), 1);
}

TEST_F(Gameplay, CaughtFreezesBothSlidesAndEndsSixtyUpdatesLater) {
    QuietBoard(3, 3);
    KeyDown(KeyCode::Right);
    Update();  // step to (4, 3); the slide starts at -1 and moves to -0.9
    KeyUp(KeyCode::Right);
    ASSERT_EQ(PlayerX(), 4);
    // The chaser comes along the row toward the player's drawn position.
    app->chaserX = 3;
    app->chaserY = 3;
    app->chaserSlideX = 0.4f;
    app->chaserSlideY = 0.0f;
    app->chaserDirection = 3;
    Update();  // chaser at 3 + 0.2 cells, the player drawn at 4 - 0.9: caught
    ASSERT_EQ(app->endTimer, 2);
    EXPECT_EQ(rec()->CountSounds(2), 1);  // the second value of endTimer
    const float slideX = app->slideX, chaserSlide = app->chaserSlideX;
    int endedAt = -1;
    for (int i = 2; i <= 70; ++i) {
        Update();
        EXPECT_EQ(app->slideX, slideX);
        EXPECT_EQ(app->chaserSlideX, chaserSlide);
        if (endedAt < 0 && app->gameEnded > 0) endedAt = i;
    }
    EXPECT_EQ(endedAt, 60);
}

TEST_F(Gameplay, NoStepOnceTheGameIsEndingOrEnded) {
    struct Case {
        const char *name;
        int endTimer, gameEnded;
    };
    const Case cases[] = {{"ending", 1, 0}, {"ended by quit", 0, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QuietBoard(3, 3);
        Number(4, 3) = 9;  // a token next to the player
        app->endTimer = c.endTimer;
        app->gameEnded = c.gameEnded;
        const int score = app->score;
        // Key step and pointer step toward the token.
        KeyDown(KeyCode::Right);
        MouseDown(CellX(4), CellY(3));
        Update(40);
        KeyUp(KeyCode::Right);
        MouseUp(CellX(4), CellY(3));
        Update();
        EXPECT_EQ(PlayerX(), 3);
        EXPECT_EQ(app->score, score);
    }
}

// ---------------------------------------------------------------------------
// Pointer and key steps
// ---------------------------------------------------------------------------

TEST_F(Gameplay, PointerStepsOnFreeNeighboursAndDragsAlongFreeCells) {
    QuietBoard(3, 3);
    Block(3, 2) = 5;  // above is blocked
    // A blocked neighbour and a cell two away do nothing.
    MouseDown(CellX(3), CellY(2));
    Update(3);
    MouseMove(CellX(5), CellY(3));
    Update(3);
    EXPECT_EQ(PlayerX(), 3);
    EXPECT_EQ(PlayerY(), 3);
    // Dragging onto the right neighbour steps, and on along the row.
    MouseMove(CellX(4), CellY(3));
    Update(12);
    EXPECT_EQ(PlayerX(), 4);
    MouseMove(CellX(5), CellY(3));
    Update(12);
    EXPECT_EQ(PlayerX(), 5);
    MouseMove(CellX(5), CellY(4));
    Update(12);
    EXPECT_EQ(PlayerY(), 4);
    MouseUp(CellX(5), CellY(4));
    Update();
    // Released: hovering does not step.
    MouseMove(CellX(5), CellY(5));
    Update(12);
    EXPECT_EQ(PlayerY(), 4);
}

TEST_F(Gameplay, KeyAndPointerStepNeverBothInOneUpdate) {
    QuietBoard(3, 3);
    const int steps = rec()->CountSounds(99);
    MouseDown(CellX(4), CellY(3));
    KeyDown(KeyCode::Up);
    Update();
    EXPECT_EQ(rec()->CountSounds(99), steps + 1);
    EXPECT_EQ(PlayerX(), 4);  // the pointer step comes first
    EXPECT_EQ(PlayerY(), 3);
    KeyUp(KeyCode::Up);
    MouseUp(CellX(4), CellY(3));
}

TEST_F(Gameplay, HeldDirectionRepeatsEveryThirtyUpdates) {
    QuietBoard(0, 3);
    KeyDown(KeyCode::Right);
    std::vector<int> stepUpdates;
    int lastX = PlayerX();
    for (int i = 1; i <= 100; ++i) {
        Update();
        if (PlayerX() != lastX) stepUpdates.push_back(i);
        lastX = PlayerX();
    }
    KeyUp(KeyCode::Right);
    EXPECT_EQ(stepUpdates, (std::vector<int>{1, 31, 61, 91}));
    // Released and pressed again: the next step comes at once.
    Update(11);
    StepKey(KeyCode::Right);
    EXPECT_EQ(PlayerX(), 5);
}

// ---------------------------------------------------------------------------
// Replay from the start-up seed
// ---------------------------------------------------------------------------

std::uint32_t BoardHash(const Array<int> &board) {
    std::uint32_t h = 2166136261u;
    for (int c = 0; c < 64; ++c) {
        for (int k = 0; k < 3; ++k) {
            h ^= static_cast<std::uint32_t>(board[c * 10 + k]);
            h *= 16777619u;
        }
    }
    return h;
}

TEST_F(Gameplay, ReplayFromTheStartUpSeed) {
    ToTitle();
    // Nothing before the first game draws from the generator.
    ASSERT_EQ(bb_random_Seed, 1234);
    StartGameWithEnter();

    // The first board step (run by starting the game), seed 1234:
    //   p_Rand(0, 4): seed 1234 * 1664525 + 1013904223 = 3067928073 (mod 2^32);
    //     >> 8 = 11984094, / 2^24 = 0.71431; 4.99 * 0.71431 = 3.56 -> 3, not 1,
    //     so no extra token attempt.
    //   The board had no tokens, so attempts until two land:
    //     x: seed 889114580, u = 0.20701, 7.99 u = 1.65 -> 1
    //     y: seed 3219257635, u = 0.74954, 7.99 u = 5.99 -> 5
    //     (1, 5) is 3 + 1 = 4 cells from (4, 4): a token of 9.
    //     x: seed 1486326822, u = 0.34606 -> 2.77 -> 2
    //     y: seed 3450746189, u = 0.80344 -> 6.42 -> 6
    //     (2, 6) is 2 + 2 = 4 cells away: the second token.
    EXPECT_EQ(bb_random_Seed, 3450746189u - 4294967296LL);
    EXPECT_EQ(Number(1, 5), 9);
    EXPECT_EQ(Number(2, 6), 9);
    EXPECT_EQ(Tokens(), 2);
    EXPECT_EQ(Block(4, 4), 8);

    // Right to (5, 4):
    //   ageing: (4, 4) block 7, both tokens 8 (numberCount 2);
    //   p_Rand(0, 4): seed 1275680328, u = 0.29702, 4.99 u = 1.48 -> 1: one
    //     extra attempt: x seed 1045497095 u = 0.24342 -> 1.94 -> 1,
    //     y seed 742129338 u = 0.17279 -> 1.38 -> 1: (1, 1) is 4 + 3 = 7
    //     cells from (5, 4): a third token.
    StepKey(KeyCode::Right);
    EXPECT_EQ(Block(4, 4), 7);
    EXPECT_EQ(Block(5, 4), 8);
    EXPECT_EQ(Number(1, 5), 8);
    EXPECT_EQ(Number(2, 6), 8);
    EXPECT_EQ(Number(1, 1), 9);
    EXPECT_EQ(Tokens(), 3);
    EXPECT_EQ(app->numberCount, 3);
    EXPECT_EQ(bb_random_Seed, 742129338);

    // The rest is a regression record: a fixed walk that keeps room to move
    // and heads for the richest token, up to 140 steps, through walls and
    // the chaser's arrival.
    const int keys[] = {KeyCode::Up, KeyCode::Left, KeyCode::Down, KeyCode::Right};
    const int dx[] = {0, -1, 0, 1}, dy[] = {-1, 0, 1, 0};
    std::string moves;
    for (int step = 0; step < 140 && app->endTimer == 0; ++step) {
        int best = -1, bestScore = -1000;
        for (int d = 0; d < 4; ++d) {
            const int nx = PlayerX() + dx[d], ny = PlayerY() + dy[d];
            if (nx < 0 || nx > 7 || ny < 0 || ny > 7) continue;
            if (Block(nx, ny) >= 1 || Wall(nx, ny) >= 1) continue;
            // Room to move on after this step (its walls and chaser
            // included, tried on the real board step and undone) counts
            // most, then the best token nearby.
            int value = 100 * AreaAfterStep(nx, ny);
            int lure = 0;
            for (int y = 0; y < 8; ++y) {
                for (int x = 0; x < 8; ++x) {
                    if (Number(x, y) > 0) {
                        lure =
                            std::max(lure, Number(x, y) * 4 - std::abs(x - nx) - std::abs(y - ny));
                    }
                }
            }
            value += lure;
            if (value > bestScore) bestScore = value, best = d;
        }
        if (best < 0) break;
        moves += "ULDR"[best];
        StepKey(keys[best]);
    }
    Update(70);
    // Pinned from this build.
    EXPECT_EQ(moves,
              "ULLDDLUUURUULDLDDDDRURDDLLDLUUUUUURRRRDLLLLDDDDDRUUUURRDDRUURRRUULLLLLLDDDRDRURUURUU"
              "RDDDDDR"
              "DDLLLLURRRURUUULLLDLDLDLLUU");
    EXPECT_EQ(app->score, 70);
    EXPECT_EQ(app->chaserX, -1);
    EXPECT_EQ(app->chaserY, 2);
    EXPECT_EQ(BoardHash(app->board), 495944019u);
    EXPECT_EQ(PlayerX(), 0);
    EXPECT_EQ(PlayerY(), 3);
    EXPECT_EQ(app->endTimer, 71);  // the walk ended the game 70 updates ago
    EXPECT_EQ(app->gameEnded, 1);
}

}  // namespace
