// The credits box: a television test card drawn over the title menu.
//
// A grid of square tiles (white field, black rim with colour ramps, a grey
// bar near the bottom), the circle picture in the middle, the game logo on
// the grey bar, four corner dials (window size, virtual size and measured
// rates) and the credits text rising slowly through the middle. While the
// box opens (creditsSlide 0 to 30) the tiles fly in from outside and grow and
// the whole box fades in; closing runs the same animation backwards.
#include <cmath>
#include <cstdint>

#include "game/myapp.h"
#include "graphics/device.h"
#include "host/app.h"
#include "runtime/runtime.h"

namespace {

// Slide counter values: fully open, and the point where tiles reach full size.
constexpr float kSlideOpen = 30.0f;
constexpr float kSlideFullTile = 20.0f;
// The grid has at least this many tiles along the longer side of the screen.
constexpr float kTilesAcross = 12.0f;

// Inset of the grey field inside an inner tile, and of the colour strip
// inside a rim tile, in virtual pixels.
constexpr float kInnerInset = 2.0f;
constexpr float kRimInset = 8.0f;
// Ramp range of the rim colours before limiting to 0..255.
constexpr float kRampRange = 512.0f;

// Credits text: scroll speed and line pitch in virtual pixels, fade distance.
constexpr float kScrollPerUpdate = 0.3f;
constexpr float kLinePitch = 16.0f;
constexpr float kFadeDistance = 40.0f;
constexpr float kFadeStart = 0.3f;
constexpr float kTextScale = 0.8f;
// Lines shown: CreditText less its last line.
constexpr int kCreditLinesShown = 38;

// Image slots and frames.
constexpr int kTestcardCircle = 91;
constexpr int kLogo = 98;
constexpr int kButtons = 95;
constexpr int kButtonsDialFrame = 12;
constexpr int kBrandLogo = 93;
constexpr int kCloseSound = 99;

// A colour component from a ramp value: truncated, then limited to 0..255.
float RampComponent(float q) {
    int v = TruncToInt(q);
    if (v < 0) v = 0;
    if (v > 255) v = 255;
    return static_cast<float>(v);
}

// Signed distance of tile i from the middle of n + 1 tiles; never 0.
int TileDistance(int i, int n) {
    int d = i - n / 2;
    if (d <= 0) d -= 1;
    return d;
}

// Ramp divisor: tiles along a side less the two corners, at least 1 so very
// wide or tall windows cannot divide by zero.
float RampDivisor(int tiles) {
    return static_cast<float>(tiles - 2 > 1 ? tiles - 2 : 1);
}

}  // namespace

int c_MyApp::p_CreditBox() {
    const float W = jscrw;
    const float H = jscrh;
    const int t = creditsSlide;
    const float fade = t / kSlideOpen;

    const float s = std::fmax(W / kTilesAcross, H / kTilesAcross);
    const int cols = TruncToInt(W / s);
    const int rows = TruncToInt(H / s);
    const float x0 = W / 2 - s * cols / 2;
    const float y0 = H / 2 - s * rows / 2;
    const float c = kSlideOpen - t;  // distance still to travel
    const float z = t >= kSlideFullTile ? s : (t / kSlideFullTile) * s;
    const float colRamp = RampDivisor(cols);
    const float rowRamp = RampDivisor(rows);

    // Tiles.
    p_ResetDraw();
    p_Alpha(fade);
    for (int i = 0; i <= cols; ++i) {
        for (int j = 0; j <= rows; ++j) {
            const int di = TileDistance(i, cols);
            const int dj = TileDistance(j, rows);
            const float x = s * i + c * di * std::abs(di) + x0 - z / 2;
            const float y = s * j + c * dj * std::abs(dj) + y0 - z / 2;
            const bool leftOrRight = i == 0 || i == cols;
            const bool topOrBottom = j == 0 || j == rows;
            const bool rim = leftOrRight || topOrBottom;

            if (rim) {
                p_SetCol(0, 0, 0, kAbsentF);
            } else {
                p_SetCol(255, 255, 255, kAbsentF);
            }
            p_Rect(x, y, z + 1, z + 1);

            if (!rim) {
                // The grey fields of the second row from the bottom join into
                // one bar behind the logo.
                float dx = kInnerInset;
                float dw = 2 * kInnerInset;
                if (j == rows - 1) {
                    if (3 < i && i < cols - 2) {
                        dx = -6;
                        dw = -24;
                    }
                    if (i == cols - 3) dw = -4;
                }
                p_SetCol(128, 128, 128, kAbsentF);
                p_Rect(x + dx, y + kInnerInset, z - dw, z - 2 * kInnerInset);
            }

            if (rim && !(leftOrRight && topOrBottom)) {
                const float u = kRampRange / colRamp * (i - 1);
                const float v = kRampRange / rowRamp * (j - 1);
                float r = 0, g = 0, b = 0;
                if (j == 0) {
                    r = RampComponent(u);
                    g = RampComponent(kRampRange - u);
                    b = 0;
                }
                if (i == 0) {
                    r = 0;
                    g = RampComponent(kRampRange - v);
                    b = RampComponent(v);
                }
                if (i == cols) {
                    r = RampComponent(kRampRange - v);
                    g = 0;
                    b = RampComponent(v);
                }
                if (j == rows) {
                    r = g = b = RampComponent((i - 1) * 255.0f / colRamp);
                }
                const float dx = leftOrRight ? 0 : kRimInset;
                const float dy = topOrBottom ? 0 : kRimInset;
                p_SetCol(r, g, b, kAbsentF);
                p_Rect(x + dx, y + dy, z - 2 * dx, z - 2 * dy);
            }
        }
    }

    // Centre picture.
    p_Alpha(fade);
    p_SetSize(1, kAbsentF);
    p_SetCol(255, 255, 255, kAbsentF);
    p_DrawImg(kTestcardCircle, W / 2, H / 2 - 24 * c, 0);

    // Credits text, one new line at the centre every 53 to 54 updates.
    creditsScroll -= kScrollPerUpdate;
    if (creditsScroll < -kLinePitch) {
        creditsScroll += kLinePitch;
        creditsLine += 1;
    }
    for (int k = -3; k <= 4; ++k) {
        float f = std::fabs((creditsScroll + kLinePitch * k) / kFadeDistance) - kFadeStart;
        if (f < 0) f = 0;
        if (f > 1) f = 1;
        p_Alpha(1 - f);
        int64_t index = (static_cast<int64_t>(k) + creditsLine) % kCreditLinesShown;
        if (index < 0) index += kCreditLinesShown;
        const String line = index < CreditText.Length() ? CreditText[index] : String();
        p_Text(W / 2 + 24, H / 2 - 24 * c + kLinePitch * k + creditsScroll, line, kTextScale,
               kTextScale);
    }

    // Logo on the grey bar.
    p_Alpha(fade);
    p_SetCol(255, 255, 255, kAbsentF);
    p_SetSize(0.4f, kAbsentF);
    p_DrawImg(kLogo, W / 2, s * (rows - 1) + 4 * c + y0, 0);
    p_ResetDraw();
    p_Alpha(fade);

    // Corner dials.
    const float leftX = x0 + 1.5f * s - 6 * c;
    const float rightX = x0 + (cols - 1.5f) * s + 6 * c;
    const float topY = y0 + 1.5f * s - 3 * c;
    const float bottomY = y0 + (rows - 1.5f) * s + 6 * c;
    auto dial = [&](float X, float Y) {
        p_SetCol(255, 255, 255, kAbsentF);
        p_Oval(X, Y, z, z);
        p_SetCol(128, 128, 128, kAbsentF);
        p_Oval(X, Y, z - 3, z - 3);
        p_SetCol(255, 255, 255, kAbsentF);
    };
    auto numbers = [&](float X, float Y, int a, int b, int d) {
        p_Text(X, Y - kLinePitch, String(" ") + String(a), kTextScale, kTextScale);
        p_Text(X, Y, String(" ") + String(b), kTextScale, kTextScale);
        p_Text(X, Y + kLinePitch, String(" ") + String(d), kTextScale, kTextScale);
    };
    dial(leftX, topY);
    numbers(leftX, topY, bb_graphics_device->Width(), bb_graphics_device->Height(),
            updateFpsSmoothed);
    dial(rightX, topY);
    numbers(rightX, topY, TruncToInt(W), TruncToInt(H), renderFpsSmoothed);
    dial(leftX, bottomY);
    p_SetSize(1, kAbsentF);
    p_DrawImg(kButtons, leftX, bottomY, kButtonsDialFrame);
    dial(rightX, bottomY);
    p_SetSize(0.3f, kAbsentF);
    p_DrawImg(kBrandLogo, rightX, bottomY, 0);

    // A press anywhere closes the box, unless a menu control took it.
    if (pointerDown > 0 && pressConsumed == 0) {
        pressConsumed = 1;
        creditsOpen = 0;
        p_PlaySFX(kCloseSound, 1, 1, 0);
    }
    return 0;
}
