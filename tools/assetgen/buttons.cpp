// Coloured buttons ("common/Buttons") and the arcade-cabinet switch
// ("common/icade"). Drawn untinted, so they carry the palette themselves.
#include "tools/assetgen/palette.h"
#include "tools/assetgen/pictogram.h"
#include "tools/assetgen/sheet.h"
#include "tools/assetgen/style.h"

namespace assetgen {
namespace {

constexpr float kButton = 64;
constexpr Vec2 kMid{kButton / 2, kButton / 2};
constexpr float kHalf = 26;
constexpr float kRadius = 13;
constexpr int kStartFrame = 1;
constexpr int kFaceFrame = 12;

struct ButtonLook {
    Pict pict;
    Color colour;
    bool blank;
};

const ButtonLook kLooks[16] = {
    {Pict::kDot, pal::kSlate, true},        {Pict::kPlay, pal::kMint, false},
    {Pict::kPause, pal::kCyan, false},      {Pict::kRestart, pal::kSky, false},
    {Pict::kHome, pal::kViolet, false},     {Pict::kGear, pal::kSlate, false},
    {Pict::kInfo, pal::kSky, false},        {Pict::kArrowLeft, pal::kCyan, false},
    {Pict::kArrowRight, pal::kCyan, false}, {Pict::kTrophy, pal::kGold, false},
    {Pict::kSoundOn, pal::kMint, false},    {Pict::kNote, pal::kMagenta, false},
    {Pict::kDot, pal::kGold, true},         {Pict::kCheck, pal::kMint, false},
    {Pict::kCross, pal::kCoral, false},     {Pict::kQuestion, pal::kViolet, false},
};

void Base(Painter &p, Color colour, Vec2 half, float radius) {
    Box b{kMid.x - half.x, kMid.y - half.y, kMid.x + half.x, kMid.y + half.y};
    auto body = [&](Vec2 q) { return sdf::RoundBox(q, kMid, half, radius); };
    style::Shadow(p, b, body, {1.5f, 3}, 2.5f, 0.6f);
    p.Fill(
        Box{b.x0 - 2, b.y0 - 2, b.x1 + 2, b.y1 + 2}, [&](Vec2 q) { return body(q) - 2; },
        pal::kInk);
    style::Tile(p, kMid, half, radius, Shade(colour, 0.25f), Shade(colour, -0.3f));
}

// The face in the credits dial: the player piece, smiling, on a round plate.
void Face(Painter &p) {
    style::Gem(p, kMid, 26, Rgb(170, 250, 255), Rgb(24, 150, 226), 2.2f);
    for (int side = -1; side <= 1; side += 2) {
        Vec2 e{kMid.x + side * 9.0f, kMid.y - 4};
        p.Fill(
            Around(e, 7), [&](Vec2 q) { return sdf::Ellipse(q, e, 5, 6); }, pal::kWhite);
        Vec2 pu{e.x + 1, e.y + 1};
        p.Fill(
            Around(pu, 4), [&](Vec2 q) { return sdf::Circle(q, pu, 3); }, pal::kInk);
        Vec2 cheek{kMid.x + side * 15.0f, kMid.y + 7};
        p.Fill(
            Around(cheek, 5), [&](Vec2 q) { return sdf::Ellipse(q, cheek, 4, 2.6f); }, pal::kCoral,
            0.45f);
    }
    p.Fill(
        p.frame(),
        [](Vec2 q) {
            return sdf::Arc(q, {kMid.x, kMid.y + 3}, 9, 1.8f, 2.1f, 4.18f);
        },
        pal::kInk);
}

void Button(Painter &p, int frame) {
    const ButtonLook &look = kLooks[frame];
    if (frame == kFaceFrame) {
        Face(p);
        return;
    }
    Base(p, look.colour, {kHalf, kHalf}, kRadius);
    if (look.blank) return;
    float size = frame == kStartFrame ? 20.0f : 17.0f;
    Vec2 c{kMid.x + (look.pict == Pict::kPlay ? 1.5f : 0), kMid.y - 1};
    p.Fill(
        [&](Vec2 q) {
            return PictSdf(look.pict, q - Vec2{1, 2}, c, size);
        },
        pal::kInk, 0.45f, 1.5f);
    p.Fill([&](Vec2 q) { return PictSdf(look.pict, q, c, size); }, pal::kWhite);
}

// Arcade cabinet, front view: marquee, screen, control deck and base.
void Cabinet(Painter &p, bool on) {
    Color body = on ? pal::kViolet : Rgb(70, 78, 120);
    Color trim = on ? pal::kMagenta : Rgb(52, 58, 96);
    if (on) {
        p.Glow(
            p.frame(),
            [](Vec2 q) {
                return sdf::RoundBox(q, {32, 30}, {17, 24}, 4);
            },
            WithAlpha(pal::kCyan, 0.35f), 8);
    }
    std::vector<Vec2> outline = {{15, 6},  {49, 6},  {49, 30}, {53, 40},
                                 {53, 58}, {11, 58}, {11, 40}, {15, 30}};
    auto shell = [&](Vec2 q) { return sdf::Polygon(q, outline) - 1.5f; };
    style::Outlined(p, p.frame(), shell, Shade(body, 0.2f), Shade(body, -0.35f), 2);
    // Marquee.
    auto marquee = [](Vec2 q) { return sdf::RoundBox(q, {32, 11}, {14, 3.6f}, 1.5f); };
    p.Fill(marquee, on ? pal::kGold : Rgb(96, 100, 130));
    if (on) p.Glow(p.frame(), marquee, WithAlpha(pal::kGold, 0.4f), 3);
    // Screen.
    auto screen = [](Vec2 q) { return sdf::RoundBox(q, {32, 23}, {12.5f, 7.5f}, 2.5f); };
    p.Fill(
        Box{18, 14, 46, 32}, [&](Vec2 q) { return screen(q) - 1.2f; }, pal::kInk);
    if (on) {
        style::Gradient(p, Box{19, 15, 45, 31}, screen, Rgb(120, 240, 255), Rgb(20, 110, 200));
        Vec2 pl{27, 24}, ch{37, 22};
        p.Fill(
            Around(pl, 3),
            [&](Vec2 q) {
                return sdf::RoundBox(q, pl, {2.4f, 2.4f}, 1);
            },
            pal::kWhite);
        p.Fill(
            Around(ch, 3), [&](Vec2 q) { return sdf::Circle(q, ch, 2.2f); }, pal::kCoral);
    } else {
        style::Gradient(p, Box{19, 15, 45, 31}, screen, Rgb(30, 34, 60), Rgb(14, 16, 36));
    }
    // Control deck with stick and buttons.
    auto deck = [](Vec2 q) {
        std::vector<Vec2> v = {{15, 33}, {49, 33}, {52, 41}, {12, 41}};
        return sdf::Polygon(q, v) - 0.6f;
    };
    p.Fill(deck, Shade(trim, on ? 0.1f : 0.0f));
    Color knob = on ? pal::kCoral : Rgb(110, 110, 140);
    p.Fill([](Vec2 q) { return sdf::Capsule(q, {22, 37}, {22, 32}, 1); }, pal::kInk);
    p.Fill([&](Vec2 q) { return sdf::Circle(q, {22, 31.5f}, 2.6f); }, knob);
    const Color lights[3] = {pal::kGold, pal::kCyan, pal::kMint};
    for (int i = 0; i < 3; ++i) {
        Vec2 c{34.0f + 5.5f * i, 37.5f};
        p.Fill(
            Around(c, 3), [&](Vec2 q) { return sdf::Circle(q, c, 2); },
            on ? lights[i] : Rgb(96, 100, 130));
    }
    // Coin door.
    p.Fill([](Vec2 q) { return sdf::RoundBox(q, {32, 50}, {5, 4.5f}, 1); }, Shade(body, -0.45f));
    p.Fill(
        [](Vec2 q) {
            return sdf::Capsule(q, {32, 48}, {32, 51}, 0.7f);
        },
        on ? pal::kGold : Rgb(120, 120, 150));
}

}  // namespace

ImageSheet ButtonsSheet() {
    ImageSheet s;
    s.name = "common/Buttons";
    s.frameW = s.frameH = int(kButton);
    s.frames = 16;
    s.columns = 4;
    s.draw = Button;
    return s;
}

ImageSheet ICadeSheet() {
    ImageSheet s;
    s.name = "common/icade";
    s.frameW = s.frameH = 64;
    s.frames = 2;
    s.columns = 2;
    s.draw = [](Painter &p, int frame) { Cabinet(p, frame == 1); };
    return s;
}

}  // namespace assetgen
