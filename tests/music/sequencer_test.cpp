// The playback tick on the loaded test song: when rows are due, breaks and
// alternations, pattern ends with the chord queue, new sections and their
// reseeding, the shared random seed, stopping and the update-time service.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "host/app.h"
#include "tests/music/support/music_fixture.h"

namespace {

constexpr int kRowMillis = 84;  // tempo 95

class Sequencer : public MusicFixture {
protected:
    void SetUp() override {
        MusicFixture::SetUp();
        if (HasFatalFailure()) return;
        WriteSongFiles();
        NewPlayer();
        StartPlaying();
    }
    size_t SoundingTracks() const {
        size_t n = 0;
        for (int t = 0; t < 5; ++t) n += player->sounding[t] == 1;
        return n;
    }
    // The cell the voice got for a track in the last tick.
    static NoteCall ForTrack(const std::vector<NoteCall> &notes, int track) {
        for (const NoteCall &n : notes)
            if (n.track == track) return n;
        ADD_FAILURE() << "track " << track << " not played";
        return {};
    }
};

TEST_F(Sequencer, RandStepsTheRuntimeSeed) {
    bb_random_Seed = 1234;
    EXPECT_EQ(player->p_Rand(0, 4), 3);  // r = 0.71431
    EXPECT_EQ(static_cast<uint32_t>(bb_random_Seed), 3067928073u);
    EXPECT_EQ(player->p_Rand(0, 4), 1);  // r = 0.20701
    EXPECT_EQ(static_cast<uint32_t>(bb_random_Seed), 889114580u);
    EXPECT_EQ(player->p_Rand(0, 4), 3);  // r = 0.74954
    // The runtime's own generator continues the same sequence.
    const int afterPlayer = bb_random_Seed;
    bb_random_Seed = 1234;
    for (int i = 0; i < 3; ++i) bb_random_Rnd();
    EXPECT_EQ(bb_random_Seed, afterPlayer);

    // Ranges: both ends reachable, nothing outside; a single value range.
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) seen.insert(player->p_Rand(0, 4));
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4}));
    for (int i = 0; i < 50; ++i) ASSERT_EQ(player->p_Rand(6, 6), 6);
}

TEST_F(Sequencer, RowsFollowTheClockAtTempo95) {
    // Drive the update-time service every millisecond and note when rows
    // are played.
    std::vector<int> rowTimes;
    const int start = Now();
    int lastRow = player->row;
    int lastSections = player->sectionCount;
    for (int t = start; t < start + 64 * kRowMillis + 50; ++t) {
        SetClock(t);
        player->p_Tz_Alive_U(0, 1);
        if (player->row != lastRow || player->sectionCount != lastSections) {
            rowTimes.push_back(t);
            lastRow = player->row;
            lastSections = player->sectionCount;
        }
    }
    ASSERT_GE(rowTimes.size(), 65u);
    EXPECT_EQ(rowTimes[0], start);  // the first row was due at once
    for (size_t i = 1; i <= 64; ++i) EXPECT_EQ(rowTimes[i] - rowTimes[i - 1], kRowMillis) << i;
    // The first row of the second pattern comes 64 rows after the first.
    EXPECT_EQ(rowTimes[64] - rowTimes[0], 5376);
    EXPECT_EQ(player->sectionCount, 1);
}

TEST_F(Sequencer, ScheduleIsDueOnlyAfterItsTimeAndCatchesUpOneRowPerCall) {
    player->nextStepTime = Now();
    player->p_Tz_MusicPlay();
    EXPECT_EQ(player->row, 0) << "not due while the clock equals the schedule";
    EXPECT_TRUE(player->Take().empty());

    // A stall of 1000 ms: one row per call, from the old schedule on.
    const int schedule = Now() - 1000;
    player->nextStepTime = schedule;
    int rows = 0;
    for (int call = 0; call < 30; ++call) {
        const int before = player->row;
        player->p_Tz_MusicPlay();
        const int played = player->row != before ? 1 : 0;
        EXPECT_EQ(player->Take().size(), static_cast<size_t>(5 * played));
        rows += played;
    }
    EXPECT_EQ(rows, 12);  // schedule + 12 x 84 is past the clock
    EXPECT_EQ(player->nextStepTime, schedule + 12 * kRowMillis);
}

TEST_F(Sequencer, StaleScheduleFarAheadPlaysAtOnceAndSchedulesFromIt) {
    const int stale = Now() + 123457;
    player->nextStepTime = stale;
    player->p_Tz_MusicPlay();
    EXPECT_EQ(player->row, 1);
    EXPECT_EQ(player->nextStepTime, stale + kRowMillis);

    // Exactly 123456 ahead is not stale.
    player->nextStepTime = Now() + 123456;
    player->p_Tz_MusicPlay();
    EXPECT_EQ(player->row, 1);
}

TEST_F(Sequencer, ScheduleKeepsWorkingAcrossTheClockWrap) {
    // The host clock wraps modulo 2^32; rows stay 84 ms apart across it.
    const int beforeWrap = INT32_MAX - 100;
    SetClock(beforeWrap);
    ASSERT_EQ(Now(), beforeWrap);
    player->nextStepTime = beforeWrap - 1;
    int played = 0;
    for (int step = 0; step < 300; ++step) {
        SetClock(static_cast<int>(static_cast<uint32_t>(beforeWrap) + step));
        const int row = player->row;
        player->p_Tz_MusicPlay();
        played += player->row != row;
    }
    EXPECT_EQ(played, 4);  // at 0, 84, 168 and 252 ms
}

TEST_F(Sequencer, BreakOnTrack1AtRow10EndsThePassForTheLaterTracks) {
    for (int t = 1; t < 5; ++t) player->trackPattern[t] = 1;
    player->row = 10;
    player->repeatsLeft = 2;
    player->Take();
    PlayRow();
    const std::vector<NoteCall> notes = player->Take();
    ASSERT_EQ(notes.size(), 5u);
    EXPECT_EQ(notes[0].row, 10);
    EXPECT_EQ(notes[1].effect, 8);
    EXPECT_EQ(notes[1].row, 10);
    // Tracks 2 to 4 read row 63 in the same tick.
    for (int t = 2; t < 5; ++t) {
        EXPECT_EQ(notes[t].row, 63);
        EXPECT_EQ(notes[t].note, 12 + t) << "track " << t;
    }
    // The next tick is row 0 of the next pass of the same patterns.
    EXPECT_EQ(player->row, 0);
    EXPECT_EQ(player->repeatsLeft, 1);
    EXPECT_EQ(player->trackPattern[1], 1);
    PlayRow();
    const std::vector<NoteCall> next = player->Take();
    ASSERT_EQ(next.size(), 5u);
    EXPECT_EQ(next[0].row, 0);
}

TEST_F(Sequencer, AlternationMovesATrackBetweenPatternsByPassParity) {
    // Hand-made cells beyond what an image can hold: an alternation forward
    // on pattern 63 and one back from pattern 3.
    const int forwardAt63 = c_TzPlayer::CellIndex(63, 2, 5);
    player->songData[forwardAt63 + kTzColNote] = 9;
    player->songData[forwardAt63 + kTzColEffect] = 27;
    player->songData[forwardAt63 + kTzColParameter] = 1;
    const int backAt3 = c_TzPlayer::CellIndex(3, 2, 7);
    player->songData[backAt3 + kTzColNote] = 4;
    player->songData[backAt3 + kTzColEffect] = 27;
    player->songData[backAt3 + kTzColParameter] = 2;

    struct Case {
        const char *name;
        int track, pattern, row, repeatsLeft;
        int patternAfter, note, effect;  // the cell handed to the voice
    };
    const Case cases[] = {
        {"forward, odd pass", 2, 2, 5, 3, 3, 7, 0},
        {"forward, even pass", 2, 2, 5, 4, 2, 3, 27},
        {"forward, last pass", 2, 2, 5, 1, 3, 7, 0},
        {"forward, negative passes never odd", 2, 2, 5, -1, 2, 3, 27},
        {"back, even pass", 2, 3, 7, 2, 2, 0, 0},
        {"back, odd pass", 2, 3, 7, 3, 3, 4, 27},
        {"back from pattern 0 stays", 4, 0, 32, 2, 0, 5, 27},
        {"forward from pattern 63 stays", 2, 63, 5, 3, 63, 9, 27},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        player->trackPattern[c.track] = c.pattern;
        player->row = c.row;
        player->repeatsLeft = c.repeatsLeft;
        player->Take();
        PlayRow();
        const NoteCall n = ForTrack(player->Take(), c.track);
        EXPECT_EQ(player->trackPattern[c.track], c.patternAfter);
        EXPECT_EQ(n.note, c.note);
        EXPECT_EQ(n.effect, c.effect);
    }

    // The move holds for the rest of the section: the next row reads the
    // new pattern.
    player->trackPattern[2] = 2;
    player->row = 5;
    player->repeatsLeft = 3;
    PlayRow();
    player->Take();
    PlayRow();
    EXPECT_EQ(ForTrack(player->Take(), 2).note, 9);  // pattern 3, row 6
    EXPECT_EQ(player->trackPattern[2], 3);
}

TEST_F(Sequencer, PatternEndAdvancesTheChordQueue) {
    struct Case {
        std::string before;
        size_t length;
    };
    const Case cases[] = {{"j", 5}, {"", 0}, {"qbz", 2}};
    const std::set<std::string> chords = {"qqqq", "qqjj", "qqbb", "qbqb", "qqqj"};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.before);
        player->chordQueue = String(c.before.c_str());
        player->row = 63;
        player->repeatsLeft = 3;
        PlayRow();
        ASSERT_EQ(player->row, 0);
        EXPECT_EQ(player->repeatsLeft, 2);
        const String q = player->chordQueue;
        ASSERT_EQ(static_cast<size_t>(q.Length()), c.length);
        if (c.before == "j") {
            // The space is the next pattern's letter, then four new ones.
            EXPECT_EQ(q[0], u' ');
            std::string letters;
            for (int i = 1; i < q.Length(); ++i) letters += static_cast<char>(q[i]);
            EXPECT_EQ(chords.count(letters), 1u) << letters;
        } else if (c.before == "qbz") {
            EXPECT_TRUE(q == String("bz"));
        }
    }
}

TEST_F(Sequencer, NewSectionRearrangesFromTheSeedWithinEachTracksPatterns) {
    // The first section plays pattern 0 everywhere once.
    for (int t = 0; t < 5; ++t) EXPECT_EQ(player->trackPattern[t], 0);
    EXPECT_EQ(player->repeatsLeft, 0);
    PlayRow();
    PlayUntilRow(0);
    EXPECT_EQ(player->sectionCount, 1);
    EXPECT_TRUE(player->repeatsLeft == 2 || player->repeatsLeft == 4) << player->repeatsLeft;
    for (int t = 0; t < 5; ++t) EXPECT_EQ(player->muted[t], 0) << "first section mutes nothing";

    // Many sections: patterns stay within each track's last pattern (track
    // 2 only ever 0 to 3, and all of them come up), and the two drum
    // tracks are never muted together.
    std::set<int> leadPatterns;
    for (int section = 0; section < 300; ++section) {
        player->row = 63;
        player->repeatsLeft = 1;
        PlayRow();
        for (int t = 0; t < 5; ++t) {
            ASSERT_GE(player->trackPattern[t], 0);
            ASSERT_LE(player->trackPattern[t], player->lastPattern[t]) << "track " << t;
        }
        ASSERT_FALSE(player->muted[0] == 1 && player->muted[1] == 1);
        leadPatterns.insert(player->trackPattern[2]);
    }
    EXPECT_EQ(leadPatterns, (std::set<int>{0, 1, 2, 3}));

    // Both drums due to go silent: kit A plays after all.
    player->nextMuted[0] = 1;
    player->nextMuted[1] = 1;
    player->row = 63;
    player->repeatsLeft = 1;
    PlayRow();
    EXPECT_EQ(player->muted[0], 0);
    EXPECT_EQ(player->muted[1], 1);
}

// The arrangement of a whole run: per section, its passes, patterns and
// mutes, played through the tick as the song comes.
std::vector<std::vector<int>> Arrangement(MusicFixture &f, int seed, int sections) {
    f.NewPlayer(seed);
    f.StartPlaying();
    f.player->chordQueue = String("q");
    std::vector<std::vector<int>> out;
    while (f.player->sectionCount < sections) {
        const int before = f.player->sectionCount;
        f.PlayRow();
        f.player->Take();
        f.rec->Take();
        if (f.player->sectionCount != before) {
            std::vector<int> s = {f.player->repeatsLeft};
            for (int t = 0; t < 5; ++t) {
                s.push_back(f.player->trackPattern[t]);
                s.push_back(f.player->muted[t]);
                s.push_back(f.player->nextMuted[t]);
                s.push_back(f.player->leadIn[t]);
            }
            s.push_back(f.player->chordQueue.Length() > 0 ? f.player->chordQueue[0] : 0);
            s.push_back(bb_random_Seed);
            out.push_back(s);
        }
    }
    return out;
}

TEST_F(Sequencer, SameSongSeedGivesTheSameArrangement) {
    const auto first = Arrangement(*this, 7, 12);
    bb_random_Seed = 99;  // whatever the game drew meanwhile
    const auto second = Arrangement(*this, 7, 12);
    EXPECT_EQ(first, second);
    const auto other = Arrangement(*this, 8, 12);
    EXPECT_NE(first, other);
}

TEST_F(Sequencer, StopSilencesSoundingTracksAndResetStopsThePlayer) {
    PlayRow();  // row 0: kit A and the three melodic tracks start samples
    const int soundingAtRow0[5] = {1, 0, 1, 1, 1};
    for (int t = 0; t < 5; ++t) ASSERT_EQ(player->sounding[t], soundingAtRow0[t]) << t;
    rec->Take();

    player->p_Tz_Stop(0);
    std::vector<AudioCall> calls = rec->Take();
    ASSERT_EQ(calls.size(), 4u);
    const int stopped[4] = {31, 29, 28, 27};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(calls[i].op, "Stop");
        EXPECT_EQ(calls[i].channel, stopped[i]);
    }
    for (int t = 0; t < 5; ++t) EXPECT_EQ(player->sounding[t], 0);
    EXPECT_EQ(player->state, kTzPlaying);

    // Nothing left sounding: nothing to stop.
    player->p_Tz_Stop(1);
    EXPECT_TRUE(rec->Take().empty());
    EXPECT_EQ(player->state, kTzStopped);
}

TEST_F(Sequencer, UpdateServicePausesAndSwitchesOffWithoutLosingThePlace) {
    PlayUntilRow(5);
    rec->Take();
    ASSERT_EQ(SoundingTracks(), 4u);

    // Paused: voices cut, the next row held 150 ms after the latest paused
    // update.
    SetClock(Now() + 500);
    player->p_Tz_Alive_U(1, 1);
    EXPECT_EQ(player->row, 5);
    EXPECT_EQ(player->nextStepTime, Now() + 150);
    EXPECT_EQ(RecordingAudio::Only(rec->Take(), "Stop").size(), 4u);
    EXPECT_EQ(SoundingTracks(), 0u);
    SetClock(Now() + 1000);
    player->p_Tz_Alive_U(1, 1);
    EXPECT_EQ(player->nextStepTime, Now() + 150);
    EXPECT_TRUE(rec->Take().empty()) << "nothing sounding any more";

    // Resumed: the stopped row plays once the hold has passed.
    const int resume = Now();
    for (int t = resume; t <= resume + 150; ++t) {
        SetClock(t);
        player->p_Tz_Alive_U(0, 1);
    }
    EXPECT_EQ(player->row, 5);
    SetClock(resume + 151);
    player->Take();
    player->p_Tz_Alive_U(0, 1);
    EXPECT_EQ(player->row, 6);
    const std::vector<NoteCall> resumed = player->Take();
    ASSERT_EQ(resumed.size(), 5u);
    EXPECT_EQ(resumed[0].row, 5);

    // Music switched off: no rows however much time passes.
    SetClock(Now() + 5000);
    player->p_Tz_Alive_U(0, 0);
    player->p_Tz_Alive_U(0, 0);
    EXPECT_EQ(player->row, 6);
    EXPECT_TRUE(player->Take().empty());

    // Still loading: no rows either.
    player->loadStep = 30;
    player->p_Tz_Alive_U(0, 1);
    EXPECT_EQ(player->row, 6);
    player->loadStep = 0;

    // Stopped: every update silences; nothing plays.
    PlayUntilRow(9);  // kit A sounds again from row 8
    rec->Take();
    ASSERT_EQ(SoundingTracks(), 1u);
    player->state = kTzStopped;
    player->p_Tz_Alive_U(0, 1);
    EXPECT_EQ(RecordingAudio::Only(rec->Take(), "Stop").size(), 1u);
    const int row = player->row;
    SetClock(Now() + 1000);
    player->p_Tz_Alive_U(0, 1);
    EXPECT_EQ(player->row, row);
}

}  // namespace
