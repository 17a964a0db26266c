// Saved progress: the settings, the badge flags and the score tables in the
// one state string the host keeps for the game.
//
// The string is 98 decimal integers, each followed by "|", in five records:
// 25 settings and their checksum, 8 badge words and their checksum, then 20
// scores and a checksum for each of the three score lists. Every checksum is a weighted sum in
// wrapping 32-bit arithmetic. Loading takes each record whole when its checksum matches and resets
// it whole when it does not; a record missing from a short string is skipped.
#include <cstdint>
#include <string>

#include "game/myapp.h"
#include "host/app.h"
#include "runtime/runtime.h"

namespace {

constexpr int kBadgeWords = 8;
constexpr int kBitsPerBadgeWord = 32;
constexpr int kScoreLists = 3;
constexpr int kScoresPerList = 10;
// Offset of the last-ten list from the best-ten list in scoreTable.
constexpr int kLastScoresOffset = 30;
// Fields of a settings record: the values and the checksum.
constexpr int kSettingsRecordFields = kSettingsCount + 1;
constexpr int kSoundOn = 1;
// The on-screen pad's position and size, and their smallest saved values.
constexpr int kPadX = 10;
constexpr int kPadY = 11;
constexpr int kPadSize = 12;
constexpr int kPadPositionMin = 64;
constexpr int kPadSizeMin = 8;
constexpr int kPadSizeDefault = 10;

// Best-score weight k + 4 and last-score weight L + k + 3 of pair k of list L.
uint32_t BestWeight(int k) {
    return static_cast<uint32_t>(k + 4);
}
uint32_t LastWeight(int list, int k) {
    return static_cast<uint32_t>(list + k + 3);
}

int32_t AsSigned(uint32_t v) {
    return static_cast<int32_t>(v);
}

// Builds the state text: "%i" numbers, each followed by "|".
class StateWriter {
public:
    void Put(int32_t value) {
        text_ += std::to_string(value);
        text_ += '|';
    }
    String Text() const { return String(text_.c_str()); }

private:
    std::string text_;
};

bool IsBlank(unsigned c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The number at the start of a field, read the way atoi reads the field's
// 8-bit form (each character cut to its low byte, the text ending at a zero
// byte): leading blanks, an optional sign, then digits up to the first other
// character; 0 when there is no number. Values beyond the int range
// saturate instead of being undefined.
int32_t ReadNumber(const String &field) {
    const int length = field.Length();
    int i = 0;
    auto byte_at = [&](int at) -> unsigned {
        return at < length ? static_cast<unsigned>(field[at]) & 0xFFu : 0u;
    };
    while (byte_at(i) != 0 && IsBlank(byte_at(i))) ++i;
    bool negative = false;
    if (byte_at(i) == '+' || byte_at(i) == '-') {
        negative = byte_at(i) == '-';
        ++i;
    }
    // Magnitude limit: 2147483647, or 2147483648 for a negative number.
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t magnitude = 0;
    for (unsigned b = byte_at(i); b >= '0' && b <= '9'; b = byte_at(++i)) {
        if (magnitude < limit) {
            magnitude = magnitude * 10 + (b - '0');
            if (magnitude > limit) magnitude = limit;
        }
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

bool ChecksumMatches(uint32_t sum, const String &stored) {
    return static_cast<uint32_t>(ReadNumber(stored)) == sum;
}

}  // namespace

int c_MyApp::p_Save() {
    StateWriter out;

    uint32_t sum = 0;
    for (int i = 0; i < kSettingsCount; ++i) {
        out.Put(settings[i]);
        sum += static_cast<uint32_t>(i) * static_cast<uint32_t>(settings[i]);
    }
    out.Put(AsSigned(sum));

    sum = 0;
    for (int q = 0; q < kBadgeWords; ++q) {
        uint32_t word = 0;
        for (int j = 0; j < kBitsPerBadgeWord; ++j) {
            if (badgeEarned[kBitsPerBadgeWord * q + j]) word |= 1u << j;
        }
        out.Put(AsSigned(word));
        sum += word;
    }
    out.Put(AsSigned(sum));

    for (int list = 0; list < kScoreLists; ++list) {
        sum = 0;
        for (int k = 0; k < kScoresPerList; ++k) {
            const int best = scoreTable[kScoresPerList * list + k];
            const int last = scoreTable[kScoresPerList * list + kLastScoresOffset + k];
            out.Put(best);
            out.Put(last);
            sum += BestWeight(k) * static_cast<uint32_t>(best) +
                   LastWeight(list, k) * static_cast<uint32_t>(last);
        }
        out.Put(AsSigned(sum));
    }

    const String state = out.Text();
    if (DebugMode == 1) DebugLog(state);
    bb_app_SaveState(state);
    return 0;
}

int c_MyApp::p_Load() {
    const String state = bb_app_LoadState();
    const Array<String> fields = state.Split(String("|"));
    const int n = fields.Length();
    if (DebugMode == 1) DebugLog(state);

    int c = 0;  // fields consumed so far

    if (n >= kSettingsRecordFields) {
        uint32_t sum = 0;
        for (int i = 0; i < kSettingsCount; ++i) {
            settings[i] = ReadNumber(fields[i]);
            sum += static_cast<uint32_t>(i) * static_cast<uint32_t>(settings[i]);
        }
        const bool ok = ChecksumMatches(sum, fields[kSettingsCount]);
        c = kSettingsRecordFields;
        if (ok) {
            DebugLog(String("Settings Loaded"));
        } else {
            DebugLog(String("Settings Checksum Invalid"));
            for (int i = 0; i < kSettingsCount; ++i) settings[i] = 0;
            settings[kSettingSound] = kSoundOn;
        }
    }

    if (settings[kPadX] < kPadPositionMin) settings[kPadX] = kPadPositionMin;
    if (settings[kPadY] < kPadPositionMin) settings[kPadY] = kPadPositionMin;
    if (settings[kPadSize] < kPadSizeMin) settings[kPadSize] = kPadSizeDefault;

    if (c + kBadgeWords < n) {
        uint32_t sum = 0;
        for (int q = 0; q < kBadgeWords; ++q) {
            const uint32_t word = static_cast<uint32_t>(ReadNumber(fields[c + q]));
            for (int j = 0; j < kBitsPerBadgeWord; ++j) {
                badgeEarned[kBitsPerBadgeWord * q + j] = ((word >> j) & 1u) != 0;
            }
            sum += word;
        }
        const bool ok = ChecksumMatches(sum, fields[c + kBadgeWords]);
        c += kBadgeWords + 1;
        if (ok) {
            DebugLog(String("Badges Loaded"));
        } else {
            DebugLog(String("Badge Checksum Invalid"));
            for (int b = 0; b < kBadgeCount; ++b) badgeEarned[b] = false;
        }
    }

    constexpr int kScoreRecordValues = 2 * kScoresPerList;
    for (int list = 0; list < kScoreLists; ++list) {
        if (c + kScoreRecordValues >= n) continue;
        uint32_t sum = 0;
        for (int k = 0; k < kScoresPerList; ++k) {
            const int best = ReadNumber(fields[c + 2 * k]);
            const int last = ReadNumber(fields[c + 2 * k + 1]);
            scoreTable[kScoresPerList * list + k] = best;
            scoreTable[kScoresPerList * list + kLastScoresOffset + k] = last;
            sum += BestWeight(k) * static_cast<uint32_t>(best) +
                   LastWeight(list, k) * static_cast<uint32_t>(last);
        }
        const bool ok = ChecksumMatches(sum, fields[c + kScoreRecordValues]);
        c += kScoreRecordValues + 1;
        const String label = String("Highscore ") + String(list);
        if (ok) {
            Print(label + String(" Loaded"));
        } else {
            Print(label + String(" Checksum Invalid"));
            for (int k = 0; k < kScoresPerList; ++k) {
                scoreTable[kScoresPerList * list + k] = 0;
                scoreTable[kScoresPerList * list + kLastScoresOffset + k] = 0;
            }
        }
    }
    return 0;
}
