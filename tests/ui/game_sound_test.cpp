// The game's own sounds played for real through SDL's disk driver: a move, then a solving
// press whose second request cuts the move sound off.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numeric>
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

}  // namespace
}  // namespace travoli
