// Pictograms shared by the icons, buttons and pad pictures: each is a shape
// fitting a circle of radius `size` around its centre.
#pragma once

#include "tools/assetgen/vec.h"

namespace assetgen {

enum class Pict {
    kPause,
    kCross,
    kPlay,
    kSoundOn,
    kSoundOff,
    kRestart,
    kHome,
    kStar,
    kGear,
    kInfo,
    kCheck,
    kArrowLeft,
    kArrowRight,
    kArrowUp,
    kArrowDown,
    kPlus,
    kMinus,
    kNote,
    kTrophy,
    kQuestion,
    kDot
};

// Signed distance (design units) to the pictogram centred on c.
float PictSdf(Pict pict, Vec2 p, Vec2 c, float size);

}  // namespace assetgen
