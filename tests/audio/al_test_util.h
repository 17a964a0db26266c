// Helpers for tests that drive the audio device through OpenAL Soft: choose
// the backend, make samples from tones, read source state back, and wait for
// the mixer.
#pragma once

#include <AL/al.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "audio/device.h"
#include "tests/audio/tone.h"

// Points OpenAL Soft at a configuration file; must run before the first
// device is opened in the process.
inline void UseAudioConfig(const std::string &path) {
    setenv("ALSOFT_CONF", path.c_str(), 1);
}

inline void UseNullAudio() {
    UseAudioConfig(TESSELON_SOURCE_DIR "/tests/null-audio.conf");
}

// A mono 16-bit sample of a sine tone lasting the given seconds.
inline gxtkSample *ToneSample(double seconds, double frequency = 440, double peak = 0.5,
                              int hertz = 22050) {
    std::vector<int16_t> samples = SineTone(int(seconds * hertz), 1, hertz, frequency, peak);
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, AL_FORMAT_MONO16, samples.data(), ALsizei(samples.size() * 2), hertz);
    return new gxtkSample(buffer);
}

inline ALint SourceStateOf(gxtkAudio *audio, int channel) {
    ALint state = 0;
    alGetSourcei(audio->channels[channel].source, AL_SOURCE_STATE, &state);
    return state;
}

// Polls pred every few milliseconds until it holds or the timeout passes.
template <class Pred>
bool WaitFor(Pred pred, double timeoutSeconds = 3.0) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline void SleepSeconds(double s) {
    std::this_thread::sleep_for(std::chrono::duration<double>(s));
}
