// The music player object: construction, collector marking, init, stopping
// the voices, and the render-time and update-time services that drive the
// loader and the playback tick.
#include "music/player.h"

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "host/app.h"

namespace {

// Steps the loader performs per render at most.
constexpr int kLoadStepsPerRender = 3;
// Milliseconds the next row waits after the latest paused update.
constexpr int kPauseHoldMillis = 150;

}  // namespace

int tz_Now() {
    return bb_app__game ? bb_app__game->Millisecs() : 0;
}

c_TzPlayer::c_TzPlayer()
    : initValues(kTzSmallArray),
      instrumentNumbers(kTzSmallArray),
      drumKitA(kTzKitSlots),
      drumKitB(kTzKitSlots),
      instruments(kTzSmallArray),
      songData(kTzSongValues),
      lastPattern(kTzSmallArray),
      channels(kTzSmallArray),
      sounding(kTzSmallArray),
      trackPattern(kTzSmallArray),
      muted(kTzSmallArray),
      leadIn(kTzSmallArray),
      nextMuted(kTzSmallArray),
      trackRate(kTzSmallArray),
      trackEnvelope(kTzSmallArray),
      trackVolume(kTzSmallArray) {}

c_TzPlayer *c_TzPlayer::m_new() {
    return this;
}

void c_TzPlayer::mark() {
    gc_mark_q(initValues);
    gc_mark_q(instrumentNumbers);
    gc_mark_q(drumKitA);
    gc_mark_q(drumKitB);
    gc_mark_q(instruments);
    gc_mark_q(songImage);
    gc_mark_q(songData);
    gc_mark_q(lastPattern);
    gc_mark_q(channels);
    gc_mark_q(sounding);
    gc_mark_q(trackPattern);
    gc_mark_q(muted);
    gc_mark_q(leadIn);
    gc_mark_q(nextMuted);
    gc_mark_q(trackRate);
    gc_mark_q(trackEnvelope);
    gc_mark_q(trackVolume);
}

int c_TzPlayer::CellIndex(int pattern, int track, int row) {
    if (pattern < 0 || pattern >= kTzPatterns || track < 0 || track >= kTzTracksStored || row < 0 ||
        row >= kTzRows) {
        return -1;
    }
    return pattern * kTzPatternValues + track * kTzTrackValues + row * kTzColumns;
}

int c_TzPlayer::PlayedTracks() const {
    if (trackCount < 0) return 0;
    return trackCount < kTzSmallArray ? trackCount : kTzSmallArray;
}

bool c_TzPlayer::UsableChannel(int channel) {
    return channel > 0 && channel < kAudioChannelCount;
}

int c_TzPlayer::p_Tz_Init(int base, int a, int b, int c, int d) {
    channelBase = base;
    initValues[1] = a;
    initValues[2] = b;
    initValues[3] = c;
    initValues[4] = d;
    return 0;
}

int c_TzPlayer::p_Tz_Alive_R() {
    for (int i = 0; i < kLoadStepsPerRender && loadStep > 0; ++i) p_Tz_LoadChunk();
    // Also hides what the decoding drew.
    bb_graphics_Cls(0.0f, 0.0f, 0.0f);
    return 0;
}

int c_TzPlayer::p_Tz_Alive_U(int paused, int musicOn) {
    if (state == kTzStopped) p_Tz_Stop(0);
    if (state == kTzPlaying && loadStep == 0 && paused == 0) {
        if (musicOn == 1) {
            p_Tz_MusicPlay();
        } else if (musicOn == 0) {
            p_Tz_Stop(0);
        }
        return 0;
    }
    if (paused == 1) {
        nextStepTime = static_cast<int>(static_cast<unsigned>(tz_Now()) + kPauseHoldMillis);
        if (state == kTzPlaying) p_Tz_Stop(0);
        return 0;
    }
    if (state == kTzPlaying && musicOn == 0) p_Tz_Stop(0);
    return 0;
}

int c_TzPlayer::p_Tz_Stop(int reset) {
    const int tracks = PlayedTracks();
    for (int t = 0; t < tracks; ++t) {
        if (channels[t] > 0 && sounding[t] == 1) {
            if (bb_audio_device && UsableChannel(channels[t])) {
                bb_audio_device->StopChannel(channels[t]);
            }
            sounding[t] = 0;
        }
    }
    if (reset == 1) state = kTzStopped;
    return 0;
}
