// Without a sound device (OpenAL Soft configured with a driver that does not
// exist) the device says so once and every operation is harmless.

#include <gtest/gtest.h>

#include "audio/audio.h"
#include "host/host.h"
#include "tests/audio/al_test_util.h"
#include "tests/audio/test_files.h"
#include "tests/audio/wav_fixture.h"

namespace {

TEST(AudioWithoutDevice, ReportsAndStaysSilent) {
    ScratchDir dir;
    std::string conf = dir.File("no-device.conf");
    FILE *f = fopen(conf.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("[general]\ndrivers=no-such-driver\n", f);
    fclose(f);
    UseAudioConfig(conf);
    BBGlfwGame host;

    testing::internal::CaptureStdout();
    gxtkAudio *audio = new gxtkAudio();
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "OpenAl error: alcOpenDevice failed\n");
    EXPECT_EQ(audio->device, nullptr);
    EXPECT_EQ(audio->context, nullptr);

    std::string wav = dir.Write("s.wav", PcmWav16(SineTone(100, 1, 22050, 440, 0.5), 1, 22050));
    gxtkSample *sample = audio->LoadSample(String(wav.c_str()));
    ASSERT_NE(sample, nullptr);  // decoding works; the buffer is just never made
    bb_audio_SetAudioDevice(audio);
    c_Sound *sound = bb_audio_LoadSound(String(wav.c_str()));
    ASSERT_NE(sound, nullptr);

    for (int c : {0, 5, kMusicChannel}) {
        audio->SetVolume(c, 0.5f);
        audio->SetPan(c, 1.0f);
        audio->SetRate(c, 2.0f);
        audio->PlaySample(sample, c, 1);
        audio->PauseChannel(c);
        audio->ResumeChannel(c);
        EXPECT_EQ(audio->ChannelState(c), kChannelStopped) << c;
        audio->StopChannel(c);
        bb_audio_PlaySound(sound, c, 0);
    }
    audio->Suspend();
    audio->Resume();
    EXPECT_EQ(audio->PlayMusic(String(wav.c_str()), 0), 0);
    audio->MusicState();
    audio->StopMusic();
    sample->Discard();
    audio->PlaySample(sample, 1, 0);  // flushes
    audio->mark();
    bb_audio_SetAudioDevice(nullptr);
}

}  // namespace
