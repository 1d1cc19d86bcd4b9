// How long a sound request holds the GUI thread.
//
// Runs on SDL's disk driver writing to /dev/null unless SDL_AUDIODRIVER says otherwise, so a
// real audio thread consumes the queue in real time.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

#include "media/sound/sdl_wave_output.h"
#include "tests/support/wave_samples.h"

namespace travoli {
namespace {

void UseDiskDriverByDefault() {
    if (std::getenv("SDL_AUDIODRIVER") == nullptr) {
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    }
}

// The longest of the game's sounds: 9051 bytes at 11025 Hz.
std::vector<std::uint8_t> GameSizedSound(double hertz = 440) {
    return test::MakeTone(
        {.rate = 11025, .hertz = hertz, .seconds = 9051.0 / 11025, .factChunk = true});
}

// A press that repeats a sound already converted: clear, queue, unpause.
void BM_PlayConverted(benchmark::State& state) {
    UseDiskDriverByDefault();
    SdlWaveOutput out;
    const auto sound = GameSizedSound();
    out.Play(sound);
    for (auto _ : state) {
        out.Play(sound);
    }
    out.Stop();
}
BENCHMARK(BM_PlayConverted)->Unit(benchmark::kMicrosecond);

// A sound seen for the first time: parse, convert to the device format, queue.
void BM_PlayUnconverted(benchmark::State& state) {
    UseDiskDriverByDefault();
    SdlWaveOutput out;
    std::vector<std::vector<std::uint8_t>> sounds;
    for (int i = 0; i < 16; ++i) {
        sounds.push_back(GameSizedSound(300.0 + 7 * i));  // more than the output keeps
    }
    std::size_t next = 0;
    for (auto _ : state) {
        out.Play(sounds[next]);
        next = (next + 1) % sounds.size();
    }
    out.Stop();
}
BENCHMARK(BM_PlayUnconverted)->Unit(benchmark::kMicrosecond);

// The very first request of a run also opens SDL and the device.
void BM_FirstRequest(benchmark::State& state) {
    UseDiskDriverByDefault();
    const auto sound = GameSizedSound();
    for (auto _ : state) {
        SdlWaveOutput out;
        const auto start = std::chrono::steady_clock::now();
        out.Play(sound);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_FirstRequest)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Closing at exit, for the record: it joins SDL's audio thread.
void BM_CloseAtExit(benchmark::State& state) {
    UseDiskDriverByDefault();
    const auto sound = GameSizedSound();
    for (auto _ : state) {
        auto out = std::make_unique<SdlWaveOutput>();
        out->Play(sound);
        const auto start = std::chrono::steady_clock::now();
        out.reset();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_CloseAtExit)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace travoli

BENCHMARK_MAIN();
