// The game's own sounds played for real through SDL's disk driver: a move, then a solving
// press whose second request cuts the move sound off.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <numeric>
#include <string>
#include <thread>

#include "media/sound/sdl_wave_output.h"
#include "tests/support/wave_samples.h"
#include "ui/media_records.h"

namespace travoli {
namespace {

using namespace std::chrono_literals;

constexpr double Window = 0.01;  // seconds per envelope step

// The loudness of each 10 ms of an 8-bit mono RIFF WAVE image's samples.
std::vector<double> SourceEnvelope(std::span<const std::uint8_t> wave) {
    std::size_t at = 12;
    std::uint32_t rate = 0;
    while (at + 8 <= wave.size()) {
        std::uint32_t size = 0;
        std::memcpy(&size, &wave[at + 4], 4);
        if (std::memcmp(&wave[at], "fmt ", 4) == 0) {
            std::memcpy(&rate, &wave[at + 12], 4);
        } else if (std::memcmp(&wave[at], "data", 4) == 0) {
            const auto per = static_cast<std::size_t>(rate * Window);
            std::vector<double> envelope;
            for (std::size_t start = 0; start + per <= size; start += per) {
                double sum = 0;
                for (std::size_t i = start; i < start + per; ++i) {
                    const double v = wave[at + 8 + i] - 128.0;
                    sum += v * v;
                }
                envelope.push_back(std::sqrt(sum / static_cast<double>(per)));
            }
            return envelope;
        }
        at += 8 + size + (size & 1U);
    }
    return {};
}

double Correlation(const std::vector<double>& a, std::size_t from, const std::vector<double>& b,
                   std::size_t count) {
    double ma = 0, mb = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ma += a[from + i];
        mb += b[i];
    }
    ma /= static_cast<double>(count);
    mb /= static_cast<double>(count);
    double ab = 0, aa = 0, bb = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ab += (a[from + i] - ma) * (b[i] - mb);
        aa += (a[from + i] - ma) * (a[from + i] - ma);
        bb += (b[i] - mb) * (b[i] - mb);
    }
    return ab / std::sqrt(aa * bb);
}

TEST(GameSounds, TheSolvingPressCutsTheMoveSoundOff) {
    const char* file = std::getenv("SDL_DISKAUDIOFILE");
    ASSERT_NE(file, nullptr) << "run through ctest: needs SDL_AUDIODRIVER=disk";

    auto output = std::make_unique<SdlWaveOutput>();
    TBitmapList bitmaps;
    TWaveList waves;
    LoadMediaRecords(bitmaps, waves);
    waves.SetOutput(output.get());
    ASSERT_TRUE(output->HasDevice());
    const auto format = *output->Format();
    ASSERT_EQ(format.bits, 16);
    const auto solved = SourceEnvelope(waves.Items(0).Wave().Bytes());
    const auto move = SourceEnvelope(waves.Items(1).Wave().Bytes());
    ASSERT_EQ(solved.size(), 82U);  // 9051 samples at 11025 Hz
    ASSERT_EQ(move.size(), 28U);    // 1570 samples at 5512 Hz

    // A move, and 100 ms later the press that solves: sound 2, then at once sound 1.
    EXPECT_TRUE(waves.Items(1).Wave().Play());
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(waves.Items(1).Wave().Play());
    EXPECT_TRUE(waves.Items(0).Wave().Play());
    std::this_thread::sleep_for(1500ms);
    waves.SetOutput(nullptr);
    output.reset();  // completes the file

    std::vector<double> written;
    for (const auto& w :
         test::AnalyseS16(test::ReadFile(file), format.rate, format.channels, Window)) {
        written.push_back(w.rms);
    }
    const double loudest = *std::max_element(written.begin(), written.end());
    ASSERT_GT(loudest, 500.0) << "only silence was written";
    const auto firstSound = static_cast<std::size_t>(
        std::find_if(written.begin(), written.end(), [&](double v) { return v > 0.02 * loudest; }) -
        written.begin());

    // Where the solved sound starts: the best match of its envelope 50-200 ms in.
    std::size_t cut = 0;
    double best = -1;
    for (std::size_t k = firstSound + 5; k <= firstSound + 20; ++k) {
        const double r = Correlation(written, k, solved, solved.size());
        if (r > best) {
            best = r;
            cut = k;
        }
    }
    EXPECT_GT(best, 0.9) << "the solved sound is not in what was played";
    // Before it the move sound played, and it was cut off well before its own end.
    ASSERT_GT(cut, firstSound);
    EXPECT_LT(cut - firstSound, move.size() - 5) << "the move sound was not cut off";
    const auto heard = std::count_if(written.begin() + static_cast<std::ptrdiff_t>(firstSound),
                                     written.begin() + static_cast<std::ptrdiff_t>(cut),
                                     [&](double v) { return v > 0.02 * loudest; });
    EXPECT_GE(heard, static_cast<std::ptrdiff_t>((cut - firstSound) * 8 / 10))
        << "the move sound did not play before the solved sound";
    // Nothing of either move sound follows the solved sound: it was cut, not queued.
    for (std::size_t i = cut + solved.size() + 3; i < written.size(); ++i) {
        ASSERT_LT(written[i], 0.02 * loudest) << "sound after the solved sound, at " << i * Window;
    }
}

// The stretches of sound in a recording: [first window, last window], joined across gaps
// shorter than 60 ms (the sounds have quiet moments of their own).
std::vector<std::pair<std::size_t, std::size_t>> Stretches(const std::vector<double>& rms) {
    const double loudest = rms.empty() ? 0 : *std::max_element(rms.begin(), rms.end());
    std::vector<std::pair<std::size_t, std::size_t>> found;
    for (std::size_t i = 0; i < rms.size(); ++i) {
        if (rms[i] <= 0.01 * loudest) {
            continue;
        }
        if (!found.empty() && i - found.back().second <= 6) {
            found.back().second = i;
        } else {
            found.emplace_back(i, i);
        }
    }
    return found;
}

std::string Output(const char* command) {
    std::string text;
    if (std::FILE* pipe = ::popen(command, "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            text.append(buffer, n);
        }
        ::pclose(pipe);
    }
    return text;
}

// Through a real sound server (tests/ui/pulse_test.sh starts one with a null sink and records
// its monitor into TRAVOLI_MONITOR_FILE): every effect is heard, sound 1 cuts sound 2 off,
// and a few seconds after the last sound the game holds no running stream.
TEST(GameSounds, ThroughASoundServer) {
    const char* monitor = std::getenv("TRAVOLI_MONITOR_FILE");
    if (monitor == nullptr) {
        GTEST_SKIP() << "run through tests/ui/pulse_test.sh";
    }
    auto output = std::make_unique<SdlWaveOutput>();
    TBitmapList bitmaps;
    TWaveList waves;
    LoadMediaRecords(bitmaps, waves);
    waves.SetOutput(output.get());
    const auto play = [&](int n) { ASSERT_TRUE(waves.Items(n - 1).Wave().Play()); };
    using Clock = std::chrono::steady_clock;

    ASSERT_TRUE(output->HasDevice());  // the first request opens the device: done here
    std::this_thread::sleep_for(500ms);
    play(3);
    std::this_thread::sleep_for(1000ms);
    play(2);
    std::this_thread::sleep_for(700ms);
    play(2);  // the solving move: sound 2 and 100 ms later sound 1
    std::this_thread::sleep_for(100ms);
    play(2);
    play(1);
    std::this_thread::sleep_for(820ms + 3000ms);
    const std::string streams = Output("pactl list sink-inputs");
    EXPECT_EQ(streams.find("Corked: no"), std::string::npos)
        << "a running stream 3 s after the last sound:\n"
        << streams;
    EXPECT_FALSE(output->HoldsDevice());

    // After the release, one request (the device opened again) and, 600 ms later, the same
    // request on the open device: the difference of their delays is the cost of reopening.
    const auto cold = Clock::now();
    play(2);
    std::this_thread::sleep_for(600ms);
    const auto warm = Clock::now();
    play(2);
    std::this_thread::sleep_for(600ms);
    waves.SetOutput(nullptr);
    output.reset();
    std::this_thread::sleep_for(300ms);

    std::vector<double> heard;
    {
        std::ifstream file(monitor, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                      std::istreambuf_iterator<char>());
        std::vector<std::uint8_t> raw(bytes.begin(), bytes.end());
        for (const auto& w : test::AnalyseS16(raw, 44100, 1, Window)) {
            heard.push_back(w.rms);
        }
    }
    const auto stretches = Stretches(heard);
    std::string found;
    for (const auto& [first, last] : stretches) {
        found += " " + std::to_string(first * 10) + "-" + std::to_string(last * 10 + 10) + " ms";
    }
    ASSERT_EQ(stretches.size(), 5U) << "not every sound was heard apart:" << found;
    const auto length = [&](std::size_t k) {
        return static_cast<double>(stretches[k].second - stretches[k].first + 1) * Window;
    };
    // Sound 2 for 100 ms, then all of sound 1 (about 0.9 s): not 0.28 + 0.82.
    EXPECT_GT(length(2), 0.8) << "sound 1 was not heard to its end";
    EXPECT_LT(length(2), 1.0) << "sound 1 did not cut sound 2 off";
    for (std::size_t k : {0U, 1U, 3U, 4U}) {
        EXPECT_LT(length(k), 0.7) << "stretch " << k << " ran into the next sound";
    }
    const double asked = std::chrono::duration<double>(warm - cold).count();
    const double apart = static_cast<double>(stretches[4].first - stretches[3].first) * Window;
    std::printf("reopening the device delays the first sample by %.0f ms (+-10 ms)\n",
                (asked - apart) * 1000);
    EXPECT_LT(asked - apart, 0.25) << "reopening the device took long";
}

}  // namespace
}  // namespace travoli
