// A real state file cut short at every byte offset, loaded by the real game
// object at start-up: every record whose text (up to the last digit of its
// checksum) lies inside the cut loads whole and says so; every other record
// ends with the start-up values, whatever part of it was kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/files.h"
#include "tests/game/support/game_fixture.h"

namespace {

struct Values {
    std::vector<int> settings = std::vector<int>(kSettingsCount, 0);
    std::vector<bool> badges = std::vector<bool>(kBadgeCount, false);
    std::vector<int> scores = std::vector<int>(60, 0);

    // What a game holds before p_Load: a first run's values.
    static Values StartUp() {
        Values v;
        v.settings[kSettingSound] = 1;
        v.settings[10] = 64;
        v.settings[11] = 64;
        v.settings[12] = 10;
        return v;
    }
    // A state unlike the start-up one in every record, with checksums of
    // several digits and a negative badge word.
    static Values Played() {
        Values v = StartUp();
        for (int i = 0; i < kSettingsCount; ++i) v.settings[i] = 11 * i + 3;
        v.settings[10] = 100;
        v.settings[11] = 96;
        v.settings[12] = 12;
        for (int b : {1, 31, 44, 63, 130, 255}) v.badges[b] = true;
        for (int i = 0; i < 60; ++i) v.scores[i] = 5000 - 71 * i;
        return v;
    }
    void Put(c_MyApp *app) const {
        for (int i = 0; i < kSettingsCount; ++i) app->settings[i] = settings[i];
        for (int i = 0; i < kBadgeCount; ++i) app->badgeEarned[i] = badges[i];
        for (int i = 0; i < 60; ++i) app->scoreTable[i] = scores[i];
    }
    static Values Take(c_MyApp *app) {
        Values v;
        for (int i = 0; i < kSettingsCount; ++i) v.settings[i] = app->settings[i];
        for (int i = 0; i < kBadgeCount; ++i) v.badges[i] = app->badgeEarned[i];
        for (int i = 0; i < 60; ++i) v.scores[i] = app->scoreTable[i];
        return v;
    }
    std::vector<int> List(int l) const {
        std::vector<int> out(scores.begin() + 10 * l, scores.begin() + 10 * l + 10);
        out.insert(out.end(), scores.begin() + 30 + 10 * l, scores.begin() + 40 + 10 * l);
        return out;
    }
};

std::string ReadFile(const char *path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteFile(const char *path, const std::string &bytes) {
    FILE *f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fclose(f);
}

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::stringstream ss(text);
    for (std::string line; std::getline(ss, line);) lines.push_back(line);
    return lines;
}

// Offset just past the last digit of field `index` (0-based) of the text.
size_t EndOfField(const std::string &text, int index) {
    size_t at = 0;
    for (int i = 0; i <= index; ++i) at = text.find('|', at) + 1;
    return at - 1;
}

class StateTruncation : public GameFixture {};

TEST_F(StateTruncation, EveryCutLoadsTheWholeRecordsAndResetsTheRest) {
    const Values played = Values::Played();
    const Values startUp = Values::StartUp();
    played.Put(app);
    app->p_Save();
    const std::string saved = ReadFile(kStateFileName);
    ASSERT_EQ(std::count(saved.begin(), saved.end(), '|'), 98);

    // Records by the field holding their checksum.
    const struct {
        const char *loaded;
        int checksumField;
    } records[] = {{"Settings Loaded", 25},
                   {"Badges Loaded", 34},
                   {"Highscore 0 Loaded", 55},
                   {"Highscore 1 Loaded", 76},
                   {"Highscore 2 Loaded", 97}};

    for (size_t cut = 0; cut <= saved.size(); ++cut) {
        SCOPED_TRACE("cut at byte " + std::to_string(cut) + ": \"" + saved.substr(0, cut) + "\"");
        startUp.Put(app);
        WriteFile(kStateFileName, saved.substr(0, cut));
        std::fflush(stdout);
        testing::internal::CaptureStdout();
        app->p_Load();
        std::fflush(stdout);
        const std::vector<std::string> printed = Lines(testing::internal::GetCapturedStdout());
        const Values got = Values::Take(app);

        bool whole[5];
        std::vector<std::string> expectLoaded;
        for (int r = 0; r < 5; ++r) {
            whole[r] = cut >= EndOfField(saved, records[r].checksumField);
            if (whole[r]) expectLoaded.push_back(records[r].loaded);
        }
        std::vector<std::string> loaded;
        for (const std::string &line : printed) {
            if (line.find("Loaded") != std::string::npos) loaded.push_back(line);
        }
        EXPECT_EQ(loaded, expectLoaded);

        EXPECT_EQ(got.settings, whole[0] ? played.settings : startUp.settings);
        EXPECT_EQ(got.badges, whole[1] ? played.badges : startUp.badges);
        for (int l = 0; l < 3; ++l) {
            EXPECT_EQ(got.List(l), whole[2 + l] ? played.List(l) : startUp.List(l)) << "list " << l;
        }
        if (HasFailure()) break;  // one cut's report is enough
    }
}

}  // namespace
