// The draw list: record layouts and capacity, the draw state setters, the
// render's scale rule and virtual screen, blend codes and the pixels that
// reach the window.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/graphics.h"
#include "tests/game/support/game_fixture.h"

namespace {

using DrawListTest = GameFixture;

std::vector<float> Record(c_MyApp *app, int index) {
    std::vector<float> r(15);
    for (int i = 0; i < 15; ++i) r[i] = app->drawList[index * 15 + i];
    return r;
}

TEST_F(DrawListTest, RecordLayoutOfTheThreeKinds) {
    app->p_CLS2D(1, 2, 3, 0.5f);
    app->p_SetSize(2, 3);
    app->drawRotation = 45;
    app->p_SetCol(10, 20, 30, 0.25f);
    app->drawBlend = 3;
    // Elements 8, 9 and 14 are left as they were.
    for (int i = 0; i < 45; ++i) app->drawList[i] = 99.0f;

    app->p_DrawImg(7, 100, 50, 3);
    app->p_Rect(11, 12, 13, 14);
    app->p_Oval(21, 22, 23, 24);
    ASSERT_EQ(app->drawListLength, 45);
    const std::vector<std::vector<float>> expected = {
        {7, 100, 50, 45, 2, 3, 3, 0.25f, 99, 99, 10, 20, 30, 3, 99},
        {-3717, 11, 12, 45, 13, 14, 0, 0.25f, 99, 99, 10, 20, 30, 3, 99},
        {-3716, 21, 22, 45, 23, 24, 0, 0.25f, 99, 99, 10, 20, 30, 3, 99},
    };
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Record(app, i), expected[i]) << "record " << i;
}

TEST_F(DrawListTest, The2499thRecordIsKeptAndThe2500thDropped) {
    app->p_CLS2D(0, 0, 0, 1);
    for (int i = 0; i < 2498; ++i) app->p_Rect(0, 0, 1, 1);
    app->p_Oval(5, 6, 7, 8);
    EXPECT_EQ(app->drawListLength, 2499 * 15);
    EXPECT_EQ(app->drawList[2498 * 15], -3716.0f);
    app->p_DrawImg(1, 2, 3, 0);
    app->p_Rect(1, 2, 3, 4);
    EXPECT_EQ(app->drawListLength, 2499 * 15);
    EXPECT_EQ(app->drawList[2499 * 15], 0.0f);
    app->p_CLS2D(-3717, 0, 0, 0);
    EXPECT_EQ(app->drawListLength, 0);
}

TEST_F(DrawListTest, AbsentValuesKeepTheirDefaults) {
    app->p_SetSize(2, -3717);
    EXPECT_EQ(app->drawScaleX, 2.0f);
    EXPECT_EQ(app->drawScaleY, 2.0f);
    app->p_SetSize(2, -3716.5f);
    EXPECT_EQ(app->drawScaleY, -3716.5f);

    app->p_Alpha(0.3f);
    app->p_SetCol(10, 20, 30, -3717);
    EXPECT_EQ(app->drawAlpha, 0.3f);
    EXPECT_EQ(app->drawRed, 10.0f);
    app->p_SetCol(1, 2, 3, -3716);
    EXPECT_EQ(app->drawAlpha, -3716.0f);

    app->p_CLS2D(10, 20, 30, 0.5f);
    app->p_SetCol(1, 2, 3, 0.1f);
    app->p_Rect(0, 0, 1, 1);
    app->p_CLS2D(-3717, 0, 0, 0);
    EXPECT_EQ(app->clearRed, 10.0f);
    EXPECT_EQ(app->clearGreen, 20.0f);
    EXPECT_EQ(app->clearBlue, 30.0f);
    EXPECT_EQ(app->clearAlpha, 0.5f);
    EXPECT_EQ(app->drawListLength, 0);
    EXPECT_EQ(app->drawRed, 255.0f);
    EXPECT_EQ(app->drawAlpha, 1.0f);
    EXPECT_EQ(app->drawBlend, 1);
    EXPECT_EQ(app->drawScaleX, 1.0f);
    EXPECT_EQ(app->drawRotation, 0.0f);
}

struct ScaleCase {
    int width, height;
    float scale, virtualWidth, virtualHeight;
    int landscape;
};

TEST_F(DrawListTest, ScaleRuleAndVirtualScreen) {
    const ScaleCase cases[] = {
        {640, 480, 1.0f, 640, 480, 1},
        {1280, 720, 2.0f, 640, 360, 1},
        {480, 640, 640.0f / 480.0f, 360, 480, 0},
        {800, 480, 1.25f, 640, 384, 1},
    };
    for (const ScaleCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        ASSERT_TRUE(ResizeWindow(c.width, c.height));
        app->loadStage = 0;
        Render();
        EXPECT_FLOAT_EQ(app->scaleX, c.scale);
        EXPECT_FLOAT_EQ(app->scaleY, c.scale);
        EXPECT_FLOAT_EQ(jscrw, c.virtualWidth);
        EXPECT_FLOAT_EQ(jscrh, c.virtualHeight);
        EXPECT_EQ(app->landscape, c.landscape);
        // Any change of size restarts the loader, once.
        EXPECT_EQ(app->loadStage, c.width == 640 && c.height == 480 ? 0 : 1);
        EXPECT_EQ(app->deviceWidth, c.width);
        EXPECT_EQ(app->deviceHeight, c.height);
        app->loadStage = 0;
        Render();
        EXPECT_EQ(app->loadStage, 0);
        ASSERT_TRUE(ResizeWindow(640, 480));
        Render();
    }
}

TEST_F(DrawListTest, ARectangleLandsScaledInWindowPixels) {
    ASSERT_TRUE(ResizeWindow(1280, 720));
    Render();
    app->p_CLS2D(0, 0, 80, 1);
    app->p_SetCol(255, 0, 0, 1);
    app->p_Rect(100, 50, 10, 10);
    std::vector<unsigned char> px = RenderAndRead();
    int rgb[3];
    const int w = 1280;
    auto red = [&](int x, int y) {
        PixelAt(px, w, x, y, rgb);
        return rgb[0] == 255 && rgb[1] == 0 && rgb[2] == 0;
    };
    EXPECT_TRUE(red(200, 100));
    EXPECT_TRUE(red(219, 119));
    EXPECT_FALSE(red(199, 100));
    EXPECT_FALSE(red(220, 119));
    EXPECT_FALSE(red(200, 99));
    EXPECT_FALSE(red(200, 120));
    // Everything else shows the clear colour, edge to edge.
    PixelAt(px, w, 0, 0, rgb);
    EXPECT_EQ(rgb[2], 80);
    PixelAt(px, w, 1279, 719, rgb);
    EXPECT_EQ(rgb[2], 80);
}

TEST_F(DrawListTest, BlendCodeThreeIsAdditiveAnyOtherAlphaBlending) {
    struct Case {
        int blend;
        int red, blue;
    };
    // A half-red rectangle over a clear of blue 100.
    const Case cases[] = {{1, 128, 50}, {0, 128, 50}, {2, 128, 50}, {3, 128, 100}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.blend);
        app->p_CLS2D(0, 0, 100, 1);
        app->p_SetCol(255, 0, 0, 0.5f);
        app->drawBlend = c.blend;
        app->p_Rect(10, 10, 20, 20);
        std::vector<unsigned char> px = RenderAndRead();
        int rgb[3];
        PixelAt(px, 640, 20, 20, rgb);
        EXPECT_NEAR(rgb[0], c.red, 2);
        EXPECT_NEAR(rgb[2], c.blue, 2);
    }
}

TEST_F(DrawListTest, EveryRecordIsItsOwnDrawCall) {
    app->p_CLS2D(0, 0, 0, 1);
    for (int i = 0; i < 10; ++i) app->p_Rect(i * 10.0f, 0, 5, 5);
    Render();
    // The clear rectangle, then one call per record.
    EXPECT_EQ(graphics->DrawCalls(), 11);
}

TEST_F(DrawListTest, ReplayScalesImagesAndSkipsWhatCannotBeDrawn) {
    WritePng("gfx-hd.png", 128 * 4, 128 * 4);
    app->loadStage = 15;
    app->p_Loader();
    ASSERT_NE(static_cast<c_Image *>(app->images[1]), nullptr);
    app->p_CLS2D(0, 0, 0, 1);
    app->p_DrawImg(1, 100, 100, 0);           // drawn: 128 px frame at scale 0.5 -> 64
    app->p_DrawImg(1, 300, 100, 16);          // no frame 16
    app->p_DrawImg(2, 300, 300, 0);           // empty slot
    app->p_DrawImg(150, 300, 300, 0);         // beyond the table
    app->p_Rect(-3000, 0, 1, 1);              // drawn off screen
    app->drawList[app->drawListLength] = -5;  // unknown op code: nothing
    app->drawListLength += 15;
    std::vector<unsigned char> px = RenderAndRead();
    EXPECT_EQ(graphics->DrawCalls(), 3);
    int rgb[3];
    PixelAt(px, 640, 100 - 31, 100 - 31, rgb);
    EXPECT_EQ(rgb[0], 255);
    PixelAt(px, 640, 100 - 33, 100, rgb);
    EXPECT_EQ(rgb[0], 0);
    PixelAt(px, 640, 100 + 33, 100, rgb);
    EXPECT_EQ(rgb[0], 0);
}

TEST_F(DrawListTest, LineOpCodeIsReplayed) {
    app->p_CLS2D(0, 0, 0, 1);
    app->p_SetCol(0, 255, 0, 1);
    app->p_Rect(0, 0, 1, 1);
    float *rec = app->drawList.Data();
    rec[0] = -3715;
    rec[1] = 10;
    rec[2] = 40.5f;
    rec[4] = 100;
    rec[5] = 40.5f;
    std::vector<unsigned char> px = RenderAndRead();
    int rgb[3];
    PixelAt(px, 640, 50, 40, rgb);
    EXPECT_EQ(rgb[1], 255);
}

TEST_F(DrawListTest, AWindowWithNoAreaKeepsTheLastScale) {
    ASSERT_TRUE(ResizeWindow(1280, 720));
    Render();
    app->loadStage = 0;
    graphics->BeginRender();
    bb_graphics_BeginRender();
    graphics->width = 0;
    app->p_OnRender();
    bb_graphics_renderDevice = nullptr;
    graphics->EndRender();
    EXPECT_EQ(app->scaleX, 2.0f);
    EXPECT_EQ(jscrw, 640.0f);
    EXPECT_EQ(jscrh, 360.0f);
    EXPECT_EQ(app->landscape, 1);
    EXPECT_EQ(app->loadStage, 0);
    EXPECT_EQ(app->deviceWidth, 1280);
    // Back to the same size: no reload either.
    Render();
    EXPECT_EQ(app->loadStage, 0);
}

TEST_F(DrawListTest, RenderRateMeasurement) {
    app->lastRenderMillis = Millis() - 20;
    app->renderFps = 0;
    app->renderFpsSmoothed = 60;
    Render();
    EXPECT_EQ(app->renderFps, 50);
    EXPECT_EQ(app->renderFpsSmoothed, 59);
    EXPECT_EQ(app->lastRenderMillis, Millis());
    // Same millisecond: the rate stays, the average still moves.
    Render();
    EXPECT_EQ(app->renderFps, 50);
    EXPECT_EQ(app->renderFpsSmoothed, 58);
}

TEST_F(DrawListTest, TheListIsReplayedUntilTheNextClear) {
    app->p_CLS2D(0, 0, 0, 1);
    app->p_SetCol(0, 0, 255, 1);
    app->p_Rect(0, 0, 10, 10);
    for (int i = 0; i < 3; ++i) {
        std::vector<unsigned char> px = RenderAndRead();
        int rgb[3];
        PixelAt(px, 640, 5, 5, rgb);
        EXPECT_EQ(rgb[2], 255) << "frame " << i;
    }
}

}  // namespace
