// Badges: the text table, the strip of pop-up panels along the left edge,
// the badges box over the title menu and the online-report hook.
//
// The game keeps an earned flag for each of 256 badges, but no rule of the
// game awards one; a caller that does would set badgeEarned[n] and start an
// idle pop-up slot with badge n and timer 1.
#include "game/myapp.h"
#include "host/app.h"
#include "runtime/runtime.h"

namespace {

constexpr int kPopupSlotsUsed = 13;
// Timer values: the slot lives 240 updates; the panel moves 16 virtual
// pixels per update and is 160 wide and 32 high, one slot every 34 pixels.
constexpr int kPopupLifetime = 240;
constexpr float kPopupSpeed = 16.0f;
constexpr float kPopupWidth = 160.0f;
constexpr float kPopupHeight = 32.0f;
constexpr float kPopupPitch = 34.0f;
// Last timer value before the panel starts to slide out.
constexpr int kPopupSlideOutFrom = kPopupLifetime - static_cast<int>(kPopupWidth / kPopupSpeed);
constexpr float kPopupTextInset = 16.0f;
constexpr float kPopupTextDrop = 4.0f;
constexpr float kPopupPictureX = 144.0f;
constexpr float kPopupPictureScale = 0.5f;
constexpr int kBadgePictures = 64;  // frames of the badge sheet
constexpr int kBadgeSheetSlot = 80;

}  // namespace

String c_MyApp::p_BadgeID(int n) {
    if (n == 0) return String("Test Badge|This is a Test Badge which has no purpose.");
    return String();
}

String c_MyApp::p_BadgeName(int n) {
    const Array<String> parts = p_BadgeID(n).Split(String("|"));
    return parts[0];
}

String c_MyApp::p_BadgeDetail(int n) {
    // A badge whose text has no "|" has no detail.
    const Array<String> parts = p_BadgeID(n).Split(String("|"));
    if (parts.Length() < 2) return String();
    return parts[1];
}

int c_MyApp::p_ShowBadges() {
    p_ResetDraw();
    for (int s = 0; s < kPopupSlotsUsed; ++s) {
        if (badgePopupTimer[s] <= 0) continue;
        badgePopupTimer[s] += 1;
        const int t = badgePopupTimer[s];
        const int b = badgePopupBadge[s];

        float x = kPopupSpeed * t - kPopupWidth;
        if (t > kPopupSlideOutFrom) x = (kPopupLifetime - t) * kPopupSpeed - kPopupWidth;
        if (x > 0) x = 0;
        // The slot is free again; its panel is still drawn this once.
        if (t > kPopupLifetime) badgePopupTimer[s] = 0;
        const float y = jscrh - kPopupPitch * (s + 1);

        p_SetCol(0, 0, 80, 0.8f);
        p_Rect(x, y, kPopupWidth, kPopupHeight);
        p_SetCol(255, 255, 255, 1);
        p_Text(x + kPopupTextInset, y + kPopupTextDrop, p_BadgeName(b), 0, 0);
        // Only badges 0 to 63 have a picture.
        if (b >= 0 && b < kBadgePictures) {
            p_SetSize(kPopupPictureScale, kAbsentF);
            p_DrawImg(kBadgeSheetSlot, x + kPopupPictureX, y + kPopupHeight / 2, b);
            p_SetSize(1, kAbsentF);
        }
    }
    return 0;
}

int c_MyApp::p_BadgesBox() {
    p_ResetDraw();
    p_SetCol(255, 125, 0, 0.8f);
    p_Rect(0.1f * jscrw, -1, 0.8f * jscrw, jscrh + 2);
    p_SetCol(100, 0, 0, 0.8f);
    p_Rect(0.12f * jscrw, -1, 0.76f * jscrw, jscrh + 2);
    p_SetCol(255, 255, 255, 1);
    return 0;
}

int c_MyApp::p_GC_Badges() {
    return 0;
}
