// The credits box of the real game object: the test-card grid, its colour
// ramps and grey bar, the opening animation, the scrolling text, the dials,
// the closing press, and very wide and very tall windows.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graphics/device.h"
#include "input/device.h"
#include "tests/game/support/game_fixture.h"

namespace {

struct Record {
    float op, x, y, a, b, frame, alpha, red, green, blue;
    bool IsRect() const { return op == kDrawOpRect; }
};

std::vector<Record> Records(c_MyApp *app) {
    std::vector<Record> out;
    const Array<float> &l = app->drawList;
    for (int at = 0; at + kDrawRecordFloats <= app->drawListLength; at += kDrawRecordFloats) {
        out.push_back({l[at], l[at + 1], l[at + 2], l[at + 4], l[at + 5], l[at + 6], l[at + 7],
                       l[at + 10], l[at + 11], l[at + 12]});
    }
    return out;
}

bool Near(float a, float b) {
    return std::fabs(a - b) < 1e-3f;
}

// One tile of the grid: its own rectangle and the rectangles drawn inside it.
struct Tile {
    Record rect;
    std::vector<Record> insets;
};

// The box's tiles in drawing order (column by column, each top to bottom).
// A tile starts with a square of the tile size plus one pixel.
std::vector<Tile> Tiles(const std::vector<Record> &records, float z) {
    std::vector<Tile> tiles;
    for (const Record &r : records) {
        if (!r.IsRect()) break;  // the centre picture follows the tiles
        if (Near(r.a, z + 1) && Near(r.b, z + 1)) {
            tiles.push_back({r, {}});
        } else if (!tiles.empty()) {
            tiles.back().insets.push_back(r);
        }
    }
    return tiles;
}

struct Rgb {
    float r, g, b;
};

void ExpectColour(const Record &r, Rgb want) {
    EXPECT_EQ(r.red, want.r);
    EXPECT_EQ(r.green, want.g);
    EXPECT_EQ(r.blue, want.b);
}

// Characters spelled by glyph records (frame f is character f + 32).
std::string Glyphs(const std::vector<Record> &records, int fontSlot) {
    std::string s;
    for (const Record &r : records) {
        if (r.op == static_cast<float>(fontSlot)) s += static_cast<char>(r.frame + 32);
    }
    return s;
}

std::vector<Record> Near(const std::vector<Record> &records, float x, float y, float dx, float dy) {
    std::vector<Record> out;
    for (const Record &r : records) {
        if (std::fabs(r.x - x) <= dx && std::fabs(r.y - y) <= dy) out.push_back(r);
    }
    return out;
}

class Credits : public GameFixture {
protected:
    // One call of the box at the given slide, on an empty draw list.
    std::vector<Record> Draw(int slide) {
        app->creditsOpen = 1;
        app->creditsSlide = slide;
        app->p_CLS2D(kAbsentF, 0, 0, 0);
        app->p_CreditBox();
        return Records(app);
    }
};

TEST_F(Credits, GridAt640x480Is13By10TilesOfAGreyField) {
    ASSERT_EQ(jscrw, 640);
    ASSERT_EQ(jscrh, 480);
    const float s = 640.0f / 12;
    const std::vector<Tile> tiles = Tiles(Draw(30), s);
    ASSERT_EQ(tiles.size(), 130u);
    for (int i = 0; i <= 12; ++i) {
        for (int j = 0; j <= 9; ++j) {
            SCOPED_TRACE("tile " + std::to_string(i) + "," + std::to_string(j));
            const Tile &t = tiles[i * 10 + j];
            EXPECT_NEAR(t.rect.x, s * i - s / 2, 1e-3);
            EXPECT_NEAR(t.rect.y, s * j - s / 2, 1e-3);
            const bool rim = i == 0 || i == 12 || j == 0 || j == 9;
            const bool corner = (i == 0 || i == 12) && (j == 0 || j == 9);
            ExpectColour(t.rect, rim ? Rgb{0, 0, 0} : Rgb{255, 255, 255});
            EXPECT_EQ(t.insets.size(), corner ? 0u : 1u);
            if (!rim) ExpectColour(t.insets[0], {128, 128, 128});
        }
    }

    // An inner tile's grey field, and the rim strips inset from the outside.
    const Tile &inner = tiles[1 * 10 + 1];
    EXPECT_NEAR(inner.insets[0].x, inner.rect.x + 2, 1e-3);
    EXPECT_NEAR(inner.insets[0].a, s - 4, 1e-3);
    const Tile &top = tiles[6 * 10 + 0];
    EXPECT_NEAR(top.insets[0].x, top.rect.x + 8, 1e-3);
    EXPECT_NEAR(top.insets[0].y, top.rect.y, 1e-3);
    EXPECT_NEAR(top.insets[0].a, s - 16, 1e-3);
    EXPECT_NEAR(top.insets[0].b, s, 1e-3);
    const Tile &left = tiles[0 * 10 + 4];
    EXPECT_NEAR(left.insets[0].x, left.rect.x, 1e-3);
    EXPECT_NEAR(left.insets[0].y, left.rect.y + 8, 1e-3);

    // Colour ramps: red rises and green falls along the top, green falls and
    // blue rises down the left, the right runs red to blue, the bottom grey.
    ExpectColour(tiles[1 * 10 + 0].insets[0], {0, 255, 0});
    ExpectColour(tiles[6 * 10 + 0].insets[0], {255, 255, 0});
    ExpectColour(tiles[3 * 10 + 0].insets[0], {102, 255, 0});  // 512 / 10 * 2
    ExpectColour(tiles[11 * 10 + 0].insets[0], {255, 0, 0});
    ExpectColour(tiles[0 * 10 + 1].insets[0], {0, 255, 0});
    ExpectColour(tiles[0 * 10 + 3].insets[0], {0, 255, 146});  // 512 / 7 * 2
    ExpectColour(tiles[0 * 10 + 8].insets[0], {0, 0, 255});
    ExpectColour(tiles[12 * 10 + 6].insets[0], {146, 0, 255});  // 512 - 512 / 7 * 5
    ExpectColour(tiles[5 * 10 + 9].insets[0], {102, 102, 102});
    ExpectColour(tiles[11 * 10 + 9].insets[0], {255, 255, 255});

    // In the row above the bottom, the grey fields of columns 4 to 9 join
    // into one bar; columns 3 and 10 keep their own.
    for (int i = 4; i < 9; ++i) {
        const Record &a = tiles[i * 10 + 8].insets[0];
        const Record &b = tiles[(i + 1) * 10 + 8].insets[0];
        EXPECT_GE(a.x + a.a, b.x) << "gap after column " << i;
    }
    const Record &bar4 = tiles[4 * 10 + 8].insets[0];
    const Record &bar9 = tiles[9 * 10 + 8].insets[0];
    EXPECT_NEAR(bar4.x, tiles[4 * 10 + 8].rect.x - 6, 1e-3);
    EXPECT_NEAR(bar4.a, s + 24, 1e-3);
    EXPECT_NEAR(bar9.a, s + 4, 1e-3);
    EXPECT_NEAR(tiles[3 * 10 + 8].insets[0].a, s - 4, 1e-3);
    EXPECT_NEAR(tiles[10 * 10 + 8].insets[0].a, s - 4, 1e-3);
}

TEST_F(Credits, DialsShowWindowSizeVirtualSizeAndRates) {
    const float s = 640.0f / 12;
    app->updateFpsSmoothed = 59;
    app->renderFpsSmoothed = 31;
    const std::vector<Record> records = Draw(30);
    const float left = 1.5f * s, right = 10.5f * s, top = 1.5f * s, bottom = 7.5f * s;

    int ovals = 0;
    for (const Record &r : records) ovals += r.op == kDrawOpOval;
    EXPECT_EQ(ovals, 8);

    const int font = app->fontSlot;
    EXPECT_EQ(Glyphs(Near(records, left, top, 40, 30), font), "64048059");
    EXPECT_EQ(Glyphs(Near(records, right, top, 40, 30), font), "64048031");
    const std::vector<Record> buttons = Near(records, left, bottom, 1, 1);
    ASSERT_FALSE(buttons.empty());
    EXPECT_EQ(buttons.back().op, 95);
    EXPECT_EQ(buttons.back().frame, 12);
    const std::vector<Record> brand = Near(records, right, bottom, 1, 1);
    ASSERT_FALSE(brand.empty());
    EXPECT_EQ(brand.back().op, 93);
    EXPECT_FLOAT_EQ(brand.back().a, 0.3f);
}

TEST_F(Credits, OpeningStartsInvisibleAndFarOutAndHalfwayHasHalfSizeTiles) {
    const float s = 640.0f / 12;
    struct Case {
        int slide;
        float z, c, alpha;
    };
    for (const Case &k : {Case{0, 0, 30, 0}, Case{10, s / 2, 20, 1.0f / 3}, Case{30, s, 0, 1}}) {
        SCOPED_TRACE("slide " + std::to_string(k.slide));
        const std::vector<Record> records = Draw(k.slide);
        const std::vector<Tile> tiles = Tiles(records, k.z);
        ASSERT_EQ(tiles.size(), 130u);
        // Corner tiles: pushed out by c times the square of their distance.
        EXPECT_NEAR(tiles[0].rect.x, k.c * -49 - k.z / 2, 1e-3);
        EXPECT_NEAR(tiles[0].rect.y, k.c * -25 - k.z / 2, 1e-3);
        EXPECT_NEAR(tiles[129].rect.x, 12 * s + k.c * 36 - k.z / 2, 1e-3);
        EXPECT_NEAR(tiles[129].rect.y, 9 * s + k.c * 25 - k.z / 2, 1e-3);
        for (const Record &r : records) {
            if (r.op == app->fontSlot) continue;  // the text fades by its distance
            ASSERT_NEAR(r.alpha, k.alpha, 1e-6);
        }
    }
}

TEST_F(Credits, TextScrollsALineEvery54CallsAndNeverShowsTheLastLine) {
    const float H = jscrh;
    app->creditsScroll = 0;
    app->creditsLine = 0;
    for (int i = 0; i < 53; ++i) Draw(30);
    EXPECT_EQ(app->creditsLine, 0);
    EXPECT_NEAR(app->creditsScroll, -15.9f, 1e-3);
    const std::vector<Record> records = Draw(30);
    EXPECT_EQ(app->creditsLine, 1);
    EXPECT_NEAR(app->creditsScroll, -0.2f, 1e-3);

    // Line 1 at the centre, opaque; lines further out fade.
    const float y = H / 2 + app->creditsScroll;
    const std::vector<Record> centre = Near(records, 320 + 24, y + 1, 60, 2);
    EXPECT_EQ(Glyphs(centre, app->fontSlot), "AGameby");
    for (const Record &r : centre) EXPECT_EQ(r.alpha, 1);

    // Index modulo 38: after line 37 comes line 0, and "End" never shows.
    for (int line = 30; line < 80; ++line) {
        app->creditsLine = line;
        app->creditsScroll = -8;
        const std::string text = Glyphs(Draw(30), app->fontSlot);
        EXPECT_EQ(text.find("End"), std::string::npos) << "line " << line;
    }
}

TEST_F(Credits, PressClosesTheBoxUnlessAlreadyConsumed) {
    app->pointerDown = 1;
    app->pressConsumed = 1;
    Draw(30);
    EXPECT_EQ(app->creditsOpen, 1);

    const int cursor = app->sfxCursor;
    app->pressConsumed = 0;
    Draw(30);
    EXPECT_EQ(app->creditsOpen, 0);
    EXPECT_EQ(app->pressConsumed, 1);
    EXPECT_EQ(app->sfxCursor, (cursor + 1) % 24);  // the close click played
}

TEST_F(Credits, BrandLogoOpensTheBoxAndAPressOrEscapeClosesIt) {
    FinishLoading();
    Update(40);  // the title menu has slid in
    ASSERT_EQ(app->menuSlide, 0);
    const float logoX = jscrw - 70, logoY = jscrh - 40;

    // The press that opens the box is consumed by the menu and does not
    // close it in the same update.
    MouseMove(logoX, logoY);
    MouseDown(logoX, logoY);
    Update();
    EXPECT_EQ(app->creditsOpen, 1);
    Update(5);
    EXPECT_EQ(app->creditsOpen, 1);
    MouseUp(logoX, logoY);
    Update(40);
    EXPECT_EQ(app->creditsSlide, 30);

    MouseMove(100, 100);
    MouseDown(100, 100);
    Update();
    EXPECT_EQ(app->creditsOpen, 0);
    MouseUp(100, 100);
    // Still drawn while it slides closed.
    Update(28);
    EXPECT_EQ(app->creditsSlide, 1);
    Update();
    EXPECT_EQ(app->creditsSlide, 0);

    // Open again, close with Escape.
    MouseMove(logoX, logoY);
    MouseDown(logoX, logoY);
    Update();
    MouseUp(logoX, logoY);
    Update(3);
    ASSERT_EQ(app->creditsOpen, 1);
    KeyDown(KeyCode::Escape);
    Update();
    KeyUp(KeyCode::Escape);
    EXPECT_EQ(app->creditsOpen, 0);
}

// Windows far wider or taller than 4:3 (each at a size of the same shape
// that fits the test screen): the grid keeps its layout and the colour ramps
// stay within 0 to 255 where a side has fewer than three tiles.
TEST_F(Credits, VeryWideAndVeryTallWindowsKeepValidRamps) {
    struct Case {
        const char *name;
        int width, height;  // same shape as the named window
        float W, H;         // its virtual screen
        int cols, rows;
    };
    const std::vector<Case> cases = {
        {"1600x320", 800, 160, 640, 128, 12, 2},
        {"1920x300", 1152, 180, 640, 100, 12, 1},
        {"300x1500", 160, 800, 96, 480, 2, 12},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        ASSERT_TRUE(ResizeWindow(k.width, k.height));
        Render();
        ASSERT_NEAR(jscrw, k.W, 1e-3);
        ASSERT_NEAR(jscrh, k.H, 1e-3);
        const float s = std::fmax(k.W / 12, k.H / 12);
        const std::vector<Record> records = Draw(30);
        for (const Record &r : records) {
            for (float v : {r.x, r.y, r.a, r.b, r.alpha}) ASSERT_TRUE(std::isfinite(v));
            for (float c : {r.red, r.green, r.blue}) {
                ASSERT_GE(c, 0);
                ASSERT_LE(c, 255);
            }
        }
        const std::vector<Tile> tiles = Tiles(records, s);
        const int rows = k.rows + 1;
        ASSERT_EQ(tiles.size(), static_cast<size_t>((k.cols + 1) * rows));
        auto tile = [&](int i, int j) -> const Tile & { return tiles[i * rows + j]; };

        if (k.rows == 2) {
            // One side tile in each of the left and right columns.
            ExpectColour(tile(0, 1).insets.back(), {0, 255, 0});
            ExpectColour(tile(12, 1).insets.back(), {255, 0, 0});
            ExpectColour(tile(6, 0).insets.back(), {255, 255, 0});
        } else if (k.rows == 1) {
            // Only a top and a bottom row.
            ExpectColour(tile(6, 0).insets.back(), {255, 255, 0});
            ExpectColour(tile(6, 1).insets.back(), {127, 127, 127});
            EXPECT_TRUE(tile(0, 0).insets.empty());
            EXPECT_TRUE(tile(0, 1).insets.empty());
        } else {
            // Columns 0 to 2: one top and one bottom tile between the corners.
            ExpectColour(tile(1, 0).insets.back(), {0, 255, 0});
            ExpectColour(tile(1, 12).insets.back(), {0, 0, 0});
            ExpectColour(tile(0, 6).insets.back(), {0, 255, 255});
        }
    }
}

}  // namespace
