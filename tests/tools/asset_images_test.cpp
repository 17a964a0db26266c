// Every picture the game loads, at every resolution, read back through the
// host's image loader: sheet geometry, channels, and the properties the
// game's drawing relies on (tintable fonts and icons, glyphs that fit the
// text advance, an opaque backdrop, a see-through wall warning).

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "tests/tools/asset_files.h"

namespace {

constexpr int kMaxSide = 4096;
constexpr int kRgba = 4;

struct SheetSpec {
    const char *name;  // as the loader names it, without suffix and extension
    int frameW, frameH, frames;
    bool levels;  // has "-hd" and "-hd2" variants
};

// The files the game's loader opens, with frame sizes at 1x.
const SheetSpec kSheets[] = {
    {"gfx", 64, 64, 16, true},
    {"BadgesA", 64, 64, 64, true},
    {"fonts/editundo", 16, 16, 128, true},
    {"common/Testcard_Circle", 256, 256, 1, true},
    {"common/icade", 64, 64, 2, true},
    {"common/RuvoLogo", 256, 256, 1, true},
    {"common/dpad", 32, 32, 16, true},
    {"common/Buttons", 64, 64, 16, true},
    {"parts", 8, 8, 16, true},
    {"common/icons", 32, 32, 16, true},
    {"logo", 256, 128, 1, true},
    {"menu", 256, 256, 4, true},
};

const char *Suffix(int level) {
    return level == 4 ? "-hd2" : level == 2 ? "-hd" : "";
}

std::string SheetPath(const char *name, int level) {
    return DataDir() + "/" + name + Suffix(level) + ".png";
}

// Top-left pixel of frame f in a sheet laid out left to right, then top to
// bottom, the way the graphics module grabs frames.
void FrameOrigin(const Picture &p, int fw, int fh, int f, int *x, int *y) {
    int perRow = p.width / fw;
    *x = (f % perRow) * fw;
    *y = (f / perRow) * fh;
}

struct Bounds {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;  // x1, y1 inclusive
    bool empty() const { return x1 < 0; }
};

Bounds VisibleBounds(const Picture &p, int ox, int oy, int w, int h) {
    Bounds b;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (p.alpha(ox + x, oy + y) > 0) {
                b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x), b.y1 = std::max(b.y1, y);
            }
    return b;
}

// Visible pixels whose colour is not a grey level, which a tint would not
// simply colour.
int ColouredPixels(const Picture &p) {
    int n = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t *c = p.at(x, y);
            if (c[3] > 0 && (c[0] != c[1] || c[1] != c[2])) ++n;
        }
    return n;
}

std::string FrameBytes(const Picture &p, int ox, int oy, int w, int h) {
    std::string s;
    for (int y = 0; y < h; ++y)
        s.append(reinterpret_cast<const char *>(p.at(ox, oy + y)), size_t(w) * p.depth);
    return s;
}

TEST(AssetImages, EverySheetExistsAtEveryLevelWithRoomForItsFrames) {
    for (const SheetSpec &s : kSheets) {
        for (int level : {1, 2, 4}) {
            std::string path = SheetPath(s.name, level);
            SCOPED_TRACE(path);
            Picture p = LoadPicture(path);
            ASSERT_GT(p.width, 0) << "missing or undecodable";
            EXPECT_EQ(p.depth, kRgba);
            int fw = s.frameW * level, fh = s.frameH * level;
            EXPECT_EQ(p.width % fw, 0);
            EXPECT_EQ(p.height % fh, 0);
            EXPECT_GE((p.width / fw) * (p.height / fh), s.frames);
            EXPECT_LE(p.width, kMaxSide);
            EXPECT_LE(p.height, kMaxSide);
        }
    }
}

// The runtime's default font: one row of 96 frames (characters 32 to 127),
// each with a transparent column on either side (the loader cuts it with
// horizontal padding); the printable ones are drawn.
TEST(AssetImages, DefaultFontIsOneRowOfPaddedGlyphs) {
    Picture p = LoadPicture(DataDir() + "/zuno_font.png");
    ASSERT_GT(p.width, 0);
    EXPECT_EQ(p.depth, kRgba);
    ASSERT_EQ(p.width % 96, 0);
    int fw = p.width / 96;
    for (int f = 0; f < 96; ++f) {
        for (int y = 0; y < p.height; ++y) {
            EXPECT_EQ(p.alpha(f * fw, y), 0) << "frame " << f;
            EXPECT_EQ(p.alpha(f * fw + fw - 1, y), 0) << "frame " << f;
        }
        int code = f + 32;
        bool blank = VisibleBounds(p, f * fw, 0, fw, p.height).empty();
        EXPECT_EQ(blank, code < 33 || code > 126) << "character " << code;
    }
    EXPECT_EQ(ColouredPixels(p), 0);
}

// Frame f of the game's font shows character f + 32. Every printable ASCII
// glyph is drawn; all of them fit one 7-pixel advance by one 10-pixel line
// around the frame's centre (where the game puts the pen), so neighbouring
// characters and lines never overlap.
TEST(AssetImages, GameFontCoversPrintableAsciiWithinTheAdvance) {
    for (int level : {1, 2, 4}) {
        SCOPED_TRACE(level);
        Picture p = LoadPicture(SheetPath("fonts/editundo", level));
        ASSERT_GT(p.width, 0);
        int cell = 16 * level;
        Bounds all;
        for (int code = 32; code < 160; ++code) {
            int ox, oy;
            FrameOrigin(p, cell, cell, code - 32, &ox, &oy);
            Bounds b = VisibleBounds(p, ox, oy, cell, cell);
            if (code == 32) {
                EXPECT_TRUE(b.empty()) << "space is drawn";
            }
            if (code >= 33 && code <= 126) {
                EXPECT_FALSE(b.empty()) << "character " << code;
            }
            if (b.empty()) continue;
            all.x0 = std::min(all.x0, b.x0), all.y0 = std::min(all.y0, b.y0);
            all.x1 = std::max(all.x1, b.x1), all.y1 = std::max(all.y1, b.y1);
        }
        EXPECT_LE(all.x1 - all.x0 + 1, 7 * level);
        EXPECT_LE(all.y1 - all.y0 + 1, 10 * level);
        float cx = (all.x0 + all.x1 + 1) / 2.0f, cy = (all.y0 + all.y1 + 1) / 2.0f;
        EXPECT_NEAR(cx, cell / 2.0f, 1.0f * level);
        EXPECT_NEAR(cy, cell / 2.0f, 1.0f * level);
    }
}

TEST(AssetImages, FontsAndIconsAreGreyLevelsForTinting) {
    for (const char *name : {"fonts/editundo", "common/icons"}) {
        for (int level : {1, 2, 4}) {
            std::string path = SheetPath(name, level);
            Picture p = LoadPicture(path);
            ASSERT_GT(p.width, 0) << path;
            EXPECT_EQ(ColouredPixels(p), 0) << path;
        }
    }
}

// The title backdrop is drawn enlarged behind everything: any hole would
// show the clear colour through it.
TEST(AssetImages, TitleBackdropIsOpaqueEdgeToEdge) {
    for (int level : {1, 2, 4}) {
        Picture p = LoadPicture(SheetPath("menu", level));
        ASSERT_GT(p.width, 0);
        int fs = 256 * level, holes = 0;
        for (int y = 0; y < fs; ++y)
            for (int x = 0; x < fs; ++x) holes += p.alpha(x, y) < 255;
        EXPECT_EQ(holes, 0) << "level " << level;
    }
}

// Board frames: the token, the pieces and the wall warning are drawn over
// a cell, so their corners are clear; the warning is see-through; the floor
// and the eight trail stages cover their cell and are all different.
TEST(AssetImages, BoardFramesLayerAsTheGameDrawsThem) {
    for (int level : {1, 2, 4}) {
        SCOPED_TRACE(level);
        Picture p = LoadPicture(SheetPath("gfx", level));
        ASSERT_GT(p.width, 0);
        int cell = 64 * level;
        auto origin = [&](int f, int *x, int *y) { FrameOrigin(p, cell, cell, f, x, y); };
        for (int f : {1, 2, 3, 13}) {
            int ox, oy;
            origin(f, &ox, &oy);
            EXPECT_EQ(p.alpha(ox, oy), 0) << "frame " << f;
            EXPECT_EQ(p.alpha(ox + cell - 1, oy + cell - 1), 0) << "frame " << f;
        }
        int ox, oy;
        origin(13, &ox, &oy);
        long sum = 0;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) sum += p.alpha(ox + x, oy + y);
        double mean = double(sum) / (255.0 * cell * cell);
        EXPECT_GT(mean, 0.1);
        EXPECT_LT(mean, 0.7);
        std::set<std::string> distinct;
        for (int f : {0, 4, 5, 6, 7, 8, 9, 10, 11, 12}) {
            origin(f, &ox, &oy);
            EXPECT_EQ(p.alpha(ox + cell / 2, oy + cell / 2), 255) << "frame " << f;
            distinct.insert(FrameBytes(p, ox, oy, cell, cell));
        }
        EXPECT_EQ(distinct.size(), 10u);  // floor, trail 1-8, wall
    }
}

TEST(AssetImages, EveryBadgeIsDistinct) {
    Picture p = LoadPicture(SheetPath("BadgesA", 1));
    ASSERT_GT(p.width, 0);
    std::set<std::string> distinct;
    for (int f = 0; f < 64; ++f) {
        int ox, oy;
        FrameOrigin(p, 64, 64, f, &ox, &oy);
        EXPECT_FALSE(VisibleBounds(p, ox, oy, 64, 64).empty()) << "badge " << f;
        distinct.insert(FrameBytes(p, ox, oy, 64, 64));
    }
    EXPECT_EQ(distinct.size(), 64u);
}

TEST(AssetImages, DesktopIconsExistAtTheirSizes) {
    for (int size : {48, 64, 128, 256}) {
        std::string n = std::to_string(size);
        std::string path = std::string(TESSELON_BINARY_DIR) + "/icons/hicolor/" + n + "x" + n +
                           "/apps/tesselon.png";
        Picture p = LoadPicture(path);
        EXPECT_EQ(p.width, size) << path;
        EXPECT_EQ(p.height, size) << path;
        EXPECT_EQ(p.depth, kRgba) << path;
    }
}

}  // namespace
