// The audio module: c_Sound and the bb_audio_ functions, each working on the
// device in `bb_audio_device`.

#include "audio/audio.h"
#include "host/files.h"

// ---------------------------------------------------------------------------
// Module global
// ---------------------------------------------------------------------------

gxtkAudio *bb_audio_device = nullptr;

// ---------------------------------------------------------------------------
// c_Sound
// ---------------------------------------------------------------------------

c_Sound::c_Sound() {}

c_Sound *c_Sound::m_new(gxtkSample *sample) {
    gc_assign(this->sample, sample);
    return this;
}

c_Sound *c_Sound::m_new2() {
    return this;
}

void c_Sound::mark() {
    gc_mark_q(sample);
}

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------

int bb_audio_SetAudioDevice(gxtkAudio *device) {
    gc_assign(bb_audio_device, device);
    return 0;
}

c_Sound *bb_audio_LoadSound(String path) {
    gxtkSample *sample = bb_audio_device->LoadSample(bb_data_FixDataPath(path));
    if (!sample) return nullptr;
    return (new c_Sound())->m_new(sample);
}

int bb_audio_PlaySound(c_Sound *sound, int channel, int flags) {
    if (sound && sound->sample) bb_audio_device->PlaySample(sound->sample, channel, flags);
    return 0;
}

int bb_audio_StopChannel(int channel) {
    return bb_audio_device->StopChannel(channel);
}

int bb_audio_SetChannelVolume(int channel, float volume) {
    return bb_audio_device->SetVolume(channel, volume);
}

int bb_audio_SetChannelPan(int channel, float pan) {
    return bb_audio_device->SetPan(channel, pan);
}

int bb_audio_SetChannelRate(int channel, float rate) {
    return bb_audio_device->SetRate(channel, rate);
}
