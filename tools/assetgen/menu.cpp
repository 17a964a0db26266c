// The title backdrop sheet ("menu") and the title lettering ("logo").
//
// The backdrop is drawn three times enlarged behind the title menu, so it is
// opaque edge to edge and kept low in contrast: a deep-blue field of faint
// floor tiles, a few tinted ones, a glow behind the title and a vignette.
#include <cmath>
#include <cstdint>

#include "tools/assetgen/mosaic.h"
#include "tools/assetgen/palette.h"
#include "tools/assetgen/sheet.h"
#include "tools/assetgen/style.h"

namespace assetgen {
namespace {

constexpr float kMenu = 256;
constexpr float kTilePitch = 16;  // units between backdrop tiles
constexpr float kTileHalf = 6.2f;
constexpr float kTileRadius = 2.6f;

std::uint32_t Hash(int x, int y, int seed) {
    std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u +
                      std::uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

struct Mood {
    Color glow, field, edge;
    float accentShift;
};

const Mood kMoods[4] = {
    {Rgb(24, 40, 150), Rgb(6, 10, 96), Rgb(0, 0, 44), 0.0f},     // title: deep blue
    {Rgb(60, 30, 150), Rgb(20, 8, 90), Rgb(6, 0, 40), 0.35f},    // violet
    {Rgb(10, 70, 140), Rgb(0, 26, 90), Rgb(0, 8, 44), 0.1f},     // teal
    {Rgb(110, 36, 100), Rgb(40, 10, 80), Rgb(12, 0, 40), 0.7f},  // dusk
};

void Backdrop(Painter &p, int frame) {
    const Mood &m = kMoods[frame];
    const float level = float(p.level());
    const Vec2 glowAt{kMenu * 0.42f, kMenu * 0.36f};
    auto paint = [&](Vec2 q) {
        // Ground: glow near the title, darker towards the edges.
        float r = Length(q - glowAt) / (kMenu * 0.62f);
        Color c = Mix(m.glow, m.field, SmoothStep(0.0f, 0.75f, r));
        c = Mix(c, m.edge, SmoothStep(0.55f, 1.25f, r));
        // Tiles on a grid, brightness drifting in slow diagonal waves.
        int gx = int(std::floor(q.x / kTilePitch)), gy = int(std::floor(q.y / kTilePitch));
        Vec2 centre{(gx + 0.5f) * kTilePitch, (gy + 0.5f) * kTilePitch};
        float d = sdf::RoundBox(q, centre, {kTileHalf, kTileHalf}, kTileRadius) * level;
        float cov = Clamp01(0.5f - d);
        std::uint32_t h = Hash(gx, gy, frame);
        float wave = 0.5f + 0.5f * std::sin(0.045f * centre.x + 0.06f * centre.y + frame);
        float strength = 0.025f + 0.045f * wave + 0.02f * float(h & 255) / 255.0f;
        Color tile = Shade(c, 0.5f);
        if ((h >> 8) % 23 == 0) {
            tile = pal::Accent(std::fmod(float((h >> 12) % 100) / 100.0f + m.accentShift, 1.0f));
            strength += 0.07f;
        }
        c = Mix(c, tile, cov * strength);
        // A faint light edge just inside each tile.
        float edge = cov * (1 - Clamp01(0.5f - (d + 1.2f * level)));
        c = Mix(c, pal::kWhite, edge * 0.035f);
        return c;
    };
    p.Fill(
        p.frame(), [](Vec2) { return -1e6f; }, paint);
}

void Logo(Painter &p) {
    MosaicWord word = LayOutMosaic("TESSELON");
    const float cell = 7.2f;
    float width = word.cols * cell;
    Vec2 origin{(256 - width) / 2, 36};
    DrawMosaic(p, word, origin, cell);
    // A strip of small floor tiles beneath, fading out to both ends.
    constexpr int kStrip = 21;
    const float pitch = 9.5f, y = origin.y + word.rows * cell + 13;
    for (int i = 0; i < kStrip; ++i) {
        float x = 128 + (i - (kStrip - 1) / 2.0f) * pitch;
        float t = std::fabs(i - (kStrip - 1) / 2.0f) / ((kStrip - 1) / 2.0f);
        float fade = 1 - t * t;
        Vec2 c{x, y};
        Color col = (i % 5 == 2) ? pal::Accent(float(i) / kStrip) : pal::kFloorTop;
        p.Fill(
            Around(c, 6),
            [&](Vec2 q) {
                return sdf::RoundBox(q, c, {4.6f, 4.6f}, 1.6f) - 0.8f;
            },
            pal::kInk, 0.8f * fade);
        style::Tile(p, c, {3.8f, 3.8f}, 1.4f, Shade(col, 0.25f), Shade(col, -0.2f), fade);
    }
}

}  // namespace

ImageSheet MenuSheet() {
    ImageSheet s;
    s.name = "menu";
    s.frameW = s.frameH = int(kMenu);
    s.frames = 4;
    s.columns = 2;
    s.draw = Backdrop;
    return s;
}

ImageSheet LogoSheet() {
    ImageSheet s;
    s.name = "logo";
    s.frameW = 256;
    s.frameH = 128;
    s.frames = 1;
    s.columns = 1;
    s.draw = [](Painter &p, int) { Logo(p); };
    return s;
}

}  // namespace assetgen
