// Audio device benchmarks: the cost of PlaySample (a few OpenAL calls, no
// collected allocation) and of decoding one second of sound from WAV and Ogg
// Vorbis files.

#include <benchmark/benchmark.h>

#include <AL/al.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/audio_data.h"
#include "audio/device.h"

namespace {

constexpr int kHertz = 44100;
constexpr int kChannels = 2;

gxtkAudio *Device() {
    static gxtkAudio *audio = [] {
        setenv("ALSOFT_CONF", TESSELON_SOURCE_DIR "/tests/null-audio.conf", 1);
        return new gxtkAudio();
    }();
    return audio;
}

// One second of a stereo tone as a 16-bit WAV file; returns its path.
std::string ToneWav() {
    static std::string path = [] {
        std::string file = "/tmp/tesselon-bench-" + std::to_string(getpid()) + ".wav";
        std::vector<int16_t> samples;
        for (int i = 0; i < kHertz; ++i) {
            int16_t v = int16_t(16000 * std::sin(2 * M_PI * 440.0 * i / kHertz));
            samples.push_back(v);
            samples.push_back(v);
        }
        uint32_t bytes = uint32_t(samples.size() * 2);
        FILE *f = fopen(file.c_str(), "wb");
        auto u32 = [&](uint32_t v) { fwrite(&v, 4, 1, f); };
        auto u16 = [&](uint16_t v) { fwrite(&v, 2, 1, f); };
        fwrite("RIFF", 1, 4, f);
        u32(36 + bytes);
        fwrite("WAVEfmt ", 1, 8, f);
        u32(16);
        u16(1);
        u16(kChannels);
        u32(kHertz);
        u32(kHertz * kChannels * 2);
        u16(kChannels * 2);
        u16(16);
        fwrite("data", 1, 4, f);
        u32(bytes);
        fwrite(samples.data(), 2, samples.size(), f);
        fclose(f);
        return file;
    }();
    return path;
}

std::string ToneOgg() {
    static std::string path = [] {
        std::string file = ToneWav() + ".ogg";
        std::string command = "oggenc -Q -o '" + file + "' '" + ToneWav() + "'";
        if (system(command.c_str()) != 0) return std::string();
        return file;
    }();
    return path;
}

void Decode(benchmark::State &state, const std::string &path) {
    if (path.empty()) {
        state.SkipWithError("no fixture");
        return;
    }
    for (auto _ : state) {
        FILE *file = fopen(path.c_str(), "rb");
        DecodedAudio out;
        unsigned char *data = DecodeAudioFile(file, path.c_str(), &out);
        fclose(file);
        benchmark::DoNotOptimize(data);
        free(data);
    }
    state.counters["audio_seconds_per_second"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_PlaySample(benchmark::State &state) {
    gxtkAudio *audio = Device();
    std::vector<int16_t> samples(2205, 1000);
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, AL_FORMAT_MONO16, samples.data(), ALsizei(samples.size() * 2), 22050);
    gxtkSample *sample = new gxtkSample(buffer);
    int channel = 0;
    int objectsBefore = gc_alloced_objs;
    for (auto _ : state) {
        audio->PlaySample(sample, channel, 0);
        channel = (channel + 1) % kMusicChannel;
    }
    state.counters["collected_allocs_per_play"] =
        double(gc_alloced_objs - objectsBefore) / double(state.iterations());
}
BENCHMARK(BM_PlaySample);

void BM_ChannelState(benchmark::State &state) {
    gxtkAudio *audio = Device();
    for (auto _ : state) benchmark::DoNotOptimize(audio->ChannelState(0));
}
BENCHMARK(BM_ChannelState);

void BM_DecodeWavOneSecond(benchmark::State &state) {
    Decode(state, ToneWav());
}
BENCHMARK(BM_DecodeWavOneSecond)->Unit(benchmark::kMicrosecond);

void BM_DecodeOggOneSecond(benchmark::State &state) {
    Decode(state, ToneOgg());
}
BENCHMARK(BM_DecodeOggOneSecond)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
