// Badges of the real game object: the text table, the pop-up strip's
// timing and positions in the draw list, the badges box and the frame
// driver's call of the strip in every update.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/support/game_fixture.h"

namespace {

struct Record {
    float op, x, y, a, b, frame, alpha, red, green, blue;
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

std::vector<Record> Rects(const std::vector<Record> &records) {
    std::vector<Record> out;
    for (const Record &r : records) {
        if (r.op == kDrawOpRect) out.push_back(r);
    }
    return out;
}

// Characters spelled by the glyph records (frame f is character f + 32).
std::string Glyphs(const std::vector<Record> &records, int fontSlot) {
    std::string s;
    for (const Record &r : records) {
        if (r.op == static_cast<float>(fontSlot)) s += static_cast<char>(r.frame + 32);
    }
    return s;
}

std::string Utf8(const String &s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i) out += static_cast<char>(s[i]);
    return out;
}

class Badges : public GameFixture {
protected:
    // One update of the strip on an empty draw list.
    std::vector<Record> ShowOnce() {
        app->p_CLS2D(kAbsentF, 0, 0, 0);
        app->p_ShowBadges();
        return Records(app);
    }
};

TEST_F(Badges, TextTable) {
    EXPECT_EQ(Utf8(app->p_BadgeID(0)), "Test Badge|This is a Test Badge which has no purpose.");
    EXPECT_EQ(Utf8(app->p_BadgeName(0)), "Test Badge");
    EXPECT_EQ(Utf8(app->p_BadgeDetail(0)), "This is a Test Badge which has no purpose.");
    for (int n : {1, 63, 64, 255, -1}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(app->p_BadgeID(n).Length(), 0);
        EXPECT_EQ(app->p_BadgeName(n).Length(), 0);
        EXPECT_EQ(app->p_BadgeDetail(n).Length(), 0);
    }
}

TEST_F(Badges, PopupSlidesInStaysAndSlidesOut) {
    const float H = jscrh;
    app->badgePopupBadge[0] = 0;
    app->badgePopupTimer[0] = 1;

    struct Expect {
        int t;
        float x;
    };
    const std::vector<Expect> expected = {{2, -128}, {3, -112},  {9, -16},    {10, 0},    {100, 0},
                                          {230, 0},  {231, -16}, {240, -160}, {241, -176}};
    size_t next = 0;
    for (int t = 2; t <= 241; ++t) {
        const std::vector<Record> records = ShowOnce();
        ASSERT_EQ(app->badgePopupTimer[0], t == 241 ? 0 : t);
        if (next < expected.size() && expected[next].t == t) {
            SCOPED_TRACE("t = " + std::to_string(t));
            const float x = expected[next++].x;
            const std::vector<Record> rects = Rects(records);
            ASSERT_EQ(rects.size(), 1u);
            EXPECT_FLOAT_EQ(rects[0].x, x);
            EXPECT_FLOAT_EQ(rects[0].y, H - 34);
            EXPECT_EQ(rects[0].a, 160);
            EXPECT_EQ(rects[0].b, 32);
            EXPECT_EQ(rects[0].blue, 80);
            EXPECT_FLOAT_EQ(rects[0].alpha, 0.8f);
            // The name starts 16 pixels in, the picture sits at the right end
            // at half size.
            EXPECT_EQ(Glyphs(records, app->fontSlot), "TestBadge");
            const Record *picture = nullptr;
            for (const Record &r : records) {
                if (r.op == 80) picture = &r;
            }
            ASSERT_NE(picture, nullptr);
            EXPECT_FLOAT_EQ(picture->x, x + 144);
            EXPECT_FLOAT_EQ(picture->y, H - 34 + 16);
            EXPECT_EQ(picture->frame, 0);
            EXPECT_EQ(picture->a, 0.5f);
        }
    }
    EXPECT_EQ(next, expected.size());
    // Idle: nothing more is drawn.
    EXPECT_TRUE(ShowOnce().empty());
    EXPECT_EQ(app->badgePopupTimer[0], 0);
}

TEST_F(Badges, SlotsStackUpwardsAndBadgesPastThePictureSheetShowNoPicture) {
    const float H = jscrh;
    for (int s = 0; s < kBadgePopupSlots; ++s) {
        app->badgePopupBadge[s] = s == 12 ? 64 : 1;
        app->badgePopupTimer[s] = 50;
    }
    const std::vector<Record> records = ShowOnce();
    const std::vector<Record> rects = Rects(records);
    ASSERT_EQ(rects.size(), 13u);  // slots 13 and 14 are never used
    for (int s = 0; s < 13; ++s) EXPECT_FLOAT_EQ(rects[s].y, H - 34 * (s + 1)) << "slot " << s;
    EXPECT_FLOAT_EQ(rects[12].y, H - 442);
    EXPECT_EQ(app->badgePopupTimer[13], 50);
    // Badge 1 has a picture but no name; badge 64 has neither.
    int pictures = 0;
    for (const Record &r : records) pictures += r.op == 80;
    EXPECT_EQ(pictures, 12);
    EXPECT_EQ(Glyphs(records, app->fontSlot), "");
}

TEST_F(Badges, IdleStripDrawsNothingButResetsTheDrawState) {
    app->p_CLS2D(kAbsentF, 0, 0, 0);
    app->p_SetCol(1, 2, 3, 0.25f);
    app->p_SetSize(3, 4);
    app->p_ShowBadges();
    EXPECT_EQ(app->drawListLength, 0);
    EXPECT_EQ(app->drawRed, 255);
    EXPECT_EQ(app->drawAlpha, 1);
    EXPECT_EQ(app->drawScaleX, 1);
    EXPECT_EQ(app->drawScaleY, 1);
}

TEST_F(Badges, BoxIsAnOrangePanelWithADarkRedPanelInside) {
    const float W = jscrw, H = jscrh;
    app->p_CLS2D(kAbsentF, 0, 0, 0);
    app->p_BadgesBox();
    const std::vector<Record> rects = Rects(Records(app));
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_FLOAT_EQ(rects[0].x, 0.1f * W);
    EXPECT_EQ(rects[0].y, -1);
    EXPECT_FLOAT_EQ(rects[0].a, 0.8f * W);
    EXPECT_EQ(rects[0].b, H + 2);
    EXPECT_EQ(rects[0].red, 255);
    EXPECT_EQ(rects[0].green, 125);
    EXPECT_FLOAT_EQ(rects[0].alpha, 0.8f);
    EXPECT_FLOAT_EQ(rects[1].x, 0.12f * W);
    EXPECT_FLOAT_EQ(rects[1].a, 0.76f * W);
    EXPECT_EQ(rects[1].red, 100);
    EXPECT_EQ(rects[1].green, 0);
    EXPECT_EQ(app->drawGreen, 255);
    EXPECT_EQ(app->drawAlpha, 1);
}

TEST_F(Badges, FrameDriverRunsTheStripEveryUpdateOnEveryScreen) {
    FinishLoading();
    app->badgePopupBadge[3] = 0;
    app->badgePopupTimer[3] = 1;
    Update(100);
    EXPECT_EQ(app->badgePopupTimer[3], 101);
    // Its panel lands on top of the title menu's drawing.
    const std::vector<Record> rects = Rects(Records(app));
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects.back().a, 160);
    EXPECT_FLOAT_EQ(rects.back().y, jscrh - 34 * 4);
    Update(140);
    EXPECT_EQ(app->badgePopupTimer[3], 0);
}

}  // namespace
