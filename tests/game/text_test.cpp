// Bitmap text layout and the string helpers p_rstr, p_MyNth and p_Rand.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/game/support/game_fixture.h"

namespace {

using TextTest = GameFixture;

std::string Text(const String &s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i) out += static_cast<char>(s[i]);
    return out;
}

String Make(const std::u16string &s) {
    return String(s.data(), static_cast<int>(s.size()));
}

// One drawn character: position and frame.
struct Glyph {
    float x, y;
    int frame;
    bool operator==(const Glyph &o) const { return x == o.x && y == o.y && frame == o.frame; }
};

std::ostream &operator<<(std::ostream &os, const Glyph &g) {
    return os << "(" << g.x << "," << g.y << " frame " << g.frame << ")";
}

std::vector<Glyph> Glyphs(c_MyApp *app) {
    std::vector<Glyph> out;
    for (int at = 0; at < app->drawListLength; at += 15) {
        EXPECT_EQ(app->drawList[at], static_cast<float>(app->fontSlot));
        out.push_back({app->drawList[at + 1], app->drawList[at + 2],
                       static_cast<int>(app->drawList[at + 6])});
    }
    return out;
}

struct LayoutCase {
    const char *name;
    std::u16string text;
    float alignX, alignY;
    std::vector<Glyph> glyphs;
};

TEST_F(TextTest, LayoutOfCharactersLinesAndAlignment) {
    // The font's advances are 7 across and 10 down; at (100, 50).
    const int A = 'A' - 32, B = 'B' - 32, b = 'b' - 32, a = 'a' - 32;
    const std::vector<LayoutCase> cases = {
        {"empty", u"", 0, 1, {}},
        {"line break", u"A\\nB", 0, 1, {{100, 50, A}, {100, 60, B}}},
        {"space advances", u"a b", 0, 1, {{100, 50, a}, {114, 50, b}}},
        {"code 0 neither draws nor advances",
         std::u16string(u"a") + char16_t(0) + u"b",
         0,
         1,
         {{100, 50, a}, {107, 50, b}}},
        {"code 160 advances",
         std::u16string(u"a") + char16_t(160) + u"b",
         0,
         1,
         {{100, 50, a}, {114, 50, b}}},
        {"code 159 is the last glyph", std::u16string(1, char16_t(159)), 0, 1, {{100, 50, 127}}},
        {"final backslash", u"a\\", 0, 1, {{100, 50, a}, {107, 50, 60}}},
        {"other backslash", u"\\x", 0, 1, {{100, 50, 60}, {107, 50, 'x' - 32}}},
        {"centred", u"AAA", 1, 1, {{93, 50, A}, {100, 50, A}, {107, 50, A}}},
        {"right", u"AB", 2, 1, {{93, 50, A}, {100, 50, B}}},
        {"hangs below", u"A", 0, 0, {{100, 55, A}}},
        {"raised", u"A", 0, 2, {{100, 45, A}}},
        // Aligned once from the whole length, escapes included.
        {"centred lines", u"AB\\nA", 1, 1, {{86, 50, A}, {93, 50, B}, {86, 60, A}}},
    };
    for (const LayoutCase &c : cases) {
        SCOPED_TRACE(c.name);
        app->p_CLS2D(0, 0, 0, 1);
        app->p_Text(100, 50, Make(c.text), c.alignX, c.alignY);
        EXPECT_EQ(Glyphs(app), c.glyphs);
    }
}

TEST_F(TextTest, ScaleAndColourApplyToEveryCharacter) {
    app->p_CLS2D(0, 0, 0, 1);
    app->p_SetSize(2, 3);
    app->p_SetCol(1, 2, 3, 0.5f);
    app->p_Text(0, 0, String("ab\\nc"), 0, 1);
    const std::vector<Glyph> expected = {{0, 0, 'a' - 32}, {14, 0, 'b' - 32}, {0, 30, 'c' - 32}};
    EXPECT_EQ(Glyphs(app), expected);
    for (int at = 0; at < app->drawListLength; at += 15) {
        EXPECT_EQ(app->drawList[at + 4], 2.0f);
        EXPECT_EQ(app->drawList[at + 5], 3.0f);
        EXPECT_EQ(app->drawList[at + 7], 0.5f);
        EXPECT_EQ(app->drawList[at + 10], 1.0f);
    }
}

TEST_F(TextTest, RotatedTextRunsDownTheScreen) {
    app->p_CLS2D(0, 0, 0, 1);
    app->drawRotation = -90;  // advance direction (0, 1)
    app->p_Text(100, 100, String("ab"), 0, 1);
    const std::vector<Glyph> expected = {{100, 100, 'a' - 32}, {100, 107, 'b' - 32}};
    EXPECT_EQ(Glyphs(app), expected);
}

TEST_F(TextTest, RightAlignedNumbers) {
    struct Case {
        int value, width;
        const char *pad, *expected;
    };
    const Case cases[] = {
        {5, 3, "0", "005"},    {12345, 3, "0", "345"},
        {7, 0, " ", " 7"},     {-4, 4, "0", "00-4"},
        {42, 1, "x", "2"},     {42, -1, "x", "42"},
        {42, -1, "ab", "b42"}, {3, 2, "", "3"},
        {0, 5, " ", "    0"},  {-2147483647 - 1, -2147483647 - 1, "0", ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Text(app->p_rstr(c.value, c.width, String(c.pad))), c.expected)
            << c.value << " width " << c.width << " pad '" << c.pad << "'";
    }
}

TEST_F(TextTest, OrdinalOfTheScoreInTheBestTable) {
    const int best[10] = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
    app->gameMode = 2;
    for (int i = 0; i < 10; ++i) app->scoreTable[10 + i] = best[i];
    const std::pair<int, const char *> cases[] = {
        {1000, "1st!"}, {900, "1st!"}, {899, "2nd"}, {800, "2nd"}, {700, "3rd"},
        {650, "4th"},   {500, "5th"},  {450, "6th"}, {300, "7th"}, {250, "8th"},
        {100, "9th"},   {50, "10th"},  {49, ""},     {-5, ""},
    };
    for (const auto &c : cases) {
        app->score = c.first;
        EXPECT_EQ(Text(app->p_MyNth()), c.second) << "score " << c.first;
    }
    // A table of zeros: a score of 0 is first.
    app->gameMode = 1;
    app->score = 0;
    EXPECT_EQ(Text(app->p_MyNth()), "1st!");
    // Modes without a table have no place.
    for (int mode : {0, -3, 16, 100}) {
        app->gameMode = mode;
        EXPECT_EQ(Text(app->p_MyNth()), "") << "mode " << mode;
    }
    app->gameMode = 15;
    EXPECT_EQ(Text(app->p_MyNth()), "1st!");
}

TEST_F(TextTest, RandomIntegersFromTheSharedSeed) {
    bb_random_Seed = 1234;
    app->p_Rand(0, 1);
    EXPECT_EQ(static_cast<unsigned>(bb_random_Seed), 3067928073u);
    app->p_Rand(0, 1);
    EXPECT_EQ(static_cast<unsigned>(bb_random_Seed), 889114580u);

    for (int i = 0; i < 1000; ++i) EXPECT_EQ(app->p_Rand(0, 0), 0);
    std::set<int> seen;
    for (int i = 0; i < 3000; ++i) {
        int v = app->p_Rand(1, 6);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 6);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 6u);
    // Values the generator gives: u = 11984094 / 2^24 from seed 1234.
    bb_random_Seed = 1234;
    EXPECT_EQ(app->p_Rand(0, 9), 7);  // floor(9.99 * 0.71431)
    bb_random_Seed = 1234;
    EXPECT_EQ(app->p_Rand(-10, -5), -6);  // floor(-10 + 5.99 * 0.71431)
}

}  // namespace
