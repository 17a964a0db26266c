// One row of one track as calls on the audio device: the mute and its
// lead-in, the chord factor, the track channels, drum hits from the kit
// map, the row volume and the falling envelope, melodic notes looping at
// the chord-scaled pitch, and the pitch-slide effects.
#include "music/player.h"

#include <cstdint>

#include "audio/audio.h"

namespace {

constexpr int kTrackKitA = 0;
constexpr int kTrackKitB = 1;
constexpr int kFirstMelodicTrack = 2;
constexpr int kLastMelodicTrack = 4;

constexpr float kKitAPan = -0.35f;
constexpr float kKitBPan = 0.35f;

// Lead-in: a silent track due to play in the next section may start in
// the rows after this one of the section's last pass.
constexpr int kLeadInAfterRow = 55;

// Volume column: 1 to 30 from silent to full, 31 silence.
constexpr float kVolumeSteps = 29.0f;
// Envelope levels.
constexpr float kDrumEnvelope = 4.0f;
constexpr float kFreshEnvelope = 1.5f;
constexpr float kEnvelopeStep = 0.1f;
constexpr float kEnvelopeHold = 1.0f;  // the fresh volume holds while at or above this

// Pitch slides: parameter over these per row, within the rate limits.
constexpr float kFineSlide = 180.0f;
constexpr float kCoarseSlide = 15.0f;
constexpr float kRateMax = 4.0f;
constexpr float kRateMin = 0.25f;

// Drum keys of kit slots 1 to 8; 0 for any other note.
int DrumSlot(int note) {
    switch (note) {
        case 13:
            return 1;
        case 15:
            return 2;
        case 17:
            return 3;
        case 18:
            return 4;
        case 20:
            return 5;
        case 22:
            return 6;
        case 24:
            return 7;
        case 25:
            return 8;
        default:
            return 0;
    }
}

gxtkSample *SampleOf(c_Sound *sound) {
    return sound ? sound->sample : nullptr;
}

// Audio device calls, skipped without a device or on a channel it lacks.
void Stop(int channel) {
    if (bb_audio_device && c_TzPlayer::UsableChannel(channel)) {
        bb_audio_device->StopChannel(channel);
    }
}
void Volume(int channel, float volume) {
    if (bb_audio_device && c_TzPlayer::UsableChannel(channel)) {
        bb_audio_device->SetVolume(channel, volume);
    }
}
void Rate(int channel, float rate) {
    if (bb_audio_device && c_TzPlayer::UsableChannel(channel)) {
        bb_audio_device->SetRate(channel, rate);
    }
}
void Pan(int channel, float pan) {
    if (bb_audio_device && c_TzPlayer::UsableChannel(channel)) {
        bb_audio_device->SetPan(channel, pan);
    }
}
// False when nothing was started.
bool Play(gxtkSample *sample, int channel, int flags) {
    if (!sample || !bb_audio_device || !c_TzPlayer::UsableChannel(channel)) return false;
    bb_audio_device->PlaySample(sample, channel, flags);
    return true;
}

// channelBase - 1 - track, kept within the int range.
int ChannelOf(int base, int track) {
    const long long channel = static_cast<long long>(base) - 1 - track;
    return channel < INT32_MIN ? INT32_MIN : static_cast<int>(channel);
}

}  // namespace

int c_TzPlayer::p_Tz_PlayNote(int t, int note, int volume, int effect, int parameter) {
    if (t < 0 || t >= kTzSmallArray) return 0;

    // 1. Mute, with the lead-in of the last eight rows.
    int m = muted[t];
    if (state == kTzPlaying && repeatsLeft <= 1 && row > kLeadInAfterRow && leadIn[t] == 1 &&
        nextMuted[t] == 0) {
        m = 0;
    }

    // 2. Chord factor.
    chordFactor = 1.0f;
    if (state == kTzPlaying && chordQueue.Length() > 0) {
        chordFactor = p_GetPitch_Alpha(chordQueue[0]);
    }

    // 3. Channels.
    const int tracks = PlayedTracks();
    for (int u = 0; u < tracks; ++u) channels[u] = ChannelOf(channelBase, u);
    const int channel = channels[t];

    // 4. Drum hit.
    if ((t == kTrackKitA || t == kTrackKitB) && note > 0 && m == 0 && channel > 0) {
        Array<c_Sound *> kit = t == kTrackKitA ? drumKitA : drumKitB;
        Stop(channel);
        const int slot = DrumSlot(note);
        if (slot > 0) {
            gxtkSample *sample = SampleOf(kit[slot]);
            if (sample && UsableChannel(channel)) {
                sounding[t] = 1;
                Play(sample, channel, 0);
                Pan(channel, t == kTrackKitA ? kKitAPan : kKitBPan);
            }
        }
        trackRate[t] = 1.0f;
        trackEnvelope[t] = kDrumEnvelope;
    }

    // 5. Volume and envelope.
    float v = static_cast<float>(volume - 1) / kVolumeSteps;
    if (v > 1.0f) {
        trackEnvelope[t] = 0.0f;
        v = 0.0f;
    }
    if (v < 0.0f) v = 0.0f;
    if (volume >= 1 && channel > 0 && m == 0) {
        trackEnvelope[t] = kFreshEnvelope;
        Volume(channel, musicVolume * v);
        trackVolume[t] = v;
    } else {
        v = trackVolume[t];
    }
    float envelope = trackEnvelope[t] - kEnvelopeStep;
    if (envelope < 0.0f) envelope = 0.0f;
    trackEnvelope[t] = envelope;
    if (envelope < kEnvelopeHold && channel > 0) {
        Volume(channel, musicVolume * envelope * v);
        trackVolume[t] = envelope * v;
    }

    // 6. Melodic note.
    if (t >= kFirstMelodicTrack && t <= kLastMelodicTrack && note > 0) {
        if (m != 0) return 0;
        if (channel < 1) return 0;
        Stop(channel);
        const float r = p_GetPitch(note) * chordFactor;
        trackRate[t] = r;
        trackEnvelope[t] = kFreshEnvelope;
        Rate(channel, r);
        gxtkSample *sample = SampleOf(instruments[t]);
        if (sample && UsableChannel(channel)) {
            sounding[t] = 1;
            Play(sample, channel, 1);
        }
    } else if (m != 0) {
        return 0;
    }

    // 7. Effects.
    if (channel <= 0) return 0;
    float rate = trackRate[t];
    switch (effect) {
        case 1:
            rate += static_cast<float>(parameter) / kFineSlide;
            if (rate > kRateMax) rate = kRateMax;
            break;
        case 2:
            rate -= static_cast<float>(parameter) / kFineSlide;
            if (rate < kRateMin) rate = kRateMin;
            break;
        case 3:
            rate += static_cast<float>(parameter) / kCoarseSlide;
            if (rate > kRateMax) rate = kRateMax;
            break;
        case 4:
            rate -= static_cast<float>(parameter) / kCoarseSlide;
            if (rate < kRateMin) rate = kRateMin;
            break;
        default:
            return 0;
    }
    trackRate[t] = rate;
    Rate(channel, rate);
    return 0;
}
