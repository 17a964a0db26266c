// The playback tick: one row of every track when it is due, pattern
// breaks and alternations, and at each pattern end the chord queue and,
// when the section's passes are used up, a new arrangement reseeded from
// the section number and the song seed. Also the chord patterns and the
// player's random numbers, which step the runtime's shared seed.
#include "music/player.h"

#include <cmath>
#include <cstdint>

#include "host/app.h"

namespace {

// Linear congruential step of the shared seed (modulo 2^32).
constexpr std::uint32_t kRandMultiplier = 1664525u;
constexpr std::uint32_t kRandIncrement = 1013904223u;
constexpr int kRandDropBits = 8;
constexpr float kRandScale = 1.0f / 16777216.0f;  // 2^-24
// Added to the range so that the top value can come out.
constexpr float kRandTopReach = 0.99f;

// A schedule this many milliseconds ahead of the clock is stale.
constexpr int kStaleScheduleMillis = 123456;
// Milliseconds of one row: this over the tempo.
constexpr double kRowMillisTimesTempo = 8000.0;
// Largest schedule sum converted exactly through 64 bits.
constexpr double kScheduleLimit = 4.0e18;

// Reseeding of the arrangement.
constexpr std::uint32_t kSeedPerSection = 9;
constexpr std::uint32_t kSeedPerTrack = 7;
constexpr int kPatternEndDraws = 16;
constexpr int kSectionDraws = 11;

// Chord patterns the queue is refilled from (indices 0 to 4).
constexpr float kChordIndexHigh = 4.0f;

// Alternation parameters.
constexpr int kAlternateForward = 1;
constexpr int kAlternateBack = 2;

// Double to int truncating toward zero, defined for every input.
int TruncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int>(v);
}

// The schedule one row later: the row length added in floating point and
// truncated, wrapped to 32 bits like the clock. A tempo that gives no
// finite row length leaves the schedule where it is.
int AdvanceSchedule(int schedule, int tempo) {
    const double next = std::trunc(static_cast<double>(schedule) +
                                   kRowMillisTimesTempo / static_cast<double>(tempo));
    if (!std::isfinite(next) || std::fabs(next) > kScheduleLimit) return schedule;
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::int64_t>(next)));
}

void SetSeed(std::uint32_t seed) {
    bb_random_Seed = static_cast<int>(seed);
}

}  // namespace

int c_TzPlayer::p_Rand(float lo, float hi) {
    const std::uint32_t seed =
        static_cast<std::uint32_t>(bb_random_Seed) * kRandMultiplier + kRandIncrement;
    SetSeed(seed);
    const float r = static_cast<float>(seed >> kRandDropBits) * kRandScale;
    const float value = std::floor(r * (hi + kRandTopReach - lo) + lo);
    return TruncToInt(value);
}

String c_TzPlayer::p_Tz_GetChord(int index) {
    switch (index) {
        case 0:
            return String("qqqq");
        case 1:
            return String("qqjj");
        case 2:
            return String("qqbb");
        case 3:
            return String("qbqb");
        case 4:
            return String("qqqj");
        case 5:
            return String("qqzz");
        default:
            return String("qqjj");
    }
}

int c_TzPlayer::p_Tz_MusicPlay() {
    // Clock differences wrap like the clock, so the schedule keeps working
    // when the host clock passes 2^31 milliseconds.
    const int now = tz_Now();
    const bool due = bb_app_MillisecsSince(now, nextStepTime) > 0 ||
                     bb_app_MillisecsSince(nextStepTime, now) > kStaleScheduleMillis;
    if (!due) return 0;

    const int tracks = PlayedTracks();
    for (int t = 0; t < tracks; ++t) {
        const int p = trackPattern[t];
        int cell = CellIndex(p, t, row);
        if (cell < 0) {
            // A pattern outside the song plays as an empty cell.
            p_Tz_PlayNote(t, 0, 0, 0, 0);
            continue;
        }
        int effect = songData[cell + kTzColEffect];
        const int parameter = songData[cell + kTzColParameter];
        if (effect == kTzEffectAlternate) {
            // An alternation that would leave the song keeps the current
            // pattern, as one whose parameter does not match.
            int target = -1;
            if (parameter == kAlternateForward && repeatsLeft % 2 == 1) target = p + 1;
            if (parameter == kAlternateBack && repeatsLeft % 2 == 0) target = p - 1;
            const int moved = target >= 0 ? CellIndex(target, t, row) : -1;
            if (moved >= 0) {
                trackPattern[t] = target;
                cell = moved;
            }
        }
        effect = songData[cell + kTzColEffect];
        p_Tz_PlayNote(t, songData[cell + kTzColNote], songData[cell + kTzColVolume], effect,
                      songData[cell + kTzColParameter]);
        if (effect == kTzEffectBreak) row = kTzRows - 1;
    }

    nextStepTime = AdvanceSchedule(nextStepTime, tempo);
    row = (row + 1) % kTzRows;
    if (row != 0) return 0;

    // Pattern end.
    const std::uint32_t sectionSeed = static_cast<std::uint32_t>(sectionCount) * kSeedPerSection +
                                      static_cast<std::uint32_t>(songSeed);
    SetSeed(sectionSeed);
    for (int i = 0; i < kPatternEndDraws; ++i) p_Rand(1, 5);
    if (chordQueue.Length() == 1) {
        chordQueue = chordQueue + String(" ") + p_Tz_GetChord(p_Rand(0, kChordIndexHigh));
    }
    if (chordQueue.Length() > 1) chordQueue = chordQueue.Slice(1);
    repeatsLeft -= 1;
    if (repeatsLeft > 0) return 0;

    StartSection();
    return 0;
}

void c_TzPlayer::StartSection() {
    SetSeed(static_cast<std::uint32_t>(sectionCount) * kSeedPerSection +
            static_cast<std::uint32_t>(songSeed));
    for (int i = 0; i < kSectionDraws; ++i) p_Rand(1, 5);
    repeatsLeft = p_Rand(1, 2) * 2;
    sectionCount = static_cast<int>(static_cast<std::uint32_t>(sectionCount) + 1u);

    const int tracks = PlayedTracks();
    for (int t = 0; t < tracks; ++t) {
        SetSeed(static_cast<std::uint32_t>(sectionCount) * kSeedPerSection +
                static_cast<std::uint32_t>(songSeed) +
                kSeedPerTrack * static_cast<std::uint32_t>(t));
        for (int i = 0; i < kSectionDraws; ++i) p_Rand(1, 5);
        trackPattern[t] = p_Rand(0, static_cast<float>(lastPattern[t]));
        if (state > 1) muted[t] = nextMuted[t];
        nextMuted[t] = p_Rand(0, 1);
        leadIn[t] = p_Rand(0, 1);
    }
    if (state > 1 && muted[0] == 1 && muted[1] == 1) muted[0] = 0;
}
