// Pitch factors: a playback-rate factor for each note number 1 to 32
// (note 13 is the sample's own pitch, each step about one semitone), and
// the same factors keyed by the letters of a two-row tracker keyboard for
// the chord queue.
#include "music/player.h"

namespace {

constexpr int kFirstNote = 1;
constexpr int kNoteCount = 32;

// Factors of notes 1 to 32.
constexpr float kPitch[kNoteCount] = {
    0.5f,    0.5295f, 0.561f, 0.5945f, 0.63f,  0.6675f, 0.707f, 0.749f,  // 1-8
    0.7935f, 0.841f,  0.891f, 0.944f,  1.0f,   1.059f,  1.122f, 1.189f,  // 9-16
    1.26f,   1.335f,  1.414f, 1.498f,  1.587f, 1.682f,  1.782f, 1.888f,  // 17-24
    2.0f,    2.118f,  2.244f, 2.378f,  2.52f,  2.67f,   2.828f, 2.996f,  // 25-32
};

// Keyboard letters of notes 1 to 32, in order.
constexpr char kKeyboard[kNoteCount + 1] = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";

}  // namespace

float c_TzPlayer::p_GetPitch(int note) {
    if (note < kFirstNote || note >= kFirstNote + kNoteCount) return 0.0f;
    return kPitch[note - kFirstNote];
}

float c_TzPlayer::p_GetPitch_Alpha(int code) {
    for (int i = 0; i < kNoteCount; ++i) {
        if (code == static_cast<unsigned char>(kKeyboard[i])) return p_GetPitch(kFirstNote + i);
    }
    return 0.0f;
}
