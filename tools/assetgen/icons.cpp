// White, tintable pictures: the menu icons ("common/icons"), the on-screen
// pad ("common/dpad") and the small particles ("parts").
#include "tools/assetgen/palette.h"
#include "tools/assetgen/pictogram.h"
#include "tools/assetgen/sheet.h"
#include "tools/assetgen/style.h"

namespace assetgen {
namespace {

constexpr float kIcon = 32;
constexpr Vec2 kIconMid{kIcon / 2, kIcon / 2};
constexpr float kDiscRadius = 13;
constexpr int kSelectionRing = 6;

// Frame -> pictogram; frame 6 is the selection ring instead.
const Pict kIconPicts[16] = {Pict::kPause,   Pict::kCross,    Pict::kRestart,   Pict::kPlay,
                             Pict::kSoundOn, Pict::kSoundOff, Pict::kDot,       Pict::kHome,
                             Pict::kStar,    Pict::kCheck,    Pict::kArrowLeft, Pict::kArrowRight,
                             Pict::kGear,    Pict::kInfo,     Pict::kNote,      Pict::kQuestion};

// A see-through disc with a solid rim and a solid pictogram; grey levels
// only, so the menus can tint it any colour.
void Icon(Painter &p, int frame) {
    Color white = pal::kWhite;
    if (frame == kSelectionRing) {
        p.Glow(
            p.frame(), [](Vec2 q) { return sdf::Ring(q, kIconMid, 14.2f, 1.5f); },
            WithAlpha(white, 0.35f), 1.6f);
        p.Fill([](Vec2 q) { return sdf::Ring(q, kIconMid, 14.2f, 1.5f); }, white);
        for (int i = 0; i < 4; ++i) {
            Vec2 a = Polar(kIconMid, 11.6f, kPi / 4 + kPi / 2 * i);
            Vec2 b = Polar(kIconMid, 13.8f, kPi / 4 + kPi / 2 * i);
            p.Fill([&](Vec2 q) { return sdf::Capsule(q, a, b, 1.1f); }, white);
        }
        return;
    }
    p.Fill([](Vec2 q) { return sdf::Circle(q, kIconMid, kDiscRadius); }, Rgb(40, 40, 40), 0.35f);
    p.Fill([](Vec2 q) { return sdf::Ring(q, kIconMid, kDiscRadius - 0.9f, 1.1f); }, white);
    Pict pict = kIconPicts[frame];
    p.Fill([&](Vec2 q) { return PictSdf(pict, q, kIconMid, 8.8f) - 0.6f; }, Rgb(0, 0, 0), 0.45f);
    p.Fill([&](Vec2 q) { return PictSdf(pict, q, kIconMid, 8.8f); }, white);
}

// Pad pieces: arrows 0-3 (up, right, down, left) and their pressed forms
// 4-7, the pad's centre 8, buttons 9-12, the pad's ring 13, a plain key 14
// and its pressed form 15.
void Pad(Painter &p, int frame) {
    const Pict arrows[4] = {Pict::kArrowUp, Pict::kArrowRight, Pict::kArrowDown, Pict::kArrowLeft};
    Color white = pal::kWhite;
    auto disc = [](Vec2 q) { return sdf::RoundBox(q, kIconMid, {13, 13}, 5); };
    if (frame < 8) {
        bool pressed = frame >= 4;
        p.Fill(disc, white, pressed ? 0.55f : 0.25f);
        p.Fill([&](Vec2 q) { return std::fabs(disc(q) + 0.8f) - 0.8f; }, white, 0.9f);
        p.Fill([&](Vec2 q) { return PictSdf(arrows[frame % 4], q, kIconMid, 8.5f); }, white);
    } else if (frame == 8) {
        p.Fill([](Vec2 q) { return sdf::Circle(q, kIconMid, 6); }, white, 0.6f);
    } else if (frame <= 12) {
        float r = 11;
        p.Fill([&](Vec2 q) { return sdf::Circle(q, kIconMid, r); }, white, 0.3f);
        p.Fill([&](Vec2 q) { return sdf::Ring(q, kIconMid, r - 0.8f, 0.9f); }, white);
        const Pict marks[4] = {Pict::kDot, Pict::kCross, Pict::kPlay, Pict::kPause};
        p.Fill([&](Vec2 q) { return PictSdf(marks[frame - 9], q, kIconMid, 6); }, white);
    } else if (frame == 13) {
        p.Fill([](Vec2 q) { return sdf::Ring(q, kIconMid, 14, 1.2f); }, white, 0.8f);
    } else {
        p.Fill(disc, white, frame == 15 ? 0.55f : 0.25f);
        p.Fill([&](Vec2 q) { return std::fabs(disc(q) + 0.8f) - 0.8f; }, white, 0.9f);
    }
}

// Particles: dots and sparkles in the palette's accents.
void Part(Painter &p, int frame) {
    Vec2 c{4, 4};
    Color col = pal::Accent((frame % 8) / 7.0f);
    if (frame < 8) {
        p.Glow(
            p.frame(), [&](Vec2 q) { return sdf::Circle(q, c, 1.2f); }, WithAlpha(col, 0.6f), 2.6f);
        p.Fill([&](Vec2 q) { return sdf::Circle(q, c, 1.6f); }, Mix(col, pal::kWhite, 0.4f));
    } else {
        style::Sparkle(p, c, 3.8f, col);
        style::Sparkle(p, c, 2.0f, pal::kWhite);
    }
}

}  // namespace

ImageSheet IconsSheet() {
    ImageSheet s;
    s.name = "common/icons";
    s.frameW = s.frameH = int(kIcon);
    s.frames = 16;
    s.columns = 4;
    s.draw = Icon;
    return s;
}

ImageSheet DpadSheet() {
    ImageSheet s;
    s.name = "common/dpad";
    s.frameW = s.frameH = 32;
    s.frames = 16;
    s.columns = 4;
    s.draw = Pad;
    return s;
}

ImageSheet PartsSheet() {
    ImageSheet s;
    s.name = "parts";
    s.frameW = s.frameH = 8;
    s.frames = 16;
    s.columns = 4;
    s.draw = Part;
    return s;
}

}  // namespace assetgen
