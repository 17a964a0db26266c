// The audio device: opens OpenAL's default device and plays samples on 33
// channels, each with one lazily created source.
//
// A channel's state is the device's own view: 1 while it believes the
// channel is playing, corrected to 0 when OpenAL is found to have run out of
// sample. Gain, pitch and position stay on the source across plays.

#include <cmath>
#include <cstdlib>

#include "audio/device.h"
#include "host/host.h"

namespace {

// ---------------------------------------------------------------------------
// Helpers
// ---------------------------------------------------------------------------

ALint SourceState(ALuint source) {
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

ALenum BufferFormat(int format, int channels) {
    if (format == kSampleFormatU8 && channels == 1) return AL_FORMAT_MONO8;
    if (format == kSampleFormatU8 && channels == 2) return AL_FORMAT_STEREO8;
    if (format == kSampleFormatS16 && channels == 1) return AL_FORMAT_MONO16;
    if (format == kSampleFormatS16 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;  // OpenAL refuses it; the buffer stays empty
}

}  // namespace

// ---------------------------------------------------------------------------
// gxtkChannel
// ---------------------------------------------------------------------------

ALuint gxtkChannel::AL_Source() {
    if (source == 0) alGenSources(1, &source);
    return source;
}

// ---------------------------------------------------------------------------
// Construction and collection
// ---------------------------------------------------------------------------

gxtkAudio::gxtkAudio() {
    device = alcOpenDevice(nullptr);
    if (!device) {
        Print(String("OpenAl error: alcOpenDevice failed"));
    } else {
        context = alcCreateContext(device, nullptr);
        if (!context) {
            Print(String("OpenAl error: alcCreateContext failed"));
        } else if (!alcMakeContextCurrent(context)) {
            Print(String("OpenAl error: alcMakeContextCurrent failed"));
        }
    }
    alDistanceModel(AL_NONE);
    for (gxtkChannel &chan : channels) chan = gxtkChannel();
}

void gxtkAudio::mark() {
    for (gxtkChannel &chan : channels) {
        if (chan.state != kChannelStopped && SourceState(chan.source) != AL_STOPPED) {
            gc_mark_now(chan.sample);
        }
    }
}

// ---------------------------------------------------------------------------
// Suspend and resume
// ---------------------------------------------------------------------------

int gxtkAudio::Suspend() {
    for (gxtkChannel &chan : channels) {
        if (chan.state == kChannelPlaying && SourceState(chan.source) == AL_PLAYING) {
            alSourcePause(chan.source);
        }
    }
    return 0;
}

int gxtkAudio::Resume() {
    for (gxtkChannel &chan : channels) {
        if (chan.state == kChannelPlaying && SourceState(chan.source) == AL_PAUSED) {
            alSourcePlay(chan.source);
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Samples
// ---------------------------------------------------------------------------

void gxtkAudio::FlushDiscarded() {
    if (discarded.empty()) return;
    // Every stopped source lets go of its buffer, including those of
    // channels stopped with StopChannel: a channel that is not played again
    // would otherwise hold a discarded buffer for good.
    for (gxtkChannel &chan : channels) {
        if (chan.source != 0 && SourceState(chan.source) == AL_STOPPED) {
            alSourcei(chan.source, AL_BUFFER, 0);
        }
    }
    std::vector<ALuint> kept;
    for (ALuint buffer : discarded) {
        alGetError();
        alDeleteBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) kept.push_back(buffer);
    }
    discarded.swap(kept);
}

gxtkSample *gxtkAudio::LoadSample(String path) {
    FlushDiscarded();
    return LoadSample__UNSAFE__(new gxtkSample(), path);
}

gxtkSample *gxtkAudio::LoadSample__UNSAFE__(gxtkSample *sample, String path) {
    BBGlfwGame *host = BBGlfwGame::_glfwGame;
    if (!host) return nullptr;
    int length = 0, chans = 0, format = 0, hertz = 0;
    unsigned char *data = host->LoadAudioData(path, &length, &chans, &format, &hertz);
    if (!data) return nullptr;
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    long bytes = long(length) * chans * format;
    alBufferData(buffer, BufferFormat(format, chans), data, ALsizei(bytes), hertz);
    free(data);
    sample->SetBuffer(buffer);
    return sample;
}

// ---------------------------------------------------------------------------
// Channels
// ---------------------------------------------------------------------------

int gxtkAudio::PlaySample(gxtkSample *sample, int channel, int flags) {
    FlushDiscarded();
    if (!sample) return 0;
    gxtkChannel &chan = channels[channel];
    ALuint source = chan.AL_Source();
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, ALint(sample->buffer));
    alSourcei(source, AL_LOOPING, flags != 0 ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    gc_assign(chan.sample, sample);
    chan.flags = flags;
    chan.state = kChannelPlaying;
    return 0;
}

int gxtkAudio::StopChannel(int channel) {
    gxtkChannel &chan = channels[channel];
    if (chan.state != kChannelStopped) {
        alSourceStop(chan.source);
        chan.state = kChannelStopped;
    }
    return 0;
}

int gxtkAudio::PauseChannel(int channel) {
    gxtkChannel &chan = channels[channel];
    if (chan.state == kChannelPlaying) {
        if (SourceState(chan.source) == AL_STOPPED) {
            chan.state = kChannelStopped;
        } else {
            alSourcePause(chan.source);
            chan.state = kChannelPaused;
        }
    }
    return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel &chan = channels[channel];
    if (chan.state == kChannelPaused) {
        alSourcePlay(chan.source);
        chan.state = kChannelPlaying;
    }
    return 0;
}

int gxtkAudio::ChannelState(int channel) {
    gxtkChannel &chan = channels[channel];
    if (chan.state == kChannelPlaying && SourceState(chan.source) == AL_STOPPED) {
        chan.state = kChannelStopped;
    }
    return chan.state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
    alSourcef(channels[channel].AL_Source(), AL_GAIN, volume);
    return 0;
}

// The pan is an angle in radians: 0 straight ahead, positive to the right.
int gxtkAudio::SetPan(int channel, float pan) {
    alSource3f(channels[channel].AL_Source(), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    alSourcef(channels[channel].AL_Source(), AL_PITCH, rate);
    return 0;
}

// ---------------------------------------------------------------------------
// Music: channel 32
// ---------------------------------------------------------------------------

int gxtkAudio::PlayMusic(String path, int flags) {
    gxtkSample *music = LoadSample(path);
    if (!music) return -1;
    PlaySample(music, kMusicChannel, flags);
    return 0;
}

int gxtkAudio::StopMusic() {
    return StopChannel(kMusicChannel);
}
int gxtkAudio::PauseMusic() {
    return PauseChannel(kMusicChannel);
}
int gxtkAudio::ResumeMusic() {
    return ResumeChannel(kMusicChannel);
}
int gxtkAudio::MusicState() {
    return ChannelState(kMusicChannel);
}
int gxtkAudio::SetMusicVolume(float volume) {
    return SetVolume(kMusicChannel, volume);
}
