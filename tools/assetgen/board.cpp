// The board sheet "gfx": floor, number token, player, chaser, the eight
// trail stages, the wall, the wall warning and two spare overlays.
#include <cmath>

#include "tools/assetgen/palette.h"
#include "tools/assetgen/sheet.h"
#include "tools/assetgen/style.h"

namespace assetgen {
namespace {

constexpr float kCell = 64;      // frame size in design units
constexpr float kTileHalf = 29;  // floor tiles leave a 3-unit gutter
constexpr float kTileRadius = 9;
constexpr Vec2 kMid{kCell / 2, kCell / 2};
constexpr int kTrailSteps = 8;  // blocked for 1..8 more steps

// Frame numbers.
enum Frame {
    kFloor = 0,
    kToken = 1,
    kPlayer = 2,
    kChaser = 3,
    kTrailFirst = 4,
    kWall = 12,
    kWallWarning = 13,
    kSpareHighlight = 14,
    kSpareSparkle = 15
};

void Floor(Painter &p) {
    style::Tile(p, kMid, {kTileHalf, kTileHalf}, kTileRadius, pal::kFloorTop, pal::kFloorBottom);
    // A faint inset square keeps the floor calm but tiled.
    p.Fill(
        Around(kMid, 20),
        [](Vec2 q) {
            return std::fabs(sdf::RoundBox(q, kMid, {18, 18}, 6)) - 0.6f;
        },
        pal::kSky, 0.12f);
}

// Trail: the colour cools from hot magenta (fresh) towards the floor and a
// ring of eight pips shows how many steps the cell stays closed.
void Trail(Painter &p, int steps) {
    float t = float(steps) / kTrailSteps;
    Color hot = Mix(pal::kViolet, pal::kMagenta, t);
    Color top = Mix(pal::kFloorTop, Shade(hot, 0.15f), 0.25f + 0.7f * t);
    Color bottom = Mix(pal::kFloorBottom, Shade(hot, -0.25f), 0.25f + 0.7f * t);
    style::Tile(p, kMid, {kTileHalf, kTileHalf}, kTileRadius, top, bottom);
    // Sunken centre.
    p.Fill(
        Around(kMid, 16),
        [](Vec2 q) {
            return sdf::RoundBox(q, kMid, {13, 13}, 6);
        },
        Shade(bottom, -0.35f), 0.8f);
    for (int i = 0; i < kTrailSteps; ++i) {
        Vec2 c = Polar(kMid, 19.5f, 2 * kPi * i / kTrailSteps);
        bool lit = i < steps;
        if (lit) {
            p.Glow(
                Around(c, 7), [&](Vec2 q) { return sdf::Circle(q, c, 2.6f); },
                WithAlpha(pal::kWhite, 0.35f * t + 0.1f), 4.5f);
            p.Fill(
                Around(c, 4), [&](Vec2 q) { return sdf::Circle(q, c, 3.1f); }, pal::kWhite);
        } else {
            p.Fill(
                Around(c, 4), [&](Vec2 q) { return sdf::Circle(q, c, 2.4f); }, Shade(bottom, -0.4f),
                0.9f);
        }
    }
}

void Token(Painter &p) {
    // Coin with a deep centre: the game writes the value in white over it,
    // slightly right of the middle, so the centre stays plain.
    auto outer = [](Vec2 q) { return sdf::Circle(q, kMid, 23); };
    style::Shadow(p, Around(kMid, 23), outer, {1.5f, 2.5f}, 3, 0.6f);
    p.Fill(
        Around(kMid, 25), [](Vec2 q) { return sdf::Circle(q, kMid, 25); }, pal::kInk);
    style::Gradient(p, Around(kMid, 23), outer, Shade(pal::kGold, 0.3f), pal::kAmber);
    auto inner = [](Vec2 q) { return sdf::Circle(q, kMid, 17.5f); };
    style::Gradient(p, Around(kMid, 18), inner, Rgb(150, 54, 30), Rgb(110, 30, 40));
    p.Fill(
        Around(kMid, 18.5f), [](Vec2 q) { return sdf::Ring(q, kMid, 17.5f, 0.9f); },
        Shade(pal::kAmber, -0.5f));
    // Highlight arc on the rim.
    p.Fill(
        Around(kMid, 23), [](Vec2 q) { return sdf::Arc(q, kMid, 20.5f, 1.2f, -1.5f, -0.3f); },
        pal::kWhite, 0.8f);
    style::Sparkle(p, {kMid.x - 15, kMid.y - 16}, 5, pal::kWhite, 0.9f);
}

void Eyes(Painter &p, Vec2 c, float spacing, float r, Vec2 look, float brow) {
    for (int side = -1; side <= 1; side += 2) {
        Vec2 e{c.x + side * spacing, c.y};
        p.Fill(
            Around(e, r + 1), [&](Vec2 q) { return sdf::Ellipse(q, e, r * 0.85f, r); },
            pal::kWhite);
        Vec2 pu = e + look;
        p.Fill(
            Around(pu, r), [&](Vec2 q) { return sdf::Circle(q, pu, r * 0.5f); }, pal::kInk);
        if (brow != 0) {
            // Angry: the inner end of each brow is the lower one.
            Vec2 a{e.x - side * r * 1.1f, e.y - r * 1.25f + brow};
            Vec2 b{e.x + side * r * 0.9f, e.y - r * 1.25f - brow};
            p.Fill(
                Box{e.x - 2 * r, e.y - 3 * r, e.x + 2 * r, e.y},
                [&](Vec2 q) { return sdf::Capsule(q, a, b, 1.3f); }, pal::kInk);
        }
    }
}

void Player(Painter &p) {
    Vec2 c{kMid.x, kMid.y + 1};
    auto body = [&](Vec2 q) { return sdf::RoundBox(q, c, {19, 18}, 11); };
    Box b{c.x - 19, c.y - 18, c.x + 19, c.y + 18};
    style::Shadow(p, b, body, {1.5f, 3}, 3, 0.55f);
    style::Outlined(p, b, body, Rgb(170, 250, 255), Rgb(24, 150, 226), 2.2f);
    // Gloss along the top.
    Vec2 g{c.x - 6, c.y - 11};
    p.Fill(
        Around(g, 9), [&](Vec2 q) { return sdf::Ellipse(q, g, 8, 3.2f); }, pal::kWhite, 0.55f);
    Eyes(p, {c.x, c.y - 1}, 7, 5, {0.8f, 0.8f}, 0);
    // Smile.
    p.Fill(
        Box{c.x - 8, c.y + 2, c.x + 8, c.y + 14},
        [&](Vec2 q) {
            return sdf::Arc(q, {c.x, c.y + 4}, 6, 1.3f, 2.2f, 4.08f);
        },
        pal::kInk);
}

void Chaser(Painter &p) {
    auto spikes = sdf::Star(kMid, 27, 18, 10, 0.1f);
    auto body = [&](Vec2 q) { return sdf::Polygon(q, spikes) - 1.5f; };
    Box b = Around(kMid, 29);
    style::Shadow(p, b, body, {1.5f, 3}, 3, 0.55f);
    style::Outlined(p, b, body, Rgb(255, 150, 130), Rgb(196, 24, 70), 2.2f);
    p.Fill(
        Around(kMid, 15), [](Vec2 q) { return sdf::Circle(q, kMid, 14); }, Rgb(255, 120, 110),
        0.5f);
    Eyes(p, {kMid.x, kMid.y}, 7, 5, {-0.6f, 1.2f}, 2.2f);
    // Teeth: a flat zigzag mouth.
    std::vector<Vec2> mouth = {{kMid.x - 8, kMid.y + 8},
                               {kMid.x - 4, kMid.y + 11},
                               {kMid.x, kMid.y + 8},
                               {kMid.x + 4, kMid.y + 11},
                               {kMid.x + 8, kMid.y + 8}};
    for (size_t i = 0; i + 1 < mouth.size(); ++i) {
        p.Fill(
            Around(kMid, 14), [&](Vec2 q) { return sdf::Capsule(q, mouth[i], mouth[i + 1], 1.2f); },
            pal::kInk);
    }
}

void Wall(Painter &p) {
    Color top = Rgb(150, 160, 200), bottom = Rgb(84, 92, 140);
    style::Tile(p, kMid, {31, 31}, 6, top, bottom);
    // Bricks: three courses, offset by half a brick.
    constexpr float kCourse = 17, kBrick = 26, kMortar = 1.4f;
    for (int row = 0; row < 3; ++row) {
        float y0 = 6 + row * kCourse;
        float shift = (row % 2) ? kBrick / 2 : 0;
        for (int i = -1; i < 3; ++i) {
            float x0 = 5 + i * kBrick + shift, x1 = x0 + kBrick;
            float cx0 = std::max(x0, 5.0f), cx1 = std::min(x1, 59.0f);
            if (cx1 - cx0 < 4) continue;
            Vec2 c{(cx0 + cx1) / 2, y0 + kCourse / 2};
            Vec2 h{(cx1 - cx0) / 2 - kMortar, kCourse / 2 - kMortar};
            auto brick = [&](Vec2 q) { return sdf::RoundBox(q, c, h, 2.5f); };
            Box bb{cx0, y0, cx1, y0 + kCourse};
            Color shade = Mix(top, bottom, 0.2f + 0.15f * ((row + i + 3) % 3));
            style::Gradient(p, bb, brick, Shade(shade, 0.12f), Shade(shade, -0.1f));
            p.Fill(
                bb,
                [&](Vec2 q) {
                    return sdf::Subtract(brick(q), brick(q - Vec2{0, 1.2f}));
                },
                pal::kWhite, 0.25f);
        }
    }
}

void WallWarning(Painter &p) {
    // Amber hazard stripes and a bright border, see-through so the cell
    // beneath still shows.
    auto frame = [](Vec2 q) { return sdf::RoundBox(q, kMid, {30, 30}, 8); };
    p.Fill(
        p.frame(),
        [&](Vec2 q) {
            float stripe = std::fmod(q.x + q.y + 256, 12.0f);
            float d = std::fabs(stripe - 6) - 3;  // bands 6 units wide
            return sdf::Intersect(frame(q), d);
        },
        pal::kGold, 0.38f);
    p.Fill(
        p.frame(), [&](Vec2 q) { return std::fabs(frame(q) + 1.8f) - 1.8f; }, pal::kGold, 0.9f);
    // Exclamation mark in the middle.
    p.Fill(
        Around(kMid, 14),
        [](Vec2 q) {
            return sdf::Union(sdf::Capsule(q, {32, 22}, {32, 35}, 3.4f),
                              sdf::Circle(q, {32, 43}, 3.4f));
        },
        pal::kInk, 0.7f);
    p.Fill(
        Around(kMid, 14),
        [](Vec2 q) {
            return sdf::Union(sdf::Capsule(q, {32, 22}, {32, 35}, 2.2f),
                              sdf::Circle(q, {32, 43}, 2.3f));
        },
        pal::kGold);
}

void Highlight(Painter &p) {
    auto ring = [](Vec2 q) {
        return std::fabs(sdf::RoundBox(q, kMid, {28, 28}, kTileRadius)) - 1.6f;
    };
    p.Glow(p.frame(), ring, WithAlpha(pal::kCyan, 0.5f), 4);
    p.Fill(ring, pal::kWhite);
}

void SparkleBurst(Painter &p) {
    style::Sparkle(p, kMid, 22, pal::kGold);
    style::Sparkle(p, kMid, 12, pal::kWhite);
    for (int i = 0; i < 6; ++i) {
        Vec2 c = Polar(kMid, 24, 2 * kPi * i / 6 + 0.5f);
        p.Fill(
            Around(c, 3), [&](Vec2 q) { return sdf::Circle(q, c, 2); }, pal::kGold);
    }
}

}  // namespace

ImageSheet BoardSheet() {
    ImageSheet s;
    s.name = "gfx";
    s.frameW = s.frameH = int(kCell);
    s.frames = 16;
    s.columns = 4;
    s.draw = [](Painter &p, int frame) {
        switch (frame) {
            case kFloor:
                Floor(p);
                break;
            case kToken:
                Token(p);
                break;
            case kPlayer:
                Player(p);
                break;
            case kChaser:
                Chaser(p);
                break;
            case kWall:
                Wall(p);
                break;
            case kWallWarning:
                WallWarning(p);
                break;
            case kSpareHighlight:
                Highlight(p);
                break;
            case kSpareSparkle:
                SparkleBurst(p);
                break;
            default:
                Trail(p, frame - kTrailFirst + 1);
                break;
        }
    };
    return s;
}

}  // namespace assetgen
