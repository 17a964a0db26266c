// Shared fixture of the music player tests: the game's test window and
// devices (tests/game/support), a test song written into the data folder as
// a PNG of 64 pattern frames plus tiny instrument WAVs, an audio device that
// records every call it receives before passing it on to OpenAL, a player
// that records the cells its tick hands to the voices, and a clock moved by
// whole milliseconds.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/audio.h"
#include "music/player.h"
#include "tests/game/support/game_fixture.h"

// ---------------------------------------------------------------------------
// The test song
// ---------------------------------------------------------------------------

struct SongCell {
    int pattern, track, row;
    int note, volume, effect, parameter;
};

// Instrument numbers of the test song's file names.
constexpr int kSongKitA = 4;
constexpr int kSongKitB = 3;
constexpr int kSongLead = 1;
constexpr int kSongAccompany = 2;
constexpr int kSongBass = 5;
// Kit B slot 8 has no file: that slot stays empty.
constexpr int kSongMissingKitBSlot = 8;

// Cells of the song as the tests write and expect them (see the .cpp for
// the musical content).
class TestSong {
public:
    TestSong();
    // Sets columns 0 to 3 of one cell (and optionally a column 4 to 7
    // value, to show every column decodes).
    void Set(const SongCell &c);
    void SetColumn(int pattern, int track, int row, int column, int value);
    int At(int pattern, int track, int row, int column) const;
    // The song image: 64 frames of 64 x 64 on an 8 x 8 sheet, blue =
    // value << 3, red and green noise, opaque.
    void WritePng(const std::string &path) const;
    // Values per pattern as the decoder should leave songData.
    const std::vector<int> &Values() const { return values_; }

private:
    std::vector<int> values_;  // 64 patterns x 4096
};

// The song every music test uses; frame 63 also carries data that must
// never be decoded.
const TestSong &StandardSong();

// ---------------------------------------------------------------------------
// Recording devices
// ---------------------------------------------------------------------------

struct AudioCall {
    std::string op;  // "Stop", "Play", "Volume", "Pan", "Rate"
    int channel;
    float value;  // volume, pan or rate; the flags of a play
    gxtkSample *sample;
};

// The real OpenAL device with every channel operation recorded.
class RecordingAudio : public gxtkAudio {
public:
    std::vector<AudioCall> calls;

    int PlaySample(gxtkSample *sample, int channel, int flags) override;
    int StopChannel(int channel) override;
    int SetVolume(int channel, float volume) override;
    int SetPan(int channel, float pan) override;
    int SetRate(int channel, float rate) override;

    // Calls since the last Take.
    std::vector<AudioCall> Take();
    static std::vector<AudioCall> Only(const std::vector<AudioCall> &calls, const std::string &op);
};

struct NoteCall {
    int track, note, volume, effect, parameter;
    int row;  // the player's row when the voice was called
};

// The player with the cells its tick hands to p_Tz_PlayNote recorded.
class RecordingPlayer : public c_TzPlayer {
public:
    std::vector<NoteCall> notes;
    int p_Tz_PlayNote(int track, int note, int volume, int effect, int parameter) override;
    std::vector<NoteCall> Take();
};

// ---------------------------------------------------------------------------
// Fixture
// ---------------------------------------------------------------------------

class MusicFixture : public GameFixture {
public:
    void SetUp() override;

    // The song files in data/: the image as "songs/test.png" and the
    // instruments under "inst/": drums are short fading tone bursts, the
    // melodic instruments quieter steady tones (they loop).
    void WriteSongFiles();
    // A player of the test song, held in the game object's musicPlayer so
    // the collector keeps it: song path, instrument numbers and seed set,
    // channelBase 32, not loading and stopped.
    RecordingPlayer *NewPlayer(int songSeed = 7);
    // One real render frame with the player's render-time service first.
    void RenderPlayer();
    // Renders until the loader is idle; returns the renders it took.
    int LoadSong(int limit = 40);
    // Loads the song and puts the player into the playing state with the
    // first row due at the next tick.
    void StartPlaying();
    // Plays exactly one row now (the schedule made due first).
    void PlayRow();
    // Runs ticks until the player's row is the given one (at most a
    // pattern and a half of rows).
    void PlayUntilRow(int row);

    // The clock in whole milliseconds, as the host reads it (wrapping
    // modulo 2^32).
    void SetClock(int millis);
    int Now() const { return Millis(); }

    // Set before SetUp to keep the game's own device in bb_audio_device.
    bool recordAudio = true;
    RecordingAudio *rec = nullptr;
    RecordingPlayer *player = nullptr;
};
