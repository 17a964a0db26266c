// Polygon builders for the shape functions.
#include "tools/assetgen/sdf.h"

namespace assetgen::sdf {

std::vector<Vec2> RegularPolygon(Vec2 c, float r, int sides, float rot) {
    std::vector<Vec2> v;
    for (int i = 0; i < sides; ++i) v.push_back(Polar(c, r, rot + 2 * kPi * i / sides));
    return v;
}

std::vector<Vec2> Star(Vec2 c, float outer, float inner, int points, float rot) {
    std::vector<Vec2> v;
    for (int i = 0; i < 2 * points; ++i) {
        v.push_back(Polar(c, (i % 2) ? inner : outer, rot + kPi * i / points));
    }
    return v;
}

}  // namespace assetgen::sdf
