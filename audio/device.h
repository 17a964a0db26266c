// Audio device: 33 numbered channels over OpenAL, one source per channel,
// and samples that each own one OpenAL buffer.
//
// Buffers are never deleted while a source may still use them: a discarded
// sample hands its buffer to the program-wide `discarded` list, which the
// device flushes at the start of every PlaySample and LoadSample.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <vector>

#include "runtime/runtime.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

// Channels 0 to 32; the music operations use the last one.
constexpr int kAudioChannelCount = 33;
constexpr int kMusicChannel = 32;

// Channel states as ChannelState reports them.
constexpr int kChannelStopped = 0;
constexpr int kChannelPlaying = 1;
constexpr int kChannelPaused = 2;

// Sample formats as LoadAudioData reports them (bytes per sample value).
constexpr int kSampleFormatU8 = 1;
constexpr int kSampleFormatS16 = 2;

class gxtkSample;

// Buffer names waiting to be deleted once no source uses them.
extern std::vector<ALuint> discarded;

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// One channel: a plain record inside the device, not a collected object.
struct gxtkChannel {
    ALuint source = 0;             // 0 until first needed, then kept
    gxtkSample *sample = nullptr;  // the sample last started here
    int flags = 0;                 // flags of the last play; non-zero loops
    int state = kChannelStopped;   // the device's own view of the channel

    // The channel's source, created with alGenSources on first use.
    ALuint AL_Source();
};

class gxtkSample : public Object {
public:
    ALuint buffer = 0;

    gxtkSample();
    explicit gxtkSample(ALuint buffer);
    ~gxtkSample() override;

    void SetBuffer(ALuint buffer);

    // Hands the buffer to `discarded` and forgets it; returns 0.
    virtual int Discard();
};

class gxtkAudio : public Object {
public:
    ALCdevice *device = nullptr;
    ALCcontext *context = nullptr;
    gxtkChannel channels[kAudioChannelCount];

    // Opens the default device; prints "OpenAl error: ..." and stays silent
    // when there is none.
    gxtkAudio();

    // Marks the samples of channels whose source is still playing or paused.
    void mark() override;

    virtual int Suspend();
    virtual int Resume();
    virtual gxtkSample *LoadSample__UNSAFE__(gxtkSample *sample, String path);
    virtual gxtkSample *LoadSample(String path);
    virtual int PlaySample(gxtkSample *sample, int channel, int flags);
    virtual int StopChannel(int channel);
    virtual int PauseChannel(int channel);
    virtual int ResumeChannel(int channel);
    virtual int ChannelState(int channel);
    virtual int SetVolume(int channel, float volume);
    virtual int SetPan(int channel, float pan);
    virtual int SetRate(int channel, float rate);
    virtual int PlayMusic(String path, int flags);
    virtual int StopMusic();
    virtual int PauseMusic();
    virtual int ResumeMusic();
    virtual int MusicState();
    virtual int SetMusicVolume(float volume);

    // Detaches buffers from stopped sources and deletes the discarded
    // buffers OpenAL lets go of; the others wait for the next flush.
    void FlushDiscarded();
};
