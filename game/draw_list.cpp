// The draw list: screens record 15-float records in virtual-screen pixels
// while they update, and p_OnRender clears the window and replays the
// records scaled by one uniform factor that makes one side of the 640 x 480
// design screen fill the window.
//
// Record layout (index within a record): 0 op (image slot >= 0, or one of
// the rectangle, ellipse and line op codes), 1 x, 2 y, 3 rotation, 4 scale x
// / width / x radius / line end x, 5 scale y / height / y radius / line end
// y, 6 frame, 7 alpha, 10-12 colour, 13 blend code. 8, 9 and 14 are unused.
#include "game/myapp.h"

#include "graphics/graphics.h"

namespace {

constexpr int kRecOp = 0;
constexpr int kRecX = 1;
constexpr int kRecY = 2;
constexpr int kRecRotation = 3;
constexpr int kRecA = 4;
constexpr int kRecB = 5;
constexpr int kRecFrame = 6;
constexpr int kRecAlpha = 7;
constexpr int kRecRed = 10;
constexpr int kRecGreen = 11;
constexpr int kRecBlue = 12;
constexpr int kRecBlend = 13;

constexpr int kBlendAdditiveCode = 3;
constexpr int kResetBlendCode = 1;

constexpr int kMillisPerSecond = 1000;
constexpr int kRateSmoothingOld = 9;
constexpr int kRateSmoothingTotal = 10;

}  // namespace

int c_MyApp::p_ResetDraw() {
    drawScaleX = 1.0f;
    drawScaleY = 1.0f;
    drawRotation = 0.0f;
    drawRed = 255.0f;
    drawGreen = 255.0f;
    drawBlue = 255.0f;
    drawAlpha = 1.0f;
    drawBlend = kResetBlendCode;
    return 0;
}

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
    if (r > kAbsentF) {
        clearRed = r;
        clearGreen = g;
        clearBlue = b;
        clearAlpha = a;
    }
    p_ResetDraw();
    drawListLength = 0;
    return 0;
}

int c_MyApp::p_SetSize(float sx, float sy) {
    drawScaleX = sx;
    drawScaleY = sy > kAbsentF ? sy : sx;
    return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
    drawRed = r;
    drawGreen = g;
    drawBlue = b;
    if (a > kAbsentF) drawAlpha = a;
    return 0;
}

int c_MyApp::p_Alpha(float a) {
    drawAlpha = a;
    return 0;
}

void c_MyApp::AppendRecord(float op, float x, float y, float a, float b, float frame) {
    if (drawListLength > kDrawListLastStart) return;
    float *rec = drawList.Data() + drawListLength;
    rec[kRecOp] = op;
    rec[kRecX] = x;
    rec[kRecY] = y;
    rec[kRecRotation] = drawRotation;
    rec[kRecA] = a;
    rec[kRecB] = b;
    rec[kRecFrame] = frame;
    rec[kRecAlpha] = drawAlpha;
    rec[kRecRed] = drawRed;
    rec[kRecGreen] = drawGreen;
    rec[kRecBlue] = drawBlue;
    rec[kRecBlend] = static_cast<float>(drawBlend);
    drawListLength += kDrawRecordFloats;
}

int c_MyApp::p_DrawImg(int slot, float x, float y, float frame) {
    AppendRecord(static_cast<float>(slot), x, y, drawScaleX, drawScaleY, frame);
    return 0;
}

int c_MyApp::p_Rect(float x, float y, float w, float h) {
    AppendRecord(kDrawOpRect, x, y, w, h, 0.0f);
    return 0;
}

int c_MyApp::p_Oval(float x, float y, float rx, float ry) {
    AppendRecord(kDrawOpOval, x, y, rx, ry, 0.0f);
    return 0;
}

int c_MyApp::p_OnRender() {
    if (HasMusic == 1) musicPlayer->p_Tz_Alive_R();
    int t = bb_app__game ? bb_app__game->Millisecs() : 0;
    if (bb_app_MillisecsSince(t, lastRenderMillis) > 0) {
        int elapsed = bb_app_MillisecsSince(bb_app__game->Millisecs(), lastRenderMillis);
        if (elapsed > 0) renderFps = kMillisPerSecond / elapsed;
    }
    renderFpsSmoothed = (renderFpsSmoothed * kRateSmoothingOld + renderFps) / kRateSmoothingTotal;
    lastRenderMillis = bb_app__game ? bb_app__game->Millisecs() : 0;

    int w = bb_graphics_device->Width();
    int h = bb_graphics_device->Height();
    bb_graphics_SetColor(clearRed, clearGreen, clearBlue);
    bb_graphics_SetAlpha(clearAlpha);
    bb_graphics_DrawRect(-1.0f, -1.0f, static_cast<float>(w) + 2.0f, static_cast<float>(h) + 2.0f);
    bb_graphics_SetColor(255.0f, 255.0f, 255.0f);
    bb_graphics_SetAlpha(1.0f);

    // A window with no area (minimised to nothing, or mid-resize) would give
    // a zero scale and a virtual screen of NaN: keep the last good scale and
    // do not reload for it.
    if (w >= 1 && h >= 1) {
        if (w != deviceWidth || h != deviceHeight) {
            loadStage = 1;
            deviceWidth = w;
            deviceHeight = h;
        }
        float sx = static_cast<float>(w) / rawscrw;
        float sy = static_cast<float>(h) / rawscrh;
        float s = sy > sx ? sy : sx;
        scaleX = s;
        scaleY = s;
        jscrw = static_cast<float>(w) / s;
        jscrh = static_cast<float>(h) / s;
        landscape = jscrh > jscrw ? 0 : 1;
    }

    const float *list = drawList.Data();
    for (int at = 0; at + kDrawRecordFloats <= drawListLength; at += kDrawRecordFloats) {
        const float *rec = list + at;
        bb_graphics_SetAlpha(rec[kRecAlpha]);
        bb_graphics_SetColor(rec[kRecRed], rec[kRecGreen], rec[kRecBlue]);
        bb_graphics_SetBlend(bb_graphics_AlphaBlend);
        if (rec[kRecBlend] == static_cast<float>(kBlendAdditiveCode)) {
            bb_graphics_SetBlend(bb_graphics_AdditiveBlend);
        }
        float op = rec[kRecOp];
        float x = rec[kRecX], y = rec[kRecY], a = rec[kRecA], b = rec[kRecB];
        if (op == kDrawOpRect) {
            bb_graphics_DrawRect(x * scaleX, y * scaleY, a * scaleX, b * scaleY);
        } else if (op == kDrawOpOval) {
            bb_graphics_DrawEllipse(x * scaleX, y * scaleY, a * scaleX, b * scaleY);
        } else if (op == kDrawOpLine) {
            bb_graphics_DrawLine(x * scaleX, y * scaleY, a * scaleX, b * scaleY);
        } else if (op > -1.0f) {
            // Slots beyond the image table and frames the image does not
            // have draw nothing, like an empty slot.
            int slot = TruncToInt(op);
            if (slot >= kImageSlots) continue;
            c_Image *image = images[slot];
            if (!image) continue;
            int frame = TruncToInt(rec[kRecFrame]);
            if (frame < 0 || frame >= image->frames.Length()) continue;
            bb_graphics_DrawImage2(image, x * scaleX, y * scaleY, rec[kRecRotation],
                                   a * scaleX * imageScale, b * scaleY * imageScale, frame);
        }
    }
    return 0;
}
