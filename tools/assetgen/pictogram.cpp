// Pictogram shapes, defined on a unit circle and scaled.
#include "tools/assetgen/pictogram.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/sdf.h"

namespace assetgen {
namespace {

using namespace sdf;

float Triangle(Vec2 q, Vec2 a, Vec2 b, Vec2 c, float round) {
    Vec2 v[3] = {a, b, c};
    return Polygon(q, v, 3) - round;
}

float Speaker(Vec2 q) {
    Vec2 cone[4] = {{-0.30f, -0.18f}, {0.02f, -0.48f}, {0.02f, 0.48f}, {-0.30f, 0.18f}};
    return Union(RoundBox(q, {-0.42f, 0}, {0.16f, 0.18f}, 0.04f), Polygon(q, cone, 4) - 0.03f);
}

float Arrow(Vec2 q) {  // pointing right
    return Union(Triangle(q, {0.05f, -0.5f}, {0.58f, 0}, {0.05f, 0.5f}, 0.05f),
                 Capsule(q, {-0.52f, 0}, {0.1f, 0}, 0.13f));
}

float Unit(Pict pict, Vec2 q) {
    switch (pict) {
        case Pict::kPause:
            return Union(RoundBox(q, {-0.27f, 0}, {0.14f, 0.5f}, 0.07f),
                         RoundBox(q, {0.27f, 0}, {0.14f, 0.5f}, 0.07f));
        case Pict::kCross:
            return Union(Capsule(q, {-0.42f, -0.42f}, {0.42f, 0.42f}, 0.13f),
                         Capsule(q, {-0.42f, 0.42f}, {0.42f, -0.42f}, 0.13f));
        case Pict::kPlay:
            return Triangle(q, {-0.28f, -0.46f}, {0.5f, 0}, {-0.28f, 0.46f}, 0.08f);
        case Pict::kSoundOn:
            return Union(Speaker(q - Vec2{-0.08f, 0}),
                         Union(Arc(q, {-0.02f, 0}, 0.32f, 0.065f, 0.9f, 2.24f),
                               Arc(q, {-0.02f, 0}, 0.56f, 0.065f, 0.75f, 2.39f)));
        case Pict::kSoundOff:
            return Union(Speaker(q - Vec2{-0.14f, 0}),
                         Union(Capsule(q, {0.24f, -0.23f}, {0.66f, 0.23f}, 0.085f),
                               Capsule(q, {0.24f, 0.23f}, {0.66f, -0.23f}, 0.085f)));
        case Pict::kRestart: {
            // Open ring, clockwise, with its arrow head at the top-left end.
            constexpr float kGap = 0.45f, kR = 0.42f;
            Vec2 end = Polar({0, 0.04f}, kR, -kGap);
            return Union(Arc(q, {0, 0.04f}, kR, 0.11f, kGap, 2 * kPi - kGap),
                         Triangle(q, end + Vec2{-0.06f, -0.24f}, end + Vec2{0.26f, 0},
                                  end + Vec2{-0.06f, 0.24f}, 0.03f));
        }
        case Pict::kHome: {
            Vec2 roof[3] = {{-0.62f, -0.02f}, {0, -0.58f}, {0.62f, -0.02f}};
            float house = Union(Polygon(q, roof, 3) - 0.04f, Rect(q, -0.42f, -0.1f, 0.42f, 0.52f));
            return Subtract(house, RoundBox(q, {0, 0.3f}, {0.12f, 0.24f}, 0.04f));
        }
        case Pict::kStar: {
            static const std::vector<Vec2> star = Star({0, 0.04f}, 0.62f, 0.27f, 5);
            return Polygon(q, star) - 0.04f;
        }
        case Pict::kGear: {
            float d = Circle(q, {0, 0}, 0.38f);
            // Eight teeth: fold the angle into one tooth's sector.
            float a = std::atan2(q.x, -q.y);
            float sector = kPi / 4;
            float rel = a - sector * std::round(a / sector);
            float len = Length(q);
            Vec2 r{len * std::sin(rel), -len * std::cos(rel)};
            d = Union(d, RoundBox(r, {0, -0.45f}, {0.1f, 0.14f}, 0.03f));
            return Subtract(d, Circle(q, {0, 0}, 0.16f));
        }
        case Pict::kInfo:
            return Union(Circle(q, {0, -0.44f}, 0.12f), Capsule(q, {0, -0.14f}, {0, 0.48f}, 0.11f));
        case Pict::kCheck:
            return Union(Capsule(q, {-0.45f, 0.02f}, {-0.13f, 0.34f}, 0.12f),
                         Capsule(q, {-0.13f, 0.34f}, {0.5f, -0.36f}, 0.12f));
        case Pict::kArrowRight:
            return Arrow(q);
        case Pict::kArrowLeft:
            return Arrow({-q.x, q.y});
        case Pict::kArrowDown:
            return Arrow({q.y, q.x});
        case Pict::kArrowUp:
            return Arrow({-q.y, q.x});
        case Pict::kPlus:
            return Union(Capsule(q, {-0.45f, 0}, {0.45f, 0}, 0.12f),
                         Capsule(q, {0, -0.45f}, {0, 0.45f}, 0.12f));
        case Pict::kMinus:
            return Capsule(q, {-0.45f, 0}, {0.45f, 0}, 0.12f);
        case Pict::kNote:
            return Union(Union(Ellipse(q, {-0.16f, 0.36f}, 0.22f, 0.16f),
                               Capsule(q, {0.04f, 0.34f}, {0.04f, -0.5f}, 0.06f)),
                         Capsule(q, {0.04f, -0.5f}, {0.36f, -0.24f}, 0.07f));
        case Pict::kTrophy: {
            Vec2 cup[4] = {{-0.42f, -0.5f}, {0.42f, -0.5f}, {0.2f, 0.02f}, {-0.2f, 0.02f}};
            float d = Polygon(q, cup, 4) - 0.05f;
            d = Union(d, Arc(q, {-0.36f, -0.26f}, 0.18f, 0.05f, 3.3f, 6.2f));
            d = Union(d, Arc(q, {0.36f, -0.26f}, 0.18f, 0.05f, 0.1f, 3.0f));
            d = Union(d, Rect(q, -0.06f, 0, 0.06f, 0.3f));
            return Union(d, RoundBox(q, {0, 0.4f}, {0.28f, 0.1f}, 0.04f));
        }
        case Pict::kQuestion:
            return Union(Union(Arc(q, {0, -0.2f}, 0.28f, 0.1f, -1.6f, 2.4f),
                               Capsule(q, {0.2f, 0.0f}, {0, 0.14f}, 0.1f)),
                         Circle(q, {0, 0.46f}, 0.11f));
        case Pict::kDot:
            return Circle(q, {0, 0}, 0.3f);
    }
    return 1;
}

}  // namespace

float PictSdf(Pict pict, Vec2 p, Vec2 c, float size) {
    return Unit(pict, (p - c) * (1.0f / size)) * size;
}

}  // namespace assetgen
