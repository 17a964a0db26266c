// One row of one track as audio device calls: channels, drum hits, volumes
// and the envelope, melodic notes with the chord factor, slides with their
// limits, the lead-in, and the pitch tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "tests/music/support/music_fixture.h"

namespace {

class Voices : public MusicFixture {
protected:
    void SetUp() override {
        MusicFixture::SetUp();
        if (HasFatalFailure()) return;
        WriteSongFiles();
        NewPlayer();
        LoadSong();
        rec->Take();
    }
    gxtkSample *SampleOf(c_Sound *s) { return s ? s->sample : nullptr; }
    std::vector<float> Values(const std::string &op) {
        std::vector<float> out;
        for (const AudioCall &c : RecordingAudio::Only(rec->calls, op)) out.push_back(c.value);
        return out;
    }
};

TEST_F(Voices, TracksUseChannelsCountedDownFromTheBase) {
    struct Case {
        int base;
        int channels[5];  // 0: nothing reaches the device for that track
    };
    const Case cases[] = {
        {32, {31, 30, 29, 28, 27}},   {0, {0, 0, 0, 0, 0}}, {3, {2, 1, 0, 0, 0}},
        {34, {0, 32, 31, 30, 29}},  // the device has channels 0 to 32 only
        {INT32_MIN, {0, 0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.base);
        player->channelBase = c.base;
        for (int t = 0; t < 5; ++t) {
            rec->Take();
            player->sounding[t] = 0;
            // A note with a volume and a slide.
            player->p_Tz_PlayNote(t, 13, 30, 1, 9);
            const std::vector<AudioCall> calls = rec->Take();
            if (c.channels[t] == 0) {
                EXPECT_TRUE(calls.empty()) << "track " << t;
                EXPECT_EQ(player->sounding[t], 0);
                continue;
            }
            ASSERT_FALSE(calls.empty()) << "track " << t;
            for (const AudioCall &a : calls) EXPECT_EQ(a.channel, c.channels[t]) << a.op;
            const auto plays = RecordingAudio::Only(calls, "Play");
            ASSERT_EQ(plays.size(), 1u) << "track " << t;
            EXPECT_EQ(plays[0].value, t < 2 ? 0.0f : 1.0f) << "drums once, melodies loop";
            gxtkSample *expected = t == 0   ? SampleOf(player->drumKitA[1])
                                   : t == 1 ? SampleOf(player->drumKitB[1])
                                            : SampleOf(player->instruments[t]);
            EXPECT_EQ(plays[0].sample, expected);
            EXPECT_EQ(player->sounding[t], 1);
        }
    }
    // With base 32 the channels array holds 31 to 27 for the played tracks.
    player->channelBase = 32;
    player->p_Tz_PlayNote(0, 0, 0, 0, 0);
    for (int t = 0; t < 5; ++t) EXPECT_EQ(player->channels[t], 31 - t);
    EXPECT_EQ(player->channels[5], 0);
}

TEST_F(Voices, DrumHitsFollowTheKitMap) {
    struct Case {
        const char *name;
        int track, note;
        bool plays;
        float pan;
    };
    const Case cases[] = {
        {"kit A key 13", 0, 13, true, -0.35f}, {"kit A key 25", 0, 25, true, -0.35f},
        {"kit A note 16", 0, 16, false, 0.0f}, {"kit A note 31", 0, 31, false, 0.0f},
        {"kit B key 20", 1, 20, true, 0.35f},  {"kit B slot 8 has no file", 1, 25, false, 0.0f},
    };
    const int slotOf[32] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2,
                            0, 3, 4, 0, 5, 0, 6, 0, 7, 8, 0, 0, 0, 0, 0, 0};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const int channel = 31 - c.track;
        player->trackRate[c.track] = 2.5f;
        player->trackEnvelope[c.track] = 0.5f;
        player->sounding[c.track] = 0;
        player->p_Tz_PlayNote(c.track, c.note, 0, 0, 0);
        const std::vector<AudioCall> calls = rec->Take();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls[0].op, "Stop");
        EXPECT_EQ(calls[0].channel, channel);
        if (c.plays) {
            ASSERT_EQ(calls.size(), 3u);
            EXPECT_EQ(calls[1].op, "Play");
            Array<c_Sound *> kit = c.track == 0 ? player->drumKitA : player->drumKitB;
            EXPECT_EQ(calls[1].sample, SampleOf(kit[slotOf[c.note]]));
            EXPECT_EQ(calls[2].op, "Pan");
            EXPECT_FLOAT_EQ(calls[2].value, c.pan);
            EXPECT_EQ(player->sounding[c.track], 1);
        } else {
            EXPECT_EQ(calls.size(), 1u);
            EXPECT_EQ(player->sounding[c.track], 0);
        }
        // Every drum note resets rate (stored only) and envelope: 4.0, less
        // this row's step.
        EXPECT_EQ(player->trackRate[c.track], 1.0f);
        EXPECT_FLOAT_EQ(player->trackEnvelope[c.track], 3.9f);
        EXPECT_TRUE(RecordingAudio::Only(calls, "Rate").empty());
    }
}

TEST_F(Voices, RowVolumesScaleFromSilentToFull) {
    struct Case {
        int volume;
        float sent;  // the channel volume: musicVolume (0.5) x v
    };
    const Case cases[] = {{30, 0.5f}, {1, 0.0f}, {31, 0.0f}, {15, 0.5f * 14 / 29}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.volume);
        player->p_Tz_PlayNote(3, 0, c.volume, 0, 0);
        const std::vector<float> sent = Values("Volume");
        rec->Take();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_FLOAT_EQ(sent[0], c.sent);
    }
    // Volume 0 keeps what was set.
    player->p_Tz_PlayNote(3, 0, 0, 0, 0);
    EXPECT_TRUE(Values("Volume").empty());
}

TEST_F(Voices, LeadNoteHoldsItsVolumeThenDiesAwayOverFifteenRows) {
    player->p_Tz_PlayNote(2, 13, 30, 0, 0);
    std::vector<float> sent = Values("Volume");
    rec->Take();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_FLOAT_EQ(sent[0], 0.5f);

    std::vector<float> perRow;
    for (int r = 1; r <= 15; ++r) {
        player->p_Tz_PlayNote(2, 0, 0, 0, 0);
        const std::vector<float> v = Values("Volume");
        rec->Take();
        if (r <= 4) {
            EXPECT_TRUE(v.empty()) << "row " << r << " after the note";
            continue;
        }
        ASSERT_EQ(v.size(), 1u) << "row " << r;
        perRow.push_back(v[0]);
    }
    // From the fifth row on, each row multiplies by the falling envelope:
    // just under 1.0, then about 0.9, 0.8 ...
    ASSERT_EQ(perRow.size(), 11u);
    EXPECT_LT(perRow[0], 0.5f);
    EXPECT_GT(perRow[0], 0.499f);
    float previous = 0.5f;
    for (size_t i = 0; i + 1 < perRow.size(); ++i) {
        const float envelope = 1.0f - 0.1f * static_cast<float>(i);
        EXPECT_NEAR(perRow[i] / previous, envelope, 2e-5) << "row " << i + 5;
        previous = perRow[i];
    }
    // Fifteen rows after the note the volume is 0.
    EXPECT_EQ(perRow.back(), 0.0f);
    EXPECT_EQ(player->trackEnvelope[2], 0.0f);
}

TEST_F(Voices, SlidesMoveTheRateWithinLimits) {
    struct Case {
        const char *name;
        int track;
        float rate;
        int effect, parameter;
        float sent;  // < 0: no rate sent
    };
    const Case cases[] = {
        {"fine up clamps at 4.0", 2, 3.9f, 1, 31, 4.0f},
        {"coarse down clamps at 0.25", 2, 1.0f, 4, 31, 0.25f},
        {"fine up", 3, 1.0f, 1, 31, 1.0f + 31 / 180.0f},
        {"fine down", 3, 1.0f, 2, 18, 0.9f},
        {"fine down clamps at 0.25", 3, 0.3f, 2, 31, 0.25f},
        {"coarse up", 4, 1.0f, 3, 15, 2.0f},
        {"coarse up clamps at 4.0", 4, 3.5f, 3, 15, 4.0f},
        {"on a drum track", 0, 1.0f, 1, 18, 1.1f},
        {"break is the sequencer's", 2, 1.0f, 8, 5, -1},
        {"alternation is the sequencer's", 2, 1.0f, 27, 1, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        player->trackRate[c.track] = c.rate;
        player->p_Tz_PlayNote(c.track, 0, 0, c.effect, c.parameter);
        const std::vector<AudioCall> rates = RecordingAudio::Only(rec->Take(), "Rate");
        if (c.sent < 0) {
            EXPECT_TRUE(rates.empty());
            EXPECT_EQ(player->trackRate[c.track], c.rate);
            continue;
        }
        ASSERT_EQ(rates.size(), 1u);
        EXPECT_EQ(rates[0].channel, 31 - c.track);
        EXPECT_NEAR(rates[0].value, c.sent, 1e-6);
        EXPECT_EQ(player->trackRate[c.track], rates[0].value);
    }
    // With a note in the same row the slide comes after the new pitch.
    player->p_Tz_PlayNote(2, 13, 30, 3, 15);
    const std::vector<float> rates = Values("Rate");
    ASSERT_EQ(rates.size(), 2u);
    EXPECT_EQ(rates[0], 1.0f);
    EXPECT_EQ(rates[1], 2.0f);
}

TEST_F(Voices, ChordLetterTransposesMelodicNotesWhilePlaying) {
    struct Case {
        const char *queue;
        int state;
        int note;
        float factor;  // chordFactor
        float rate;
    };
    const Case cases[] = {
        {"j", kTzPlaying, 13, 0.891f, 0.891f},
        {"bqq", kTzPlaying, 25, 0.749f, 2.0f * 0.749f},
        {"", kTzPlaying, 13, 1.0f, 1.0f},
        {" qqjj", kTzPlaying, 13, 0.0f, 0.0f},  // a space has no factor
        {"j", kTzStopped, 13, 1.0f, 1.0f},
        {"q", kTzPlaying, 33, 1.0f, 0.0f},  // no such note
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("'") + c.queue + "' note " + std::to_string(c.note));
        player->chordQueue = String(c.queue);
        player->state = c.state;
        player->p_Tz_PlayNote(2, c.note, 30, 0, 0);
        const std::vector<AudioCall> rates = RecordingAudio::Only(rec->Take(), "Rate");
        ASSERT_EQ(rates.size(), 1u);
        EXPECT_EQ(rates[0].channel, 29);
        EXPECT_FLOAT_EQ(rates[0].value, c.rate);
        EXPECT_FLOAT_EQ(player->chordFactor, c.factor);
    }
}

TEST_F(Voices, MutedTrackLeadsInOverTheLastEightRowsOfTheLastPass) {
    struct Case {
        const char *name;
        int row, repeatsLeft, leadIn, nextMuted, state;
        bool plays;
    };
    const Case cases[] = {
        {"row 56 of the last pass", 56, 1, 1, 0, kTzPlaying, true},
        {"row 63 of an overrun pass", 63, 0, 1, 0, kTzPlaying, true},
        {"no lead-in", 56, 1, 0, 0, kTzPlaying, false},
        {"row 55", 55, 1, 1, 0, kTzPlaying, false},
        {"not the last pass", 60, 2, 1, 0, kTzPlaying, false},
        {"stays muted next section", 60, 1, 1, 1, kTzPlaying, false},
        {"stopped", 60, 1, 1, 0, kTzStopped, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (int t : {0, 2}) {
            player->muted[t] = 1;
            player->trackEnvelope[t] = 4.0f;  // well above the decay
            player->row = c.row;
            player->repeatsLeft = c.repeatsLeft;
            player->leadIn[t] = c.leadIn;
            player->nextMuted[t] = c.nextMuted;
            player->state = c.state;
            player->p_Tz_PlayNote(t, 13, 30, 1, 9);
            const std::vector<AudioCall> calls = rec->Take();
            EXPECT_EQ(RecordingAudio::Only(calls, "Play").size(), c.plays ? 1u : 0u) << t;
            if (!c.plays) {
                EXPECT_TRUE(calls.empty()) << "a muted track touches nothing: " << t;
            }
        }
    }
}

TEST(PitchTables, NoteAndLetterFactorsAsListed) {
    c_TzPlayer local;  // outside the collector; the tables need no state
    const float listed[32] = {0.5f,    0.5295f, 0.561f, 0.5945f, 0.63f,  0.6675f, 0.707f, 0.749f,
                              0.7935f, 0.841f,  0.891f, 0.944f,  1.0f,   1.059f,  1.122f, 1.189f,
                              1.26f,   1.335f,  1.414f, 1.498f,  1.587f, 1.682f,  1.782f, 1.888f,
                              2.0f,    2.118f,  2.244f, 2.378f,  2.52f,  2.67f,   2.828f, 2.996f};
    for (int n = 1; n <= 32; ++n) {
        EXPECT_EQ(local.p_GetPitch(n), listed[n - 1]) << n;
        // Close to equal temperament around note 13.
        EXPECT_NEAR(local.p_GetPitch(n), std::pow(2.0, (n - 13) / 12.0), 0.002) << n;
    }
    for (int n : {0, 33, -1, 1000}) EXPECT_EQ(local.p_GetPitch(n), 0.0f) << n;

    // The two-row keyboard gives notes 1 to 32 in order.
    const std::string keys = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(local.p_GetPitch_Alpha(keys[i]), local.p_GetPitch(static_cast<int>(i) + 1))
            << keys[i];
    }
    EXPECT_EQ(local.p_GetPitch_Alpha('z'), 0.5f);
    EXPECT_EQ(local.p_GetPitch_Alpha('q'), 1.0f);
    EXPECT_EQ(local.p_GetPitch_Alpha('j'), 0.891f);
    EXPECT_EQ(local.p_GetPitch_Alpha('b'), 0.749f);
    EXPECT_EQ(local.p_GetPitch_Alpha('i'), 2.0f);
    EXPECT_EQ(local.p_GetPitch_Alpha(']'), 2.996f);
    for (int code : {int(' '), int('Q'), int('a'), int('1'), 0, 0x2071, -5}) {
        EXPECT_EQ(local.p_GetPitch_Alpha(code), 0.0f) << code;
    }
}

TEST(ChordPatterns, IndexTable) {
    c_TzPlayer local;
    const char *listed[] = {"qqqq", "qqjj", "qqbb", "qbqb", "qqqj", "qqzz"};
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(local.p_Tz_GetChord(i) == String(listed[i])) << i;
    for (int i : {-1, 6, 100}) EXPECT_TRUE(local.p_Tz_GetChord(i) == String("qqjj")) << i;
}

}  // namespace
