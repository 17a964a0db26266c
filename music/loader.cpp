// The player's loader: one step per call, spread over render frames. Steps
// load the song image and the instrument samples, and steps 5 to 67 decode
// one pattern frame each by drawing it and reading the pixels back.
#include "music/player.h"

#include "audio/audio.h"
#include "graphics/graphics.h"

namespace {

// Step ranges (inclusive).
constexpr int kStepSongImage = 1;
constexpr int kStepKitAFirst = 2;
constexpr int kStepKitALast = 9;
constexpr int kStepKitBFirst = 12;
constexpr int kStepKitBLast = 19;
constexpr int kStepLead = 21;
constexpr int kStepAccompany = 22;
constexpr int kStepBass = 23;
constexpr int kStepDecodeFirst = 5;
constexpr int kStepDecodeLast = kStepDecodeFirst + kTzDecodedFrames - 1;  // 67

// Instrument slots.
constexpr int kSlotLead = 2;
constexpr int kSlotAccompany = 3;
constexpr int kSlotBass = 4;

// The song image: frames of 64 by 64 pixels with the handle in the middle.
constexpr int kSongFrames = kTzPatterns;
constexpr int kSongImageFlags = c_Image::CenterHandle;

// Milliseconds after the latest loader step before the first row is due.
constexpr int kLoadSettleMillis = 100;

// Drawing of one frame: a near-black red backdrop (0..255 scale), the frame
// drawn untinted at its centre, and the pixel's blue byte down to 5 bits.
constexpr float kBackdropRed = 1.0f;
constexpr float kFrameCentre = kTzFrameSize / 2.0f;
constexpr int kValueShift = 3;
constexpr int kBlueMask = 255;

String KitPath(int number, int slot) {
    return String("inst/d") + String(number) + String("-") + String(slot) + String(".wav");
}

String InstrumentPath(const char *name, int number) {
    return String("inst/") + String(name) + String(number) + String(".wav");
}

// The song sheet cut into its 64 frames, or null when the file cannot be
// loaded or is too small to hold them (frames run left to right, then on
// to the next row of frames).
c_Image *LoadSongImage(const String &path) {
    c_Image *sheet = bb_graphics_LoadImage(path, 1, 0);
    if (!sheet) return nullptr;
    const long long across = sheet->width / kTzFrameSize;
    const long long down = sheet->height / kTzFrameSize;
    if (across < 1 || across * down < kSongFrames) return nullptr;
    return sheet->p_GrabImage(0, 0, kTzFrameSize, kTzFrameSize, kSongFrames, kSongImageFlags);
}

}  // namespace

int c_TzPlayer::p_Tz_LoadChunk() {
    const int step = loadStep;
    if (step == kStepSongImage) gc_assign(songImage, LoadSongImage(songPath));
    if (step >= kStepKitAFirst && step <= kStepKitALast) {
        const int k = step - (kStepKitAFirst - 1);
        drumKitA[k] = bb_audio_LoadSound(KitPath(instrumentNumbers[1], k));
    }
    if (step >= kStepKitBFirst && step <= kStepKitBLast) {
        const int k = step - (kStepKitBFirst - 1);
        drumKitB[k] = bb_audio_LoadSound(KitPath(instrumentNumbers[2], k));
    }
    if (step == kStepLead) {
        instruments[kSlotLead] = bb_audio_LoadSound(InstrumentPath("lead", instrumentNumbers[3]));
    }
    if (step == kStepAccompany) {
        instruments[kSlotAccompany] =
            bb_audio_LoadSound(InstrumentPath("accompany", instrumentNumbers[4]));
    }
    if (step == kStepBass) {
        instruments[kSlotBass] = bb_audio_LoadSound(InstrumentPath("bass", instrumentNumbers[5]));
    }
    if (step >= kStepDecodeFirst && step <= kStepDecodeLast && songImage) {
        DecodeFrame(step - kStepDecodeFirst);
    }

    loadStep = step + 1;
    nextStepTime = static_cast<int>(static_cast<unsigned>(tz_Now()) + kLoadSettleMillis);
    if (loadStep > kTzLastLoadStep) loadStep = 0;
    return 0;
}

void c_TzPlayer::DecodeFrame(int frame) {
    Array<int> pixels(kTzFrameSize * kTzFrameSize);

    bb_graphics_Cls(kBackdropRed, 0.0f, 0.0f);
    bb_graphics_SetAlpha(1.0f);
    bb_graphics_SetColor(kBackdropRed, 0.0f, 0.0f);
    bb_graphics_DrawRect(0.0f, 0.0f, kTzFrameSize, kTzFrameSize);
    bb_graphics_SetColor(255.0f, 255.0f, 255.0f);
    bb_graphics_DrawImage(songImage, kFrameCentre, kFrameCentre, frame);
    bb_graphics_ReadPixels(pixels, 0, 0, kTzFrameSize, kTzFrameSize, 0, kTzFrameSize);

    const int base = frame * kTzPatternValues;
    for (int y = 0; y < kTzFrameSize; ++y) {
        for (int x = 0; x < kTzFrameSize; ++x) {
            const int v = (pixels[y * kTzFrameSize + x] & kBlueMask) >> kValueShift;
            const int track = x / kTzColumns;
            songData[base + track * kTzTrackValues + y * kTzColumns + x % kTzColumns] = v;
            if (v != 0) lastPattern[track] = frame;
        }
    }
}
