// The audio device against OpenAL Soft's null backend: channel states,
// suspend and resume, source settings, the discarded-buffer flush, loading
// through the host, and the audio module's functions.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio/audio.h"
#include "host/host.h"
#include "tests/audio/al_test_util.h"
#include "tests/audio/test_files.h"
#include "tests/audio/wav_fixture.h"

namespace {

constexpr double kShortSound = 0.05;  // seconds
constexpr double kLongSound = 2.0;

class AudioDevice : public testing::Test {
protected:
    static void SetUpTestSuite() {
        UseNullAudio();
        host = new BBGlfwGame();
        audio = new gxtkAudio();
        ASSERT_NE(audio->device, nullptr);
        ASSERT_NE(audio->context, nullptr);
    }
    void TearDown() override {
        for (int c = 0; c < kAudioChannelCount; ++c) audio->StopChannel(c);
    }

    static BBGlfwGame *host;
    static gxtkAudio *audio;
};

BBGlfwGame *AudioDevice::host = nullptr;
gxtkAudio *AudioDevice::audio = nullptr;

bool IsMarked(gc_object *o) {
    return (o->flags & 3) != gc_markbit;
}

TEST_F(AudioDevice, SourcesAreCreatedOnFirstUseAndKept) {
    ALint model = 0;
    model = alGetInteger(AL_DISTANCE_MODEL);
    EXPECT_EQ(model, AL_NONE);
    EXPECT_EQ(audio->channels[20].source, 0u);
    audio->SetVolume(20, 1.0f);
    ALuint source = audio->channels[20].source;
    EXPECT_NE(source, 0u);
    audio->PlaySample(ToneSample(kShortSound), 20, 0);
    EXPECT_EQ(audio->channels[20].source, source);
}

TEST_F(AudioDevice, PlayingAgainRestartsWithTheNewSample) {
    gxtkSample *first = ToneSample(kLongSound, 440);
    gxtkSample *second = ToneSample(kLongSound, 880);
    audio->PlaySample(first, 0, 0);
    SleepSeconds(0.1);
    audio->PlaySample(second, 0, 1);
    ALuint source = audio->channels[0].source;
    ALint buffer = 0, offset = -1, looping = 0;
    alGetSourcei(source, AL_BUFFER, &buffer);
    alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
    alGetSourcei(source, AL_LOOPING, &looping);
    EXPECT_EQ(ALuint(buffer), second->buffer);
    EXPECT_LT(offset, 22050 / 20);  // from the beginning, not 0.1 s in
    EXPECT_EQ(looping, AL_TRUE);
    EXPECT_EQ(audio->channels[0].sample, second);
    EXPECT_EQ(audio->channels[0].flags, 1);
    EXPECT_EQ(audio->ChannelState(0), kChannelPlaying);
}

TEST_F(AudioDevice, ChannelStateFollowsTheSound) {
    audio->PlaySample(ToneSample(kShortSound), 1, 0);
    audio->PlaySample(ToneSample(kShortSound), 2, 1);
    EXPECT_EQ(audio->ChannelState(1), kChannelPlaying);
    EXPECT_TRUE(WaitFor([&] { return audio->ChannelState(1) == kChannelStopped; }));
    EXPECT_EQ(audio->channels[1].state, kChannelStopped);
    // The looping one plays on well past its length, until stopped.
    SleepSeconds(4 * kShortSound);
    EXPECT_EQ(audio->ChannelState(2), kChannelPlaying);
    audio->StopChannel(2);
    EXPECT_EQ(audio->ChannelState(2), kChannelStopped);
    EXPECT_EQ(SourceStateOf(audio, 2), AL_STOPPED);
    // A never-used channel is stopped.
    EXPECT_EQ(audio->ChannelState(30), kChannelStopped);
}

TEST_F(AudioDevice, PauseAndResume) {
    audio->PlaySample(ToneSample(kLongSound), 3, 0);
    audio->PauseChannel(3);
    EXPECT_EQ(audio->ChannelState(3), kChannelPaused);
    EXPECT_EQ(SourceStateOf(audio, 3), AL_PAUSED);
    audio->ResumeChannel(3);
    EXPECT_EQ(audio->ChannelState(3), kChannelPlaying);
    EXPECT_EQ(SourceStateOf(audio, 3), AL_PLAYING);
    // Resuming a playing or stopped channel changes nothing.
    audio->StopChannel(3);
    audio->ResumeChannel(3);
    EXPECT_EQ(audio->ChannelState(3), kChannelStopped);
    EXPECT_EQ(SourceStateOf(audio, 3), AL_STOPPED);
}

TEST_F(AudioDevice, PausingAnEndedSoundStopsTheChannel) {
    audio->PlaySample(ToneSample(kShortSound), 4, 0);
    EXPECT_TRUE(WaitFor([&] { return SourceStateOf(audio, 4) == AL_STOPPED; }));
    EXPECT_EQ(audio->channels[4].state, kChannelPlaying);  // not yet noticed
    audio->PauseChannel(4);
    EXPECT_EQ(audio->ChannelState(4), kChannelStopped);
}

TEST_F(AudioDevice, SuspendAndResumeRestartExactlyWhatWasPlaying) {
    audio->PlaySample(ToneSample(kShortSound), 5, 1);  // playing
    audio->PlaySample(ToneSample(kShortSound), 6, 1);
    audio->PauseChannel(6);                            // paused by the game
    audio->PlaySample(ToneSample(kShortSound), 7, 0);  // will have ended
    EXPECT_TRUE(WaitFor([&] { return SourceStateOf(audio, 7) == AL_STOPPED; }));

    audio->Suspend();
    EXPECT_EQ(SourceStateOf(audio, 5), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(5), kChannelPlaying);  // still "playing" while suspended
    EXPECT_EQ(SourceStateOf(audio, 6), AL_PAUSED);
    EXPECT_EQ(SourceStateOf(audio, 7), AL_STOPPED);

    audio->Resume();
    EXPECT_EQ(SourceStateOf(audio, 5), AL_PLAYING);
    EXPECT_EQ(SourceStateOf(audio, 6), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(6), kChannelPaused);
    EXPECT_EQ(SourceStateOf(audio, 7), AL_STOPPED);
    EXPECT_EQ(audio->ChannelState(7), kChannelStopped);
}

TEST_F(AudioDevice, PanPlacesTheSourceOnTheUnitCircle) {
    struct {
        float pan, x, z;
    } cases[] = {{0, 0, -1}, {1, 0.841f, -0.540f}, {-1, -0.841f, -0.540f}};
    for (const auto &c : cases) {
        audio->SetPan(8, c.pan);
        float x = 9, y = 9, z = 9;
        alGetSource3f(audio->channels[8].source, AL_POSITION, &x, &y, &z);
        EXPECT_NEAR(x, c.x, 0.001) << c.pan;
        EXPECT_EQ(y, 0.0f) << c.pan;
        EXPECT_NEAR(z, c.z, 0.001) << c.pan;
    }
}

TEST_F(AudioDevice, SettingsMadeBeforeAPlayApplyToIt) {
    audio->SetVolume(9, 0.25f);
    audio->SetRate(9, 2.0f);
    audio->SetPan(9, 0.5f);
    audio->PlaySample(ToneSample(kShortSound), 9, 0);
    audio->PlaySample(ToneSample(kShortSound), 9, 0);
    ALuint source = audio->channels[9].source;
    float gain = 0, pitch = 0, x = 0, y = 0, z = 0;
    alGetSourcef(source, AL_GAIN, &gain);
    alGetSourcef(source, AL_PITCH, &pitch);
    alGetSource3f(source, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    EXPECT_FLOAT_EQ(pitch, 2.0f);
    EXPECT_NEAR(x, std::sin(0.5f), 1e-5);
}

TEST_F(AudioDevice, DiscardedBufferOutlivesThePlayThatUsesIt) {
    gxtkSample *playing = ToneSample(kShortSound);
    ALuint buffer = playing->buffer;
    audio->PlaySample(playing, 10, 1);
    playing->Discard();
    EXPECT_EQ(playing->buffer, 0u);
    ASSERT_EQ(discarded.size(), 1u);

    // Still attached to a playing source: the flush keeps it.
    audio->PlaySample(ToneSample(kShortSound), 11, 0);
    EXPECT_TRUE(alIsBuffer(buffer));
    EXPECT_EQ(discarded, std::vector<ALuint>{buffer});

    // Stopped: the next flush detaches and deletes it.
    audio->StopChannel(10);
    audio->PlaySample(ToneSample(kShortSound), 11, 0);
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_TRUE(discarded.empty());
}

TEST_F(AudioDevice, DiscardedBufferOfAnEndedSoundGoesAtTheNextLoad) {
    ScratchDir dir;
    std::string wav = dir.Write("s.wav", PcmWav16(SineTone(100, 1, 22050, 440, 0.5), 1, 22050));
    gxtkSample *ended = ToneSample(kShortSound);
    ALuint buffer = ended->buffer;
    audio->PlaySample(ended, 12, 0);
    EXPECT_TRUE(WaitFor([&] { return SourceStateOf(audio, 12) == AL_STOPPED; }));
    ended->Discard();
    EXPECT_TRUE(alIsBuffer(buffer));
    gxtkSample *loaded = audio->LoadSample(String(wav.c_str()));
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(discarded.empty());
    // Deleted before the new buffer was made, so OpenAL may hand the name
    // out again at once.
    EXPECT_TRUE(!alIsBuffer(buffer) || loaded->buffer == buffer);
}

TEST_F(AudioDevice, MarkKeepsOnlySamplesOfSoundingChannels) {
    gxtkSample *sounding = ToneSample(kLongSound);
    gxtkSample *paused = ToneSample(kLongSound);
    gxtkSample *ended = ToneSample(kShortSound);
    gxtkSample *stopped = ToneSample(kLongSound);
    audio->PlaySample(sounding, 13, 0);
    audio->PlaySample(paused, 14, 0);
    audio->PauseChannel(14);
    audio->PlaySample(ended, 15, 0);
    audio->PlaySample(stopped, 16, 0);
    audio->StopChannel(16);
    EXPECT_TRUE(WaitFor([&] { return SourceStateOf(audio, 15) == AL_STOPPED; }));
    // PlaySample's write barrier may have queued them; marking happens
    // either way for the sounding ones, never newly for the silent ones.
    bool endedBefore = IsMarked(ended), stoppedBefore = IsMarked(stopped);
    audio->mark();
    EXPECT_TRUE(IsMarked(sounding));
    EXPECT_TRUE(IsMarked(paused));
    EXPECT_EQ(IsMarked(ended), endedBefore);
    EXPECT_EQ(IsMarked(stopped), stoppedBefore);
}

TEST_F(AudioDevice, LoadSampleFillsABufferInTheFileFormat) {
    ScratchDir dir;
    struct {
        const char *name;
        std::vector<unsigned char> bytes;
        int bits, channels, frequency, size;
    } cases[] = {
        {"m16.wav", WavFixture().Header(1, 1, 22050, 16).Chunk("data", 400).bytes, 16, 1, 22050,
         400},
        {"s8.wav", WavFixture().Header(1, 2, 11025, 8).Chunk("data", 300).bytes, 8, 2, 11025, 300},
        // 24-bit data has no OpenAL format: the buffer stays empty.
        {"m24.wav", WavFixture().Header(1, 1, 22050, 24).Chunk("data", 300).bytes, -1, -1, -1, 0},
    };
    for (const auto &c : cases) {
        gxtkSample *sample = audio->LoadSample(String(dir.Write(c.name, c.bytes).c_str()));
        ASSERT_NE(sample, nullptr) << c.name;
        ASSERT_NE(sample->buffer, 0u) << c.name;
        ALint size = -1;
        alGetBufferi(sample->buffer, AL_SIZE, &size);
        EXPECT_EQ(size, c.size) << c.name;
        if (c.bits < 0) continue;
        ALint bits = 0, channels = 0, frequency = 0;
        alGetBufferi(sample->buffer, AL_BITS, &bits);
        alGetBufferi(sample->buffer, AL_CHANNELS, &channels);
        alGetBufferi(sample->buffer, AL_FREQUENCY, &frequency);
        EXPECT_EQ(bits, c.bits) << c.name;
        EXPECT_EQ(channels, c.channels) << c.name;
        EXPECT_EQ(frequency, c.frequency) << c.name;
    }
    EXPECT_EQ(audio->LoadSample(String(dir.File("missing.wav").c_str())), nullptr);
    EXPECT_EQ(audio->LoadSample(String(dir.Write("x.mp3", cases[0].bytes).c_str())), nullptr);
}

TEST_F(AudioDevice, LoadingSetsTheForcedSweep) {
    ScratchDir dir;
    std::string wav =
        dir.Write("Loud.WAV", WavFixture().Header(1, 1, 8000, 8).Chunk("data", 4).bytes);
    gc_force_sweep = false;
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char *data =
        host->LoadAudioData(String(wav.c_str()), &length, &channels, &format, &hertz);
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(gc_force_sweep);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(format, 1);
    EXPECT_EQ(hertz, 8000);
    free(data);
    gc_force_sweep = false;
}

TEST_F(AudioDevice, MusicPlaysOnTheLastChannel) {
    ScratchDir dir;
    std::string wav =
        dir.Write("music.wav", PcmWav16(SineTone(22050, 1, 22050, 220, 0.5), 1, 22050));
    EXPECT_EQ(audio->PlayMusic(String(dir.File("none.ogg").c_str()), 1), -1);
    EXPECT_EQ(audio->PlayMusic(String(wav.c_str()), 1), 0);
    EXPECT_EQ(audio->MusicState(), kChannelPlaying);
    EXPECT_EQ(audio->channels[kMusicChannel].flags, 1);
    audio->SetMusicVolume(0.5f);
    float gain = 0;
    alGetSourcef(audio->channels[kMusicChannel].source, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    audio->PauseMusic();
    EXPECT_EQ(audio->MusicState(), kChannelPaused);
    audio->ResumeMusic();
    EXPECT_EQ(audio->MusicState(), kChannelPlaying);
    audio->StopMusic();
    EXPECT_EQ(audio->MusicState(), kChannelStopped);
}

TEST_F(AudioDevice, ModuleFunctionsUseTheGlobalDevice) {
    ScratchDir dir;
    std::string wav = dir.Write("fx.wav", PcmWav16(SineTone(22050, 1, 22050, 220, 0.5), 1, 22050));
    bb_audio_SetAudioDevice(audio);
    EXPECT_EQ(bb_audio_device, audio);
    EXPECT_EQ(bb_audio_LoadSound(String(dir.File("none.wav").c_str())), nullptr);
    c_Sound *sound = bb_audio_LoadSound(String(wav.c_str()));
    ASSERT_NE(sound, nullptr);
    ASSERT_NE(sound->sample, nullptr);

    bb_audio_SetChannelVolume(17, 0.75f);
    bb_audio_SetChannelPan(17, 1.0f);
    bb_audio_SetChannelRate(17, 0.5f);
    bb_audio_PlaySound(sound, 17, 0);
    EXPECT_EQ(audio->ChannelState(17), kChannelPlaying);
    ALuint source = audio->channels[17].source;
    float gain = 0, pitch = 0, x = 0, y = 0, z = 0;
    alGetSourcef(source, AL_GAIN, &gain);
    alGetSourcef(source, AL_PITCH, &pitch);
    alGetSource3f(source, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(gain, 0.75f);
    EXPECT_FLOAT_EQ(pitch, 0.5f);
    EXPECT_NEAR(x, 0.841, 0.001);
    bb_audio_StopChannel(17);
    EXPECT_EQ(audio->ChannelState(17), kChannelStopped);

    // A sound without a sample plays nothing.
    c_Sound *empty = (new c_Sound())->m_new2();
    bb_audio_PlaySound(empty, 18, 0);
    bb_audio_PlaySound(nullptr, 18, 0);
    EXPECT_EQ(audio->channels[18].state, kChannelStopped);
    bb_audio_SetAudioDevice(nullptr);
}

}  // namespace
