// The saved state of the real game object through the real state file:
// its exact text, round trips, the per-record checksums and resets, the
// reading of number fields, and a stream of random and damaged states.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include <fstream>
#include <sstream>

#include "host/files.h"
#include "tests/game/support/game_fixture.h"

namespace {

using Lines = std::vector<std::string>;

std::string ReadState() {
    std::ifstream in(kStateFileName, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Writes the state file directly, without the host's crash-safe steps.
void WriteState(const std::string &bytes) {
    FILE *f = std::fopen(kStateFileName, "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) {
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    }
    std::fclose(f);
}

// Lines written to standard output while fn runs.
template <class Fn>
Lines CaptureLines(Fn fn) {
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    fn();
    std::fflush(stdout);
    std::stringstream ss(testing::internal::GetCapturedStdout());
    Lines lines;
    for (std::string line; std::getline(ss, line);) lines.push_back(line);
    return lines;
}

constexpr int kStateNumbers = 98;
constexpr int kBadgeFieldsAt = 26;
constexpr int kScoresAt = 35;
constexpr int kScoreRecordNumbers = 21;

const Lines kAllLoaded = {"Settings Loaded", "Badges Loaded", "Highscore 0 Loaded",
                          "Highscore 1 Loaded", "Highscore 2 Loaded"};

// Everything the state holds, as plain values.
struct Saved {
    std::vector<int> settings = std::vector<int>(kSettingsCount, 0);
    std::vector<bool> badges = std::vector<bool>(kBadgeCount, false);
    std::vector<int> scores = std::vector<int>(60, 0);  // scoreTable[0..59]

    static Saved FirstRun() {
        Saved s;
        s.settings[kSettingSound] = 1;
        s.settings[10] = 64;
        s.settings[11] = 64;
        s.settings[12] = 10;
        return s;
    }
    void Put(c_MyApp *app) const {
        for (int i = 0; i < kSettingsCount; ++i) app->settings[i] = settings[i];
        for (int i = 0; i < kBadgeCount; ++i) app->badgeEarned[i] = badges[i];
        for (int i = 0; i < 60; ++i) app->scoreTable[i] = scores[i];
    }
    static Saved Take(c_MyApp *app) {
        Saved s;
        for (int i = 0; i < kSettingsCount; ++i) s.settings[i] = app->settings[i];
        for (int i = 0; i < kBadgeCount; ++i) s.badges[i] = app->badgeEarned[i];
        for (int i = 0; i < 60; ++i) s.scores[i] = app->scoreTable[i];
        return s;
    }
    std::vector<int> List(int list) const {
        std::vector<int> v;
        for (int k = 0; k < 10; ++k) v.push_back(scores[10 * list + k]);
        for (int k = 0; k < 10; ++k) v.push_back(scores[10 * list + 30 + k]);
        return v;
    }
};

std::vector<std::string> SplitBars(const std::string &text) {
    std::vector<std::string> fields;
    std::string::size_type from = 0;
    for (;;) {
        const auto at = text.find('|', from);
        if (at == std::string::npos) {
            fields.push_back(text.substr(from));
            return fields;
        }
        fields.push_back(text.substr(from, at - from));
        from = at + 1;
    }
}

std::string JoinBars(const std::vector<std::string> &fields) {
    std::string s;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) s += '|';
        s += fields[i];
    }
    return s;
}

std::string SaveText(c_MyApp *app, const Saved &s) {
    s.Put(app);
    app->p_Save();
    return ReadState();
}

Lines LoadText(c_MyApp *app, const std::string &text) {
    WriteState(text);
    return CaptureLines([app] { app->p_Load(); });
}

// A state unlike the defaults in every record.
Saved Distinct() {
    Saved s;
    for (int i = 0; i < kSettingsCount; ++i) s.settings[i] = 3 * i + 1;
    s.settings[10] = 120;
    s.settings[11] = 300;
    s.settings[12] = 16;
    for (int b : {0, 5, 31, 32, 100, 200, 255}) s.badges[b] = true;
    for (int i = 0; i < 60; ++i) s.scores[i] = 1000 + 37 * i;
    return s;
}

// Another such state, held in the fields before loading.
Saved Before() {
    Saved s;
    for (int i = 0; i < kSettingsCount; ++i) s.settings[i] = 500 + i;
    for (int b = 0; b < kBadgeCount; b += 3) s.badges[b] = true;
    for (int i = 0; i < 60; ++i) s.scores[i] = 7 + i;
    return s;
}

class SavedState : public GameFixture {};

// ---------------------------------------------------------------------------
// The first-run state
// ---------------------------------------------------------------------------

TEST_F(SavedState, FirstRunStateIs98NumbersWithChecksum1469) {
    const std::string text = SaveText(app, Saved::FirstRun());
    EXPECT_EQ(std::count(text.begin(), text.end(), '|'), kStateNumbers);
    EXPECT_TRUE(std::regex_match(text, std::regex("(-?[0-9]+\\|){98}"))) << text;

    const std::vector<std::string> f = SplitBars(text);
    ASSERT_EQ(f.size(), 99u);
    EXPECT_EQ(f[98], "");
    for (int i = 0; i < kSettingsCount; ++i) {
        const char *want = i == 5 ? "1" : i == 10 || i == 11 ? "64" : i == 12 ? "10" : "0";
        EXPECT_EQ(f[i], want) << "setting " << i;
    }
    EXPECT_EQ(f[25], "1469");
    for (int i = kBadgeFieldsAt; i < kStateNumbers; ++i) EXPECT_EQ(f[i], "0") << "field " << i;

    EXPECT_EQ(LoadText(app, text), kAllLoaded);
}

TEST_F(SavedState, EmptyStateLoadsNothingAndPrintsNothing) {
    Saved defaults;
    defaults.settings[kSettingSound] = 1;
    defaults.scores[3] = 77;
    defaults.badges[9] = true;
    defaults.Put(app);

    EXPECT_EQ(LoadText(app, ""), Lines{});

    Saved want = defaults;
    want.settings[10] = 64;
    want.settings[11] = 64;
    want.settings[12] = 10;
    const Saved got = Saved::Take(app);
    EXPECT_EQ(got.settings, want.settings);
    EXPECT_EQ(got.badges, want.badges);
    EXPECT_EQ(got.scores, want.scores);
}

// ---------------------------------------------------------------------------
// Round trips
// ---------------------------------------------------------------------------

TEST_F(SavedState, RandomStatesRoundTripThroughTheStateFile) {
    std::mt19937 rng(20261211);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> small(-5, 100000);
    for (int round = 0; round < 40; ++round) {
        Saved s;
        for (int i = 0; i < kSettingsCount; ++i) s.settings[i] = round % 2 ? any(rng) : small(rng);
        // The pad values are clamped on loading; keep them in range.
        s.settings[10] = 64 + (s.settings[10] & 0xFFFF);
        s.settings[11] = 64 + (s.settings[11] & 0xFFFF);
        s.settings[12] = 8 + (s.settings[12] & 0xFF);
        for (int b = 0; b < kBadgeCount; ++b) s.badges[b] = (rng() % (round % 5 + 2)) == 0;
        for (int i = 0; i < 60; ++i) s.scores[i] = round % 3 ? small(rng) : any(rng);

        const std::string text = SaveText(app, s);
        ASSERT_TRUE(std::regex_match(text, std::regex("(-?[0-9]+\\|){98}"))) << text;
        Before().Put(app);
        EXPECT_EQ(LoadText(app, text), kAllLoaded) << text;
        const Saved got = Saved::Take(app);
        EXPECT_EQ(got.settings, s.settings) << "round " << round;
        EXPECT_EQ(got.badges, s.badges) << "round " << round;
        EXPECT_EQ(got.scores, s.scores) << "round " << round;
    }
}

TEST_F(SavedState, BadgeWithTheSignBitIsWrittenNegativeAndComesBack) {
    Saved s = Saved::FirstRun();
    s.badges[31] = true;
    std::vector<std::string> f = SplitBars(SaveText(app, s));
    EXPECT_EQ(f[kBadgeFieldsAt], "-2147483648");
    EXPECT_EQ(f[kBadgeFieldsAt + 8], "-2147483648");  // the checksum

    s.badges[31] = false;
    s.badges[255] = true;
    s.badges[224] = true;
    f = SplitBars(SaveText(app, s));
    EXPECT_EQ(f[kBadgeFieldsAt + 7], "-2147483647");

    s = Saved::FirstRun();
    s.badges[31] = true;
    const std::string text = SaveText(app, s);
    Saved::FirstRun().Put(app);
    EXPECT_EQ(LoadText(app, text), kAllLoaded);
    EXPECT_EQ(Saved::Take(app).badges, s.badges);
}

// ---------------------------------------------------------------------------
// Damaged and short states: each record is taken whole, reset whole or
// left as it was.
// ---------------------------------------------------------------------------

enum Outcome { kLoaded, kReset, kKept };

struct DamageCase {
    const char *name;
    std::function<std::string(std::vector<std::string>)> damage;  // of the fields of Distinct()
    Lines messages;
    Outcome settings, badges, score0, score1, score2;
};

// Checksum of score list L computed with the best and last weights swapped.
std::string SwappedChecksum(const Saved &s, int list) {
    uint32_t sum = 0;
    const std::vector<int> v = s.List(list);
    for (int k = 0; k < 10; ++k) {
        sum += static_cast<uint32_t>(list + k + 3) * static_cast<uint32_t>(v[k]) +
               static_cast<uint32_t>(k + 4) * static_cast<uint32_t>(v[10 + k]);
    }
    return std::to_string(static_cast<int32_t>(sum));
}

std::string Keep(std::vector<std::string> f, size_t numbers) {
    f.resize(numbers);
    return JoinBars(f) + "|";
}

TEST_F(SavedState, DamagedRecordsAreResetWholeAndOthersStillLoad) {
    const Saved saved = Distinct();
    const std::vector<DamageCase> cases = {
        {"one settings value changed",
         [](std::vector<std::string> f) {
             f[3] = std::to_string(std::atoi(f[3].c_str()) + 1);
             return JoinBars(f);
         },
         {"Settings Checksum Invalid", "Badges Loaded", "Highscore 0 Loaded", "Highscore 1 Loaded",
          "Highscore 2 Loaded"},
         kReset,
         kLoaded,
         kLoaded,
         kLoaded,
         kLoaded},
        {"badge word changed",
         [](std::vector<std::string> f) {
             f[kBadgeFieldsAt + 4] = "1";
             return JoinBars(f);
         },
         {"Settings Loaded", "Badge Checksum Invalid", "Highscore 0 Loaded", "Highscore 1 Loaded",
          "Highscore 2 Loaded"},
         kLoaded,
         kReset,
         kLoaded,
         kLoaded,
         kLoaded},
        {"score checksum with best and last weights swapped",
         [&](std::vector<std::string> f) {
             // List 1 weighs both alike (k + 4); lists 0 and 2 do not.
             f[kScoresAt + 2 * kScoreRecordNumbers + 20] = SwappedChecksum(saved, 2);
             return JoinBars(f);
         },
         {"Settings Loaded", "Badges Loaded", "Highscore 0 Loaded", "Highscore 1 Loaded",
          "Highscore 2 Checksum Invalid"},
         kLoaded,
         kLoaded,
         kLoaded,
         kLoaded,
         kReset},
        {"cut after the badge checksum",
         [](std::vector<std::string> f) { return Keep(f, kScoresAt); },
         {"Settings Loaded", "Badges Loaded"},
         kLoaded,
         kLoaded,
         kKept,
         kKept,
         kKept},
        {"cut inside the second score record",
         [](std::vector<std::string> f) { return Keep(f, kScoresAt + kScoreRecordNumbers + 10); },
         {"Settings Loaded", "Badges Loaded", "Highscore 0 Loaded"},
         kLoaded,
         kLoaded,
         kLoaded,
         kKept,
         kKept},
        {"last separator missing",
         [](std::vector<std::string> f) {
             f.pop_back();
             return JoinBars(f);
         },
         {"Settings Loaded", "Badges Loaded", "Highscore 0 Loaded", "Highscore 1 Loaded",
          "Highscore 2 Loaded"},
         kLoaded,
         kLoaded,
         kLoaded,
         kLoaded,
         kLoaded},
        {"only a badge record: read from the start",
         [](std::vector<std::string> f) {
             std::vector<std::string> badges(f.begin() + kBadgeFieldsAt, f.begin() + kScoresAt);
             return JoinBars(badges) + "|";
         },
         {"Badges Loaded"},
         kKept,
         kLoaded,
         kKept,
         kKept,
         kKept},
        {"one field too many in the settings shifts every record",
         [](std::vector<std::string> f) {
             f.insert(f.begin() + 2, "0");
             return JoinBars(f);
         },
         {"Settings Checksum Invalid", "Badge Checksum Invalid", "Highscore 0 Checksum Invalid",
          "Highscore 1 Checksum Invalid", "Highscore 2 Checksum Invalid"},
         kReset,
         kReset,
         kReset,
         kReset,
         kReset},
    };

    const std::vector<std::string> fields = SplitBars(SaveText(app, saved));
    Saved reset;
    reset.settings[kSettingSound] = 1;
    reset.settings[10] = 64;
    reset.settings[11] = 64;
    reset.settings[12] = 10;
    const Saved before = Before();

    for (const DamageCase &c : cases) {
        SCOPED_TRACE(c.name);
        before.Put(app);
        EXPECT_EQ(LoadText(app, c.damage(fields)), c.messages);
        const Saved got = Saved::Take(app);
        auto pick = [&](Outcome o) -> const Saved & {
            return o == kLoaded ? saved : o == kReset ? reset : before;
        };
        EXPECT_EQ(got.settings, pick(c.settings).settings);
        EXPECT_EQ(got.badges, pick(c.badges).badges);
        EXPECT_EQ(got.List(0), pick(c.score0).List(0));
        EXPECT_EQ(got.List(1), pick(c.score1).List(1));
        EXPECT_EQ(got.List(2), pick(c.score2).List(2));
    }
}

TEST_F(SavedState, PadSettingsBelowTheirMinimumAreRaised) {
    Saved s = Saved::FirstRun();
    s.settings[10] = 100;
    s.settings[11] = 63;
    s.settings[12] = 5;
    const std::string text = SaveText(app, s);
    EXPECT_EQ(LoadText(app, text), kAllLoaded);
    EXPECT_EQ(app->settings[10], 100);
    EXPECT_EQ(app->settings[11], 64);
    EXPECT_EQ(app->settings[12], 10);

    s.settings[11] = 64;
    s.settings[12] = 8;
    EXPECT_EQ(LoadText(app, SaveText(app, s)), kAllLoaded);
    EXPECT_EQ(app->settings[11], 64);
    EXPECT_EQ(app->settings[12], 8);
}

// ---------------------------------------------------------------------------
// Number fields are read like atoi, saturating at the int range.
// ---------------------------------------------------------------------------

TEST_F(SavedState, NumberFieldsAreReadLikeAtoiAndSaturate) {
    struct Case {
        std::string field;
        int value;
    };
    const std::vector<Case> cases = {
        {"42", 42},
        {"  \t\n\v\f\r42", 42},
        {"+7", 7},
        {"-0013", -13},
        {"12abc", 12},
        {"12 34", 12},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},
        {"--5", 0},
        {"+-5", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999999", INT_MIN},
        {"0000000000000000000000000000000000123", 123},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("field \"" + c.field + "\"");
        // Settings record: setting 1 holds the field, the checksum is 1 x value.
        std::vector<std::string> f(26, "0");
        f[1] = c.field;
        f[10] = f[11] = "64";
        f[12] = "10";
        const uint32_t sum = static_cast<uint32_t>(c.value) + 10u * 64 + 11u * 64 + 12u * 10;
        f[25] = std::to_string(static_cast<int32_t>(sum));
        Saved::FirstRun().Put(app);
        EXPECT_EQ(LoadText(app, JoinBars(f) + "|"), Lines{"Settings Loaded"});
        EXPECT_EQ(app->settings[1], c.value);
    }
}

TEST_F(SavedState, OutOfRangeValueWithAWrappedChecksumIsRejected) {
    // 4294967297 would wrap to 1 in 32 bits; read saturated it is not 1.
    std::vector<std::string> f(26, "0");
    f[1] = "4294967297";
    f[25] = "1";
    Saved::FirstRun().Put(app);
    EXPECT_EQ(LoadText(app, JoinBars(f) + "|"), Lines{"Settings Checksum Invalid"});
    EXPECT_EQ(app->settings[1], 0);
}

TEST_F(SavedState, DebugModeEchoesTheWholeStateOnSaveAndLoad) {
    Saved::FirstRun().Put(app);
    DebugMode = 1;
    const Lines saved = CaptureLines([&] { app->p_Save(); });
    const std::string text = ReadState();
    const Lines loaded = CaptureLines([&] { app->p_Load(); });
    DebugMode = 0;
    EXPECT_EQ(saved, Lines{text});
    Lines want = {text};
    want.insert(want.end(), kAllLoaded.begin(), kAllLoaded.end());
    EXPECT_EQ(loaded, want);
}

// ---------------------------------------------------------------------------
// Random and damaged states: never a crash, and every record loaded whole
// from its own fields, reset whole, or (missing) left as it was.
// ---------------------------------------------------------------------------

// The number the field holds, read as the 8-bit C text atoi would see.
int64_t ReadField(const std::string &field) {
    const std::string c = field.c_str();  // up to a zero byte
    size_t i = 0;
    while (i < c.size() && (c[i] == ' ' || (c[i] >= '\t' && c[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < c.size() && (c[i] == '+' || c[i] == '-')) negative = c[i++] == '-';
    int64_t v = 0;
    for (; i < c.size() && c[i] >= '0' && c[i] <= '9'; ++i) {
        v = std::min<int64_t>(v * 10 + (c[i] - '0'), int64_t(1) << 40);
    }
    v = negative ? -v : v;
    return std::max<int64_t>(INT_MIN, std::min<int64_t>(INT_MAX, v));
}

uint32_t U(int64_t v) {
    return static_cast<uint32_t>(static_cast<int32_t>(v));
}

void CheckLoad(const std::string &input, const Saved &before, const Lines &messages,
               const Saved &got) {
    const std::vector<std::string> f = SplitBars(input);
    const int n = static_cast<int>(f.size());
    size_t m = 0;
    auto next_is = [&](const std::string &prefix) {
        return m < messages.size() && messages[m].rfind(prefix, 0) == 0;
    };
    int c = 0;

    // Settings (the pad values are raised afterwards in every case).
    std::vector<int> settings = before.settings;
    if (next_is("Settings ")) {
        ASSERT_GE(n, 26);
        uint32_t sum = 0;
        for (int i = 0; i < kSettingsCount; ++i) sum += U(i) * U(ReadField(f[i]));
        const bool ok = sum == U(ReadField(f[25]));
        ASSERT_EQ(messages[m++], ok ? "Settings Loaded" : "Settings Checksum Invalid");
        for (int i = 0; i < kSettingsCount; ++i) settings[i] = ok ? int(ReadField(f[i])) : 0;
        if (!ok) settings[kSettingSound] = 1;
        c = 26;
    } else {
        ASSERT_LT(n, 26);
    }
    if (settings[10] < 64) settings[10] = 64;
    if (settings[11] < 64) settings[11] = 64;
    if (settings[12] < 8) settings[12] = 10;
    EXPECT_EQ(got.settings, settings);

    // Badges.
    std::vector<bool> badges = before.badges;
    if (next_is("Badge")) {
        ASSERT_LT(c + 8, n);
        uint32_t sum = 0;
        for (int q = 0; q < 8; ++q) sum += U(ReadField(f[c + q]));
        const bool ok = sum == U(ReadField(f[c + 8]));
        ASSERT_EQ(messages[m++], ok ? "Badges Loaded" : "Badge Checksum Invalid");
        for (int b = 0; b < kBadgeCount; ++b) {
            badges[b] = ok && ((U(ReadField(f[c + b / 32])) >> (b % 32)) & 1u);
        }
        c += 9;
    } else {
        ASSERT_GE(c + 8, n);
    }
    EXPECT_EQ(got.badges, badges);

    // Score lists.
    for (int list = 0; list < 3; ++list) {
        std::vector<int> values = before.List(list);
        const std::string label = "Highscore " + std::to_string(list) + " ";
        if (next_is(label)) {
            ASSERT_LT(c + 20, n);
            uint32_t sum = 0;
            for (int k = 0; k < 10; ++k) {
                sum += U(k + 4) * U(ReadField(f[c + 2 * k])) +
                       U(list + k + 3) * U(ReadField(f[c + 2 * k + 1]));
            }
            const bool ok = sum == U(ReadField(f[c + 20]));
            ASSERT_EQ(messages[m++], label + (ok ? "Loaded" : "Checksum Invalid"));
            for (int k = 0; k < 10; ++k) {
                values[k] = ok ? int(ReadField(f[c + 2 * k])) : 0;
                values[10 + k] = ok ? int(ReadField(f[c + 2 * k + 1])) : 0;
            }
            c += 21;
        } else {
            ASSERT_GE(c + 20, n);
        }
        EXPECT_EQ(got.List(list), values) << "list " << list;
    }
    EXPECT_EQ(m, messages.size()) << "unexpected message " << messages[m];
}

std::string RandomText(std::mt19937 &rng) {
    static const std::string alphabet = "0123456789||||||---+   \t\nx\x01";
    std::string s;
    const int length = rng() % 400;
    for (int i = 0; i < length; ++i) {
        const unsigned r = rng() % 100;
        if (r == 0) {
            s += '\0';
        } else if (r == 1) {
            s += std::to_string(static_cast<int32_t>(rng()));
        } else {
            s += alphabet[rng() % alphabet.size()];
        }
    }
    return s;
}

std::string Mutate(std::string s, std::mt19937 &rng) {
    const int edits = 1 + rng() % 4;
    for (int e = 0; e < edits && !s.empty(); ++e) {
        const size_t at = rng() % s.size();
        switch (rng() % 7) {
            case 0:
                s[at] = static_cast<char>('0' + rng() % 10);
                break;
            case 1:
                s.erase(at, 1 + rng() % 3);
                break;
            case 2:
                s.insert(at, "|");
                break;
            case 3:
                s.insert(at, "-");
                break;
            case 4:
                s.resize(at);
                break;
            case 5:
                s.insert(at, s.substr(rng() % s.size(), rng() % 40));
                break;
            default:
                s.insert(at, std::to_string(static_cast<int32_t>(rng())));
                break;
        }
    }
    return s;
}

TEST_F(SavedState, RandomAndDamagedStatesLoadWholeOrResetWhole) {
    std::mt19937 rng(98);
    const std::string valid = SaveText(app, Distinct());
    const std::string first_run = SaveText(app, Saved::FirstRun());
    for (int round = 0; round < 3000; ++round) {
        std::string input;
        switch (round % 3) {
            case 0:
                input = RandomText(rng);
                break;
            case 1:
                input = Mutate(valid, rng);
                break;
            default:
                input = Mutate(first_run, rng);
                break;
        }
        const Saved before = round % 2 ? Before() : Saved::FirstRun();
        before.Put(app);
        const Lines messages = LoadText(app, input);
        SCOPED_TRACE("round " + std::to_string(round) + ": \"" + input + "\"");
        CheckLoad(input, before, messages, Saved::Take(app));
        if (HasFailure()) break;
    }
}

}  // namespace
