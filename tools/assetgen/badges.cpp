// Badge medallions ("BadgesA"): 64 distinct badges from eight outlines,
// eight colours and ten emblems. Frame 0, the test badge, carries test-card
// colour bars.
#include <cmath>

#include "tools/assetgen/palette.h"
#include "tools/assetgen/pictogram.h"
#include "tools/assetgen/sheet.h"
#include "tools/assetgen/style.h"

namespace assetgen {
namespace {

constexpr float kBadge = 64;
constexpr Vec2 kMid{kBadge / 2, kBadge / 2};
constexpr int kBadges = 64;
constexpr int kShapes = 8;

const Color kHues[8] = {pal::kCyan,   pal::kGold,  pal::kCoral, pal::kMint,
                        pal::kViolet, pal::kAmber, pal::kSky,   pal::kMagenta};
const Pict kEmblems[10] = {Pict::kStar, Pict::kCheck,   Pict::kTrophy, Pict::kNote, Pict::kPlay,
                           Pict::kHome, Pict::kArrowUp, Pict::kPlus,   Pict::kGear, Pict::kInfo};

// Outline number `shape` (0-7) around the frame's middle, radius about r.
// Polygon corners are worked out once per badge, not per pixel.
class Outline {
public:
    Outline(int shape, float r) : shape_(shape), r_(r) {
        switch (shape) {
            case 1:
                v_ = sdf::RegularPolygon(kMid, r * 1.05f, 6);
                break;
            case 2:
                v_ = sdf::RegularPolygon(kMid, r * 1.02f, 8, kPi / 8);
                break;
            case 3:  // shield
                v_ = {{kMid.x - r * 0.9f, kMid.y - r * 0.85f},
                      {kMid.x + r * 0.9f, kMid.y - r * 0.85f},
                      {kMid.x + r * 0.8f, kMid.y + r * 0.2f},
                      {kMid.x, kMid.y + r * 1.0f},
                      {kMid.x - r * 0.8f, kMid.y + r * 0.2f}};
                break;
            case 6:
                v_ = sdf::RegularPolygon(kMid, r * 1.12f, 4);
                break;
            case 7:
                v_ = sdf::RegularPolygon(kMid, r * 1.05f, 5);
                break;
            default:
                break;
        }
    }
    float operator()(Vec2 q) const {
        switch (shape_) {
            case 0:
                return sdf::Circle(q, kMid, r_);
            case 1:
                return sdf::Polygon(q, v_) - 1.5f;
            case 2:
                return sdf::Polygon(q, v_) - 1;
            case 3:
                return sdf::Polygon(q, v_) - 2.5f;
            case 4: {  // scalloped rosette
                Vec2 d = q - kMid;
                float a = std::atan2(d.x, -d.y);
                return Length(d) - r_ * (0.95f + 0.06f * std::cos(12 * a));
            }
            case 5:
                return sdf::RoundBox(q, kMid, {r_ * 0.88f, r_ * 0.88f}, r_ * 0.3f);
            case 6:
                return sdf::Polygon(q, v_) - 3;
            default:
                return sdf::Polygon(q, v_) - 2;
        }
    }

private:
    int shape_;
    float r_;
    std::vector<Vec2> v_;
};

void Badge(Painter &p, int n) {
    int shape = n % kShapes;
    Color hue = kHues[(n / kShapes) % 8];
    Pict emblem = kEmblems[(n * 3 + n / kShapes) % 10];
    const float r = 25;
    Box b = Around(kMid, 32);
    Outline outline(shape, r);
    auto outer = [&](Vec2 q) { return outline(q); };
    auto inner = [&](Vec2 q) { return outline(q) + 5.0f; };
    style::Shadow(p, b, outer, {1.2f, 2.4f}, 2.5f, 0.6f);
    p.Fill(
        b, [&](Vec2 q) { return outer(q) - 2; }, pal::kInk);
    // Rim: metallic light-to-dark; face: the badge colour.
    style::Gradient(p, b, outer, Shade(hue, 0.55f), Shade(hue, -0.35f));
    p.Fill(
        b, [&](Vec2 q) { return std::fabs(inner(q)) - 0.8f; }, pal::kInk, 0.6f);
    if (n == 0) {
        const Color bars[6] = {pal::kWhite,      Rgb(235, 235, 16), Rgb(16, 235, 235),
                               Rgb(16, 235, 16), Rgb(235, 16, 235), Rgb(235, 16, 16)};
        p.Fill(b, inner, [&](Vec2 q) {
            if (q.y > kMid.y + 8) return Rgb(30, 30, 30);
            int i = std::clamp(int((q.x - 12) / 40 * 6), 0, 5);
            return bars[i];
        });
        p.Fill(
            b, [&](Vec2 q) { return sdf::Intersect(inner(q), std::fabs(q.y - kMid.y - 8) - 0.8f); },
            pal::kWhite);
        p.Fill(
            b,
            [&](Vec2 q) {
                return PictSdf(Pict::kCheck, q, {kMid.x, kMid.y - 2}, 10) - 1.6f;
            },
            pal::kInk);
        p.Fill(
            b,
            [&](Vec2 q) {
                return PictSdf(Pict::kCheck, q, {kMid.x, kMid.y - 2}, 10);
            },
            pal::kWhite);
    } else {
        style::Gradient(p, b, inner, Shade(hue, 0.05f), Shade(hue, -0.45f));
        // Sun rays on the face.
        p.Fill(
            b,
            [&](Vec2 q) {
                Vec2 d = q - kMid;
                float a = std::atan2(d.x, -d.y);
                float ray = std::fabs(std::sin(a * 8)) - 0.5f;
                return sdf::Intersect(inner(q), ray * Length(d) * 0.3f);
            },
            pal::kWhite, 0.08f);
        p.Fill(
            b,
            [&](Vec2 q) {
                return PictSdf(emblem, q - Vec2{0.8f, 1.6f}, kMid, 11);
            },
            pal::kInk, 0.5f, 1.2f);
        p.Fill(
            b, [&](Vec2 q) { return PictSdf(emblem, q, kMid, 11); }, pal::kWhite);
    }
    // Glint on the rim.
    style::Sparkle(p, {kMid.x - 14, kMid.y - 15}, 4.5f, pal::kWhite, 0.85f);
}

}  // namespace

ImageSheet BadgesSheet() {
    ImageSheet s;
    s.name = "BadgesA";
    s.frameW = s.frameH = int(kBadge);
    s.frames = kBadges;
    s.columns = 16;  // 16 x 4 keeps the 4x sheet at 4096 x 1024
    s.draw = Badge;
    return s;
}

}  // namespace assetgen
