// The music tests' song, recording devices and fixture.
#include "tests/music/support/music_fixture.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>

#include "graphics/graphics.h"
#include "host/app.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace fs = std::filesystem;

namespace {

constexpr int kSheetFramesAcross = 8;
constexpr int kSheetSide = kSheetFramesAcross * kTzFrameSize;  // 512
constexpr int kWavHertz = 22050;
constexpr double kDrumSeconds = 0.04;
constexpr double kMelodySeconds = 0.25;

// A mono 16-bit WAV of a sine tone; drums fade out over their length.
void WriteToneWav(const std::string &path, double seconds, double frequency, double peak,
                  bool fade) {
    fs::create_directories(fs::path(path).parent_path());
    const int samples = static_cast<int>(seconds * kWavHertz);
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](unsigned v) {
        for (int i = 0; i < 4; ++i) out.put(static_cast<char>(v >> (8 * i)));
    };
    auto u16 = [&](unsigned v) {
        out.put(static_cast<char>(v));
        out.put(static_cast<char>(v >> 8));
    };
    out.write("RIFF", 4);
    u32(36 + samples * 2);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(kWavHertz);
    u32(kWavHertz * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(samples * 2);
    for (int i = 0; i < samples; ++i) {
        double a = peak * std::sin(2 * M_PI * frequency * i / kWavHertz);
        if (fade) a *= 1.0 - double(i) / samples;
        u16(static_cast<unsigned>(static_cast<int16_t>(std::lround(a * 32767))) & 0xffffu);
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// TestSong
// ---------------------------------------------------------------------------

TestSong::TestSong() : values_(static_cast<size_t>(kTzPatterns) * kTzPatternValues, 0) {}

void TestSong::SetColumn(int pattern, int track, int row, int column, int value) {
    values_[c_TzPlayer::CellIndex(pattern, track, row) + column] = value;
}

void TestSong::Set(const SongCell &c) {
    SetColumn(c.pattern, c.track, c.row, kTzColNote, c.note);
    SetColumn(c.pattern, c.track, c.row, kTzColVolume, c.volume);
    SetColumn(c.pattern, c.track, c.row, kTzColEffect, c.effect);
    SetColumn(c.pattern, c.track, c.row, kTzColParameter, c.parameter);
}

int TestSong::At(int pattern, int track, int row, int column) const {
    return values_[c_TzPlayer::CellIndex(pattern, track, row) + column];
}

void TestSong::WritePng(const std::string &path) const {
    fs::create_directories(fs::path(path).parent_path());
    std::vector<unsigned char> rgba(static_cast<size_t>(kSheetSide) * kSheetSide * 4);
    std::mt19937 noise(12345);
    for (int f = 0; f < kTzPatterns; ++f) {
        const int fx = f % kSheetFramesAcross * kTzFrameSize;
        const int fy = f / kSheetFramesAcross * kTzFrameSize;
        for (int y = 0; y < kTzFrameSize; ++y) {
            for (int x = 0; x < kTzFrameSize; ++x) {
                const int v = At(f, x / kTzColumns, y, x % kTzColumns);
                unsigned char *p = &rgba[(static_cast<size_t>(fy + y) * kSheetSide + fx + x) * 4];
                p[0] = static_cast<unsigned char>(noise());  // red: not part of the song
                p[1] = static_cast<unsigned char>(noise());  // green: likewise
                p[2] = static_cast<unsigned char>(v << 3);
                p[3] = 255;
            }
        }
    }
    ASSERT_NE(stbi_write_png(path.c_str(), kSheetSide, kSheetSide, 4, rgba.data(), kSheetSide * 4),
              0);
}

const TestSong &StandardSong() {
    static const TestSong song = [] {
        TestSong s;
        // Pattern 0, the first section's pattern on every track.
        for (int row : {0, 8, 24, 40, 56}) s.Set({0, 0, row, 13, 30, 0, 0});  // kit A slot 1
        s.Set({0, 0, 16, 15, 30, 0, 0});                                      // slot 2
        s.Set({0, 0, 32, 16, 30, 0, 0});                                      // not a drum key
        s.Set({0, 0, 48, 17, 30, 0, 0});                                      // slot 3
        s.Set({0, 1, 4, 25, 20, 0, 0});    // kit B slot 8: no file
        s.Set({0, 1, 12, 13, 20, 0, 0});   // kit B slot 1
        s.Set({0, 2, 0, 13, 30, 0, 0});    // lead at its own pitch, full volume
        s.Set({0, 2, 20, 25, 20, 1, 31});  // an octave up, sliding up
        s.Set({0, 2, 40, 1, 30, 0, 0});
        s.Set({0, 3, 0, 20, 15, 0, 0});
        s.Set({0, 4, 0, 1, 30, 0, 0});
        s.Set({0, 4, 32, 5, 0, 27, 2});  // alternation back from pattern 0
        s.SetColumn(0, 4, 63, 7, 31);    // an unused column still decodes
        // Pattern 1: a break on kit B at row 10, and a last row.
        s.Set({1, 1, 10, 13, 30, 8, 0});
        s.Set({1, 2, 10, 2, 30, 0, 0});
        s.Set({1, 2, 63, 14, 30, 0, 0});
        s.Set({1, 3, 63, 15, 30, 0, 0});
        s.Set({1, 4, 63, 16, 30, 0, 0});
        // Patterns 2 and 3: the lead alternates forward at row 5.
        s.Set({2, 2, 5, 3, 30, 27, 1});
        s.Set({3, 2, 5, 7, 25, 0, 0});
        s.Set({3, 2, 6, 9, 25, 0, 0});
        // Further data that only counts for the tracks' last patterns.
        s.Set({5, 3, 0, 13, 30, 0, 0});
        s.Set({10, 7, 1, 5, 0, 0, 0});
        s.Set({62, 0, 63, 13, 30, 0, 0});
        // Frame 63 is never decoded.
        s.Set({63, 2, 0, 13, 30, 0, 0});
        s.Set({63, 5, 0, 9, 0, 0, 0});
        return s;
    }();
    return song;
}

// ---------------------------------------------------------------------------
// Recording devices
// ---------------------------------------------------------------------------

int RecordingAudio::PlaySample(gxtkSample *sample, int channel, int flags) {
    calls.push_back({"Play", channel, static_cast<float>(flags), sample});
    return gxtkAudio::PlaySample(sample, channel, flags);
}
int RecordingAudio::StopChannel(int channel) {
    calls.push_back({"Stop", channel, 0.0f, nullptr});
    return gxtkAudio::StopChannel(channel);
}
int RecordingAudio::SetVolume(int channel, float volume) {
    calls.push_back({"Volume", channel, volume, nullptr});
    return gxtkAudio::SetVolume(channel, volume);
}
int RecordingAudio::SetPan(int channel, float pan) {
    calls.push_back({"Pan", channel, pan, nullptr});
    return gxtkAudio::SetPan(channel, pan);
}
int RecordingAudio::SetRate(int channel, float rate) {
    calls.push_back({"Rate", channel, rate, nullptr});
    return gxtkAudio::SetRate(channel, rate);
}

std::vector<AudioCall> RecordingAudio::Take() {
    std::vector<AudioCall> out;
    out.swap(calls);
    return out;
}

std::vector<AudioCall> RecordingAudio::Only(const std::vector<AudioCall> &calls,
                                            const std::string &op) {
    std::vector<AudioCall> out;
    for (const AudioCall &c : calls)
        if (c.op == op) out.push_back(c);
    return out;
}

int RecordingPlayer::p_Tz_PlayNote(int track, int note, int volume, int effect, int parameter) {
    notes.push_back({track, note, volume, effect, parameter, row});
    return c_TzPlayer::p_Tz_PlayNote(track, note, volume, effect, parameter);
}

std::vector<NoteCall> RecordingPlayer::Take() {
    std::vector<NoteCall> out;
    out.swap(notes);
    return out;
}

// ---------------------------------------------------------------------------
// Fixture
// ---------------------------------------------------------------------------

void MusicFixture::SetUp() {
    GameFixture::SetUp();
    if (HasFatalFailure()) return;
    if (recordAudio) {
        rec = new RecordingAudio();
        bb_audio_SetAudioDevice(rec);
    }
    SetClock(Millis() + 1000);
}

void MusicFixture::WriteSongFiles() {
    StandardSong().WritePng(DataPath("songs/test.png"));
    for (int k = 1; k <= 8; ++k) {
        // Each drum a different pitch; kit B an octave above kit A.
        WriteToneWav(
            DataPath("inst/d" + std::to_string(kSongKitA) + "-" + std::to_string(k) + ".wav"),
            kDrumSeconds, 800 + 100 * k, 0.8, true);
        if (k != kSongMissingKitBSlot) {
            WriteToneWav(
                DataPath("inst/d" + std::to_string(kSongKitB) + "-" + std::to_string(k) + ".wav"),
                kDrumSeconds, 1600 + 200 * k, 0.8, true);
        }
    }
    WriteToneWav(DataPath("inst/lead" + std::to_string(kSongLead) + ".wav"), kMelodySeconds, 440,
                 0.2, false);
    WriteToneWav(DataPath("inst/accompany" + std::to_string(kSongAccompany) + ".wav"),
                 kMelodySeconds, 330, 0.2, false);
    WriteToneWav(DataPath("inst/bass" + std::to_string(kSongBass) + ".wav"), kMelodySeconds, 110,
                 0.2, false);
}

RecordingPlayer *MusicFixture::NewPlayer(int songSeed) {
    RecordingPlayer *p = new RecordingPlayer();
    p->m_new();
    gc_assign(app->musicPlayer, p);
    p->p_Tz_Init(32, 4, 3, 3, 4);
    p->songPath = String("songs/test.png");
    p->instrumentNumbers[1] = kSongKitA;
    p->instrumentNumbers[2] = kSongKitB;
    p->instrumentNumbers[3] = kSongLead;
    p->instrumentNumbers[4] = kSongAccompany;
    p->instrumentNumbers[5] = kSongBass;
    p->songSeed = songSeed;
    player = p;
    return p;
}

void MusicFixture::RenderPlayer() {
    graphics->BeginRender();
    bb_graphics_BeginRender();
    player->p_Tz_Alive_R();
    bb_graphics_renderDevice = nullptr;
    graphics->EndRender();
    host->gc_collect();
}

int MusicFixture::LoadSong(int limit) {
    player->loadStep = 1;
    int renders = 0;
    while (player->loadStep > 0 && renders < limit) {
        RenderPlayer();
        ++renders;
    }
    return renders;
}

void MusicFixture::StartPlaying() {
    LoadSong();
    player->state = kTzPlaying;
    SetClock(player->nextStepTime + 1);
    if (rec) rec->Take();
}

void MusicFixture::PlayRow() {
    if (Now() <= player->nextStepTime) SetClock(player->nextStepTime + 1);
    const int before = player->row;
    player->p_Tz_MusicPlay();
    ASSERT_NE(player->row, before) << "no row played";
}

void MusicFixture::PlayUntilRow(int row) {
    for (int i = 0; i < kTzRows * 3 / 2 && player->row != row; ++i) PlayRow();
    ASSERT_EQ(player->row, row);
}

void MusicFixture::SetClock(int millis) {
    // The host reads the platform's seconds through 64 bits and wraps them
    // to 32, so a reading past 2^31 ms is a positive time; half a
    // millisecond keeps the truncation on the intended value.
    platform->now = (static_cast<uint32_t>(millis) + 0.5) / 1000.0;
}
