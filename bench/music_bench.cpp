// Music player benchmarks: the cost of one playback row with a note, a
// volume and a slide on every track (the audio device over OpenAL Soft's
// null backend), and of a row that ends a section and rearranges the song.

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "audio/audio.h"
#include "host/app.h"
#include "music/player.h"

namespace {

// A player whose every cell holds a note, a volume and a slide; no host,
// so the clock reads 0 and the schedule is made due before each row.
c_TzPlayer *DensePlayer() {
    static gxtkAudio *device = [] {
        setenv("ALSOFT_CONF", TESSELON_SOURCE_DIR "/tests/null-audio.conf", 1);
        gxtkAudio *d = new gxtkAudio();
        bb_audio_SetAudioDevice(d);
        return d;
    }();
    (void)device;
    c_TzPlayer *p = (new c_TzPlayer())->m_new();
    p->p_Tz_Init(32, 4, 3, 3, 4);
    for (int pattern = 0; pattern < kTzDecodedFrames; ++pattern) {
        for (int t = 0; t < kTzTracksStored; ++t) {
            for (int r = 0; r < kTzRows; ++r) {
                const int cell = c_TzPlayer::CellIndex(pattern, t, r);
                p->songData[cell + kTzColNote] = 13 + r % 12;
                p->songData[cell + kTzColVolume] = 30 - r % 20;
                p->songData[cell + kTzColEffect] = 1 + r % 4;
                p->songData[cell + kTzColParameter] = r % 31;
            }
            p->lastPattern[t] = kTzDecodedFrames - 1;
        }
    }
    p->state = kTzPlaying;
    p->chordQueue = String("qqjj");
    return p;
}

void BM_MusicRow(benchmark::State &state) {
    c_TzPlayer *p = DensePlayer();
    for (auto _ : state) {
        p->row = 10;
        p->nextStepTime = -1;
        p->p_Tz_MusicPlay();
    }
}
BENCHMARK(BM_MusicRow);

void BM_MusicSectionChange(benchmark::State &state) {
    c_TzPlayer *p = DensePlayer();
    p->chordQueue = String("j");
    for (auto _ : state) {
        p->row = 63;
        p->repeatsLeft = 1;
        p->nextStepTime = -1;
        p->p_Tz_MusicPlay();
    }
}
BENCHMARK(BM_MusicSectionChange);

}  // namespace

BENCHMARK_MAIN();
