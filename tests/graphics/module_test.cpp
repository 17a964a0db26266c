// The graphics module over a real device: the per-frame reset and lazy
// matrix, the matrix functions, images cut into frames with flags and
// handles, grabbing with row wrapping, the fatal grab error, and the font.
#include <GL/gl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/graphics/gl_env.h"

namespace {

using ModuleTest = GraphicsTest;

// A w x h RGBA sheet whose pixel (x, y) is (x, y, 0, 255).
std::string GradientSheet(const std::string &name, int w, int h) {
    std::vector<unsigned char> rgba;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            rgba.insert(rgba.end(), {(unsigned char)x, (unsigned char)y, 0, 255});
    }
    return WritePng(name, w, h, 4, rgba);
}

c_Image *Load(const std::string &path, int frames, int flags) {
    return bb_graphics_LoadImage(String(path.c_str()), frames, flags);
}

std::vector<std::pair<int, int>> FramesOf(c_Image *image) {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < image->frames.Length(); ++i) {
        out.emplace_back(image->frames[i]->x, image->frames[i]->y);
    }
    return out;
}

// Where the current context matrix takes (x, y).
std::pair<float, float> Map(float x, float y) {
    c_GraphicsContext *g = bb_graphics_context;
    return {g->a * x + g->c * y + g->tx, g->b * x + g->d * y + g->ty};
}

// ---------------------------------------------------------------------------
// Frame step and matrix
// ---------------------------------------------------------------------------

TEST_F(ModuleTest, BeginRenderResetsDeviceStateAndSendsIdentityOnce) {
    device->BeginRender();
    device->SetColor(1, 2, 3);
    device->SetAlpha(0.25f);
    device->SetMatrix(3, 0, 0, 3, 7, 7);
    glEnable(GL_SCISSOR_TEST);
    bb_graphics_BeginRender();
    EXPECT_EQ(bb_graphics_renderDevice, device);
    EXPECT_EQ(device->packedColor, 0xffffffffu);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_TRUE(device->transformed) << "the matrix is sent lazily";

    bb_graphics_DrawRect(0, 0, 1, 1);
    EXPECT_FALSE(device->transformed);
    EXPECT_EQ(bb_graphics_context->matrixDirty, 0);
    device->SetMatrix(3, 0, 0, 3, 7, 7);
    bb_graphics_DrawRect(0, 0, 1, 1);
    EXPECT_TRUE(device->transformed) << "an unchanged matrix is not sent again";
    EndFrame();
    EXPECT_EQ(bb_graphics_renderDevice, nullptr);
}

TEST_F(ModuleTest, TranslateThenRotateMapsAsLocalCoordinates) {
    BeginFrame();
    bb_graphics_Translate(10, 0);
    bb_graphics_Rotate(90);
    auto p = Map(1, 0);
    EXPECT_NEAR(p.first, 10, 1e-5);
    EXPECT_NEAR(p.second, -1, 1e-5);
    EXPECT_EQ(bb_graphics_context->transformed, 1);

    bb_graphics_PushMatrix();
    bb_graphics_Scale(2, 3);
    p = Map(1, 1);
    EXPECT_NEAR(p.first, 13, 1e-5);
    EXPECT_NEAR(p.second, -2, 1e-5);
    bb_graphics_PopMatrix();
    p = Map(1, 0);
    EXPECT_NEAR(p.second, -1, 1e-5);

    bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_EQ(bb_graphics_context->transformed, 0);
    const float m[] = {1, 0, 0, 1, 5, 6};
    bb_graphics_Transform2(Array<float>(m, 6));
    bb_graphics_Transform2(Array<float>(m, 6));
    EXPECT_EQ(Map(0, 0), std::make_pair(10.0f, 12.0f));
    EndFrame();
}

TEST_F(ModuleTest, StateFunctionsReachTheDeviceAtOnce) {
    BeginFrame();
    bb_graphics_SetColor(255, 0, 0);
    bb_graphics_SetAlpha(0.5f);
    EXPECT_EQ(device->packedColor, 0x7f00007fu);
    bb_graphics_SetScissor(10.7f, 20.2f, 30.9f, 40.5f);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 10);
    EXPECT_EQ(box[1], device->Height() - 60);
    EXPECT_EQ(box[2], 30);
    EXPECT_EQ(box[3], 40);
    EXPECT_EQ(bb_graphics_context->scissorX, 10.7f);

    bb_graphics_SetScissor(0, 0, float(bb_graphics_DeviceWidth()),
                           float(bb_graphics_DeviceHeight()));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    bb_graphics_SetAlpha(1);
    bb_graphics_Cls(0, 0, 0);
    bb_graphics_DrawRect(0, 0, 3, 1);  // red top row
    Array<int> pixels(6);
    bb_graphics_ReadPixels(pixels, 0, 0, 3, 2, 0, 0);  // pitch 0: rows 3 apart
    EXPECT_EQ(std::uint32_t(pixels[2]), 0xffff0000u);
    EXPECT_EQ(std::uint32_t(pixels[3]), 0xff000000u);
    EndFrame();
}

// Runs a call in a child whose stdin is empty, so a runtime error's
// debugger prompt ends the process at once, with its report on stderr.
template <class F>
void InChild(F call) {
    std::freopen("/dev/null", "r", stdin);
    dup2(2, 1);
    call();
    std::exit(0);
}

TEST_F(ModuleTest, CallerMistakesEndWithARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // the GL driver runs threads
    EXPECT_EXIT(
        InChild([] { bb_graphics_DrawRect(0, 0, 1, 1); }), testing::ExitedWithCode(255),
        "Vantix Runtime Error : Rendering operations can only be performed inside OnRender");
    EXPECT_EXIT(InChild([] {
                    for (int i = 0; i < 33; ++i) bb_graphics_PushMatrix();
                }),
                testing::ExitedWithCode(255), "Vantix Runtime Error : Matrix stack overflow");
    EXPECT_EXIT(InChild([] { bb_graphics_PopMatrix(); }), testing::ExitedWithCode(255),
                "Vantix Runtime Error : Matrix stack underflow");
    EXPECT_EXIT(InChild([] {
                    for (int i = 0; i < 32; ++i) bb_graphics_PushMatrix();
                    for (int i = 0; i < 32; ++i) bb_graphics_PopMatrix();
                }),
                testing::ExitedWithCode(0), "")
        << "32 saved matrices fit";
}

// ---------------------------------------------------------------------------
// Drawing images
// ---------------------------------------------------------------------------

// The quad the last image draw stored, as four corners.
std::vector<std::pair<float, float>> LastQuad(gxtkGraphics *device) {
    std::vector<std::pair<float, float>> out;
    int first = (device->batchCount - 1) * 4;
    for (int i = 0; i < 4; ++i)
        out.emplace_back(device->vertices[first + i].x, device->vertices[first + i].y);
    return out;
}

TEST_F(ModuleTest, DrawImage2WithoutRotationOrScaleDrawsLikeDrawImage) {
    c_Image *image = Load(GradientSheet("pair.png", 20, 10), 2, c_Image::CenterHandle);
    ASSERT_NE(image, nullptr);
    BeginFrame();
    bb_graphics_DrawImage(image, 50, 40, 1);
    auto plain = LastQuad(device);
    bb_graphics_DrawImage2(image, 50, 40, 0, 1, 1, 1);
    auto turned = LastQuad(device);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(turned[i].first, plain[i].first, 1e-4) << "corner " << i;
        EXPECT_NEAR(turned[i].second, plain[i].second, 1e-4) << "corner " << i;
    }
    EXPECT_EQ(plain[0], std::make_pair(45.0f, 35.0f));
    EXPECT_EQ(device->batchCount, 2) << "both draws share one batch";
    EndFrame();
}

TEST_F(ModuleTest, HandleLandsOnTheTransformedPosition) {
    c_Image *image = Load(GradientSheet("ten.png", 10, 10), 1, c_Image::CenterHandle);
    ASSERT_NE(image, nullptr);
    BeginFrame();
    bb_graphics_Translate(100, 50);
    bb_graphics_Scale(2, 2);
    bb_graphics_DrawImage(image, 20, 30, 0);
    EXPECT_EQ(LastQuad(device)[0], std::make_pair(130.0f, 100.0f));
    EXPECT_EQ(LastQuad(device)[2], std::make_pair(150.0f, 120.0f));

    // Turning about the handle keeps the frame centred on (x, y).
    bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    bb_graphics_DrawImage2(image, 200, 100, 33, 1.5f, 0.5f, 0);
    float cx = 0, cy = 0;
    for (auto corner : LastQuad(device)) {
        cx += corner.first / 4;
        cy += corner.second / 4;
    }
    EXPECT_NEAR(cx, 200, 1e-3);
    EXPECT_NEAR(cy, 100, 1e-3);
    EndFrame();
}

TEST_F(ModuleTest, FramesDrawTheirOwnPartOfTheSheet) {
    c_Image *image = Load(GradientSheet("frames.png", 100, 20), 5, c_Image::PadX);
    ASSERT_NE(image, nullptr);
    BeginFrame();
    bb_graphics_Cls(0, 0, 255);
    bb_graphics_DrawImage(image, 0, 0, 3);
    std::uint32_t first = PixelAt(0, 0), last = PixelAt(17, 19);
    EXPECT_EQ(RedOf(first), 61);
    EXPECT_EQ(GreenOf(first), 0);
    EXPECT_EQ(RedOf(last), 78);
    EXPECT_EQ(GreenOf(last), 19);
    EXPECT_EQ(PixelAt(18, 0), 0xff0000ffu) << "padded frames are two pixels narrower";
    EndFrame();
}

// ---------------------------------------------------------------------------
// Frames and flags
// ---------------------------------------------------------------------------

TEST_F(ModuleTest, StripFramesFollowPaddingAndHandleFlags) {
    std::string sheet = GradientSheet("strip100x20.png", 100, 20);
    c_Image *padded = Load(sheet, 5, c_Image::PadX);
    ASSERT_NE(padded, nullptr);
    EXPECT_EQ(FramesOf(padded),
              (std::vector<std::pair<int, int>>{{1, 0}, {21, 0}, {41, 0}, {61, 0}, {81, 0}}));
    EXPECT_EQ(padded->width, 18);
    EXPECT_EQ(padded->height, 20);

    c_Image *centred = Load(sheet, 5, c_Image::PadX | c_Image::CenterHandle);
    EXPECT_EQ(centred->handleX, 9);
    EXPECT_EQ(centred->handleY, 10);
    EXPECT_EQ(centred->flags, c_Image::PadX) << "centring is done once and its bit cleared";

    c_Image *both = Load(sheet, 1, c_Image::PadX | c_Image::PadY);
    EXPECT_EQ(FramesOf(both), (std::vector<std::pair<int, int>>{{1, 1}}));
    EXPECT_EQ(both->width, 98);
    EXPECT_EQ(both->height, 18);

    EXPECT_EQ(Load(sheet, 1, 0)->flags, c_Image::WholeSurface);
    EXPECT_EQ(Load(sheet, 1, c_Image::PadX)->flags, c_Image::PadX);
    EXPECT_EQ(Load(sheet, 2, 0)->flags, 0);
    EXPECT_EQ(Load(sheet, 1, c_Image::WholeSurface | c_Image::PadX)->flags, c_Image::PadX)
        << "WholeSurface from a caller is not trusted";
}

TEST_F(ModuleTest, GrabWrapsToTheLeftEdgeOfTheNextRow) {
    c_Image *sheet = Load(GradientSheet("sheet100x80.png", 100, 80), 1, 0);
    ASSERT_NE(sheet, nullptr);
    c_Image *grabbed = sheet->p_GrabImage(60, 0, 40, 40, 3, 0);
    ASSERT_NE(grabbed, nullptr);
    EXPECT_EQ(FramesOf(grabbed), (std::vector<std::pair<int, int>>{{60, 0}, {0, 40}, {40, 40}}));
    EXPECT_EQ(grabbed->source, sheet);
    EXPECT_EQ(grabbed->surface, sheet->surface);
    EXPECT_EQ(grabbed->flags, 0);

    // Frames are placed relative to the source's own first frame.
    c_Image *padded = Load(GradientSheet("sheet-padded.png", 100, 80), 1, c_Image::PadX);
    EXPECT_EQ(FramesOf(padded->p_GrabImage(0, 0, 40, 40, 2, 0)),
              (std::vector<std::pair<int, int>>{{1, 0}, {41, 0}}));

    c_Image *strip = Load(GradientSheet("two.png", 100, 80), 2, 0);
    EXPECT_EQ(strip->p_GrabImage(0, 0, 10, 10, 1, 0), nullptr) << "only one-frame images grab";

    c_Image *cells = bb_graphics_LoadImage2(
        String(FixtureDir().c_str()) + String("sheet100x80.png"), 50, 40, 4, c_Image::CenterHandle);
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(FramesOf(cells),
              (std::vector<std::pair<int, int>>{{0, 0}, {50, 0}, {0, 40}, {50, 40}}));
    EXPECT_EQ(cells->handleX, 25);
    EXPECT_NE(cells->source, nullptr);
    EXPECT_EQ(cells->source->frames.Length(), 1);
}

void GrabOutside(c_Image *sheet, int x, int y, int w, int h, int count) {
    InChild([=] { sheet->p_GrabImage(x, y, w, h, count, 0); });
}

TEST_F(ModuleTest, GrabOutsideTheSheetIsAFatalError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // the GL driver runs threads
    c_Image *sheet = Load(GradientSheet("sheet100x80.png", 100, 80), 1, 0);
    ASSERT_NE(sheet, nullptr);
    const char *report = "Vantix Runtime Error : Image frame outside surface";
    EXPECT_EXIT(GrabOutside(sheet, 0, 60, 40, 40, 1), testing::ExitedWithCode(255), report);
    EXPECT_EXIT(GrabOutside(sheet, 0, 0, 101, 10, 1), testing::ExitedWithCode(255), report);
    EXPECT_EXIT(GrabOutside(sheet, 0, 0, 40, 40, 5), testing::ExitedWithCode(255), report);
    EXPECT_EXIT(GrabOutside(sheet, 0, 40, 50, 40, 2), testing::ExitedWithCode(0), "")
        << "two frames that just fit";
}

// ---------------------------------------------------------------------------
// Font
// ---------------------------------------------------------------------------

TEST_F(ModuleTest, DefaultFontLoadsFromTheDataFolderOnce) {
    c_GraphicsContext *g = bb_graphics_context;
    // No data folder in the test's working directory: no font, first char 32.
    bb_graphics_SetFont(nullptr, 65);
    EXPECT_EQ(g->font, nullptr);
    EXPECT_EQ(g->firstChar, 32);

    c_Image *mine = Load(GradientSheet("mine.png", 30, 10), 3, 0);
    bb_graphics_SetFont(mine, 65);
    EXPECT_EQ(g->font, mine);
    EXPECT_EQ(g->firstChar, 65);

    std::string cwd(4096, '\0');
    ASSERT_NE(getcwd(&cwd[0], cwd.size()), nullptr);
    std::string data = FixtureDir() + "data";
    mkdir(data.c_str(), 0755);
    GradientSheet("data/zuno_font.png", 96 * 10, 12);
    ASSERT_EQ(chdir(FixtureDir().c_str()), 0);
    bb_graphics_SetFont(nullptr, 0);
    ASSERT_EQ(chdir(cwd.c_str()), 0);
    ASSERT_NE(g->font, nullptr);
    EXPECT_EQ(g->font, g->defaultFont);
    EXPECT_EQ(g->firstChar, 32);
    EXPECT_EQ(g->font->frames.Length(), 96);
    EXPECT_EQ(g->font->width, 8);
    EXPECT_EQ(g->font->frames[1]->x, 11);

    c_Image *loaded = g->defaultFont;
    bb_graphics_SetFont(mine, 33);
    bb_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(g->font, loaded) << "loaded once, then reused";
}

}  // namespace
