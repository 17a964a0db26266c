// Audio module: sounds as the game holds them, and the bb_audio_ functions
// that play them on the device in `bb_audio_device`.
#pragma once

#include "audio/device.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

class c_Sound : public Object {
public:
    gxtkSample *sample = nullptr;  // may be null

    c_Sound();
    c_Sound *m_new(gxtkSample *sample);
    c_Sound *m_new2();
    void mark() override;
};

// ---------------------------------------------------------------------------
// Module global and functions
// ---------------------------------------------------------------------------

extern gxtkAudio *bb_audio_device;

int bb_audio_SetAudioDevice(gxtkAudio *device);
// Maps the path with bb_data_FixDataPath; null when the sound cannot be
// loaded.
c_Sound *bb_audio_LoadSound(String path);
int bb_audio_PlaySound(c_Sound *sound, int channel, int flags);
int bb_audio_StopChannel(int channel);
int bb_audio_SetChannelVolume(int channel, float volume);
int bb_audio_SetChannelPan(int channel, float pan);
int bb_audio_SetChannelRate(int channel, float rate);
