// Each suite expects its own SDL_AUDIODRIVER (set by ctest); see CMakeLists.txt beside this file.

#include "media/sound/sdl_wave_output.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/english_message.h"
#include "tests/support/wave_samples.h"

namespace travoli {
namespace {

using namespace std::chrono_literals;
using test::MakeTone;
using test::ToneSpec;

// Sends fd 2 to a file for a while, so a test can see what anything printed there.
class StderrCapture {
  public:
    StderrCapture() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        file_ = std::tmpfile();
        ::dup2(::fileno(file_), STDERR_FILENO);
    }
    std::string Finish() {
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        std::string text;
        std::rewind(file_);
        for (int c; (c = std::fgetc(file_)) != EOF;) {
            text.push_back(static_cast<char>(c));
        }
        std::fclose(file_);
        return text;
    }

  private:
    int saved_ = -1;
    std::FILE* file_ = nullptr;
};

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

bool WaitUntilIdle(SdlWaveOutput& out, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (!out.IsRunning()) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return !out.IsRunning();
}

std::vector<std::uint8_t> Truncated(std::vector<std::uint8_t> image, std::size_t size) {
    image.resize(size);
    return image;
}

// ---------------------------------------------------------------------------------------------
// SDL_AUDIODRIVER=disk: what the device wrote is in SDL_DISKAUDIOFILE once it is closed.

class SoundDisk : public ::testing::Test {
  protected:
    static constexpr double kWindow = 0.01;  // seconds per analysed window

    void SetUp() override {
        const char* path = std::getenv("SDL_DISKAUDIOFILE");
        ASSERT_NE(path, nullptr) << "run through ctest: needs SDL_AUDIODRIVER=disk";
        path_ = path;
        capture_ = std::make_unique<StderrCapture>();
        out_ = std::make_unique<SdlWaveOutput>();
        ASSERT_TRUE(out_->HasDevice());
        const auto format = out_->Format();
        ASSERT_TRUE(format.has_value());
        format_ = *format;
        ASSERT_EQ(format_.bits, 16);
        ASSERT_TRUE(format_.isSigned && !format_.isFloat && !format_.bigEndian);
    }

    // Closes the device (which completes the file) and analyses what was written.
    std::vector<test::Window> Written() {
        out_.reset();
        EXPECT_EQ(capture_->Finish(), "");
        capture_.reset();
        return test::AnalyseS16(test::ReadFile(path_), format_.rate, format_.channels, kWindow);
    }

    void TearDown() override {
        out_.reset();
        if (capture_) {
            EXPECT_EQ(capture_->Finish(), "");
        }
    }

    std::string path_;
    std::unique_ptr<StderrCapture> capture_;
    std::unique_ptr<SdlWaveOutput> out_;
    SdlWaveOutput::OutputFormat format_;
};

TEST_F(SoundDisk, PlaysTheToneToItsEndAndThenPauses) {
    const auto tone = MakeTone({.rate = 11025, .hertz = 440, .seconds = 0.5, .factChunk = true});
    out_->Play(tone);
    EXPECT_TRUE(out_->IsRunning());
    EXPECT_TRUE(WaitUntilIdle(*out_, 3s)) << "the device keeps running after the sound";

    const auto windows = Written();
    const auto toneAt = test::ToneWindows(windows, 440);
    ASSERT_FALSE(toneAt.empty()) << "only silence was written";
    const double seconds = static_cast<double>(toneAt.size()) * kWindow;
    EXPECT_NEAR(seconds, 0.5, 0.03);
    // One unbroken stretch, not pieces.
    EXPECT_EQ(toneAt.back() - toneAt.front() + 1, toneAt.size());
}

TEST_F(SoundDisk, ANewSoundCutsOffThePlayingOne) {
    const auto longTone = MakeTone({.rate = 11025, .hertz = 440, .seconds = 1.5});
    const auto shortTone =
        MakeTone({.rate = 5512, .hertz = 1200, .seconds = 0.3, .trailingList = true});
    out_->Play(longTone);
    std::this_thread::sleep_for(200ms);
    out_->Play(shortTone);
    EXPECT_TRUE(WaitUntilIdle(*out_, 3s));

    const auto windows = Written();
    const auto first = test::ToneWindows(windows, 440);
    const auto second = test::ToneWindows(windows, 1200);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty()) << "the second sound was not played";
    EXPECT_LT(static_cast<double>(first.size()) * kWindow, 0.8) << "the first sound ran on";
    EXPECT_NEAR(static_cast<double>(second.size()) * kWindow, 0.3, 0.05);
    EXPECT_LT(first.back(), second.front()) << "the first sound came back after the second";
    // The switch is immediate: no long gap of silence between them.
    EXPECT_LE(second.front() - first.back(), 5u);
}

TEST_F(SoundDisk, RepeatingASoundRestartsItFromTheBeginning) {
    const auto tone = MakeTone({.rate = 11025, .hertz = 600, .seconds = 0.5});
    out_->Play(tone);
    std::this_thread::sleep_for(200ms);
    out_->Play(tone);
    EXPECT_TRUE(WaitUntilIdle(*out_, 3s));
    EXPECT_EQ(out_->CachedSounds(), 1u);

    const auto toneAt = test::ToneWindows(Written(), 600);
    // About 0.2 s of the first request, then all 0.5 s of the second.
    const double seconds = static_cast<double>(toneAt.size()) * kWindow;
    EXPECT_GT(seconds, 0.6);
    EXPECT_LT(seconds, 0.95);
}

TEST_F(SoundDisk, StopSilencesAtOnce) {
    const auto tone = MakeTone({.rate = 11025, .hertz = 440, .seconds = 1.5});
    out_->Play(tone);
    std::this_thread::sleep_for(200ms);
    out_->Stop();
    EXPECT_FALSE(out_->IsRunning());
    std::this_thread::sleep_for(300ms);

    const auto toneAt = test::ToneWindows(Written(), 440);
    ASSERT_FALSE(toneAt.empty());
    EXPECT_LT(static_cast<double>(toneAt.size()) * kWindow, 0.6);
}

// The same address may hold another sound later (a block freed and allocated again); the
// cached conversion of the old one must not be played for it.
TEST_F(SoundDisk, ABufferRefilledInPlacePlaysItsNewContent) {
    auto buffer = MakeTone({.rate = 11025, .hertz = 440, .seconds = 0.3});
    const auto other = MakeTone({.rate = 11025, .hertz = 1000, .seconds = 0.3});
    ASSERT_EQ(buffer.size(), other.size());
    out_->Play(buffer);
    EXPECT_TRUE(WaitUntilIdle(*out_, 3s));
    std::copy(other.begin(), other.end(), buffer.begin());
    out_->Play(buffer);
    EXPECT_TRUE(WaitUntilIdle(*out_, 3s));

    const auto windows = Written();
    const auto first = test::ToneWindows(windows, 440);
    const auto second = test::ToneWindows(windows, 1000);
    EXPECT_NEAR(static_cast<double>(first.size()) * kWindow, 0.3, 0.05);
    EXPECT_NEAR(static_cast<double>(second.size()) * kWindow, 0.3, 0.05);
}

// After a release the device file starts anew, so it holds only what came after: of two
// requests made while the device was being opened again, only the second is heard.
TEST_F(SoundDisk, ARequestWhileReopeningCutsOffTheOneBefore) {
    out_ = std::make_unique<SdlWaveOutput>(SdlWaveOutput::Timing{.releaseAfter = 150ms});
    out_->Play(MakeTone({.rate = 11025, .hertz = 440, .seconds = 0.1}));
    ASSERT_TRUE(WaitFor([&] { return !out_->HoldsDevice(); }, 3s)) << "the device was kept";

    out_->Play(MakeTone({.rate = 11025, .hertz = 1000, .seconds = 1.0}));
    out_->Play(MakeTone({.rate = 11025, .hertz = 1500, .seconds = 0.3}));
    ASSERT_TRUE(WaitFor([&] { return out_->IsRunning(); }, 3s)) << "nothing played after it";
    EXPECT_TRUE(WaitUntilIdle(*out_, 3s));

    const auto windows = Written();
    EXPECT_TRUE(test::ToneWindows(windows, 1000).empty()) << "the cut-off sound was heard";
    EXPECT_NEAR(static_cast<double>(test::ToneWindows(windows, 1500).size()) * kWindow, 0.3, 0.05);
}

// ---------------------------------------------------------------------------------------------
// SDL_AUDIODRIVER=dummy: a device that takes everything and plays nowhere.

TEST(SoundDummy, HasADeviceAndLeavesTheSignalsAlone) {
    StderrCapture capture;
    {
        SdlWaveOutput out;
        EXPECT_TRUE(out.HasDevice());
        EXPECT_TRUE(out.HasDevice());
        // SIGTERM must still end the program (ctest also sets SDL_NO_SIGNAL_HANDLERS=0).
        struct sigaction action {};
        ASSERT_EQ(::sigaction(SIGTERM, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL);
        ASSERT_EQ(::sigaction(SIGINT, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL);
    }
    EXPECT_EQ(capture.Finish(), "");
}

TEST(SoundDummy, PlaysTheKindsOfImageTheGameShips) {
    const struct {
        const char* name;
        ToneSpec tone;
    } cases[] = {
        {"11025 Hz with fact chunk", {.rate = 11025, .seconds = 0.82, .factChunk = true}},
        {"5512 Hz plain", {.rate = 5512, .seconds = 0.28}},
        {"11025 Hz with trailing LIST", {.rate = 11025, .seconds = 0.61, .trailingList = true}},
        {"odd sample count", {.rate = 11025, .seconds = 0.0001}},
        {"no samples at all", {.rate = 11025, .seconds = 0}},
    };
    SdlWaveOutput out;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto image = MakeTone(c.tone);
        EXPECT_NO_THROW(out.Play(image));
    }
    EXPECT_EQ(out.CachedSounds(), std::size(cases));
}

TEST(SoundDummy, RefusesMalformedImagesWithSdlsText) {
    const auto good = MakeTone({.rate = 11025, .seconds = 0.2});
    auto badFormat = good;
    badFormat[20] = 0x99;  // an unknown encoding
    auto noWave = good;
    noWave[8] = 'X';
    auto noBits = good;
    noBits[34] = 0;
    const std::vector<std::uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    const struct {
        const char* name;
        std::vector<std::uint8_t> image;
    } cases[] = {
        {"not RIFF at all", text},
        {"RIFF but not WAVE", noWave},
        {"unknown encoding", badFormat},
        {"zero bits per sample", noBits},
        {"cut off inside the format chunk", Truncated(good, 30)},
        {"header only", Truncated(good, 12)},
    };
    StderrCapture capture;
    SdlWaveOutput out;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            out.Play(c.image);
            ADD_FAILURE() << "played a malformed image";
        } catch (const ESoundError& e) {
            const std::string what = test::EnglishMessage(e);
            const std::string prefix = "Couldn't play the sound: ";
            ASSERT_EQ(what.rfind(prefix, 0), 0u) << what;
            EXPECT_GT(what.size(), prefix.size()) << "SDL's text is missing";
        }
    }
    EXPECT_EQ(out.CachedSounds(), 0u) << "a refused image was kept";
    // A refusal leaves the output working.
    EXPECT_NO_THROW(out.Play(good));
    EXPECT_TRUE(out.IsRunning());
    EXPECT_EQ(capture.Finish(), "");
}

TEST(SoundDummy, EmptyImagePlaysNothing) {
    SdlWaveOutput out;
    EXPECT_NO_THROW(out.Play({}));
    EXPECT_FALSE(out.IsRunning());
    EXPECT_EQ(out.CachedSounds(), 0u);
}

TEST(SoundDummy, KeepsOnlyAFewConversions) {
    SdlWaveOutput out;
    for (int i = 0; i < 20; ++i) {
        out.Play(MakeTone({.rate = 11025, .hertz = 200.0 + 10 * i, .seconds = 0.05}));
    }
    EXPECT_GT(out.CachedSounds(), 2u);
    EXPECT_LT(out.CachedSounds(), 20u);
}

TEST(SoundDummy, PausesOnceTheSoundHasDrainedAndAfterStop) {
    SdlWaveOutput out;
    const auto tone = MakeTone({.rate = 5512, .seconds = 0.1});
    out.Play(tone);
    EXPECT_TRUE(out.IsRunning());
    EXPECT_TRUE(WaitUntilIdle(out, 2s));

    out.Play(tone);
    out.Stop();
    EXPECT_FALSE(out.IsRunning());
    out.Stop();  // twice is harmless
}

// A held device keeps a stream running on the sound server; after the grace period it goes,
// and the next request, or Stop, brings everything back as it was.
TEST(SoundDummy, ReleasesTheDeviceAfterTheGraceAndOpensItAgainOnRequest) {
    SdlWaveOutput out(SdlWaveOutput::Timing{.releaseAfter = 200ms});
    const auto tone = MakeTone({.rate = 5512, .seconds = 0.1});
    out.Play(tone);
    EXPECT_TRUE(out.HoldsDevice());
    EXPECT_TRUE(WaitFor([&] { return !out.HoldsDevice(); }, 3s)) << "the device was kept";

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const auto asked = std::chrono::steady_clock::now();
        out.Play(tone);
        // Opening waits for the driver; the request must not (generous bound).
        EXPECT_LT(std::chrono::steady_clock::now() - asked, 50ms);
        EXPECT_TRUE(out.HasDevice());
        EXPECT_TRUE(WaitFor([&] { return out.IsRunning(); }, 2s)) << "the sound did not start";
        if (round == 1) {
            out.Stop();
            EXPECT_FALSE(out.IsRunning());
        }
        EXPECT_TRUE(WaitFor([&] { return !out.HoldsDevice(); }, 3s)) << "the device was kept";
    }
    // Stop on a released device touches nothing.
    EXPECT_NO_THROW(out.Stop());
    EXPECT_FALSE(out.HoldsDevice());
}

TEST(SoundDummy, DestroyingWhilePlayingDoesNotHang) {
    const auto started = std::chrono::steady_clock::now();
    {
        SdlWaveOutput out;
        out.Play(MakeTone({.rate = 11025, .seconds = 2}));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1500ms);
}

// ---------------------------------------------------------------------------------------------
// SDL_AUDIODRIVER=nonexistent: no device at all.

TEST(SoundMissing, EveryRequestIsSilent) {
    StderrCapture capture;
    {
        SdlWaveOutput out;
        EXPECT_FALSE(out.HasDevice());
        EXPECT_FALSE(out.Format().has_value());
        EXPECT_NO_THROW(out.Play(MakeTone({})));
        // Without a device nothing is parsed, so nothing can be refused either.
        EXPECT_NO_THROW(out.Play(std::vector<std::uint8_t>{'n', 'o', 'p', 'e'}));
        EXPECT_NO_THROW(out.Stop());
        EXPECT_FALSE(out.IsRunning());
        EXPECT_FALSE(out.HasDevice());
        EXPECT_EQ(out.CachedSounds(), 0u);
    }
    EXPECT_EQ(capture.Finish(), "");
}

// A sound server started after the game is found at a later request, but not at every one.
TEST(SoundMissing, IsLookedForAgainAfterTheRetryInterval) {
    StderrCapture capture;
    {
        SdlWaveOutput out(SdlWaveOutput::Timing{.retryAfter = 400ms});
        EXPECT_FALSE(out.HasDevice());
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);  // the device appears
        out.Play(MakeTone({}));
        EXPECT_FALSE(out.HasDevice()) << "looked for again at once";
        EXPECT_FALSE(out.IsRunning());
        EXPECT_TRUE(WaitFor([&] { return out.HasDevice(); }, 2s));
        out.Play(MakeTone({.seconds = 0.5}));
        EXPECT_TRUE(WaitFor([&] { return out.IsRunning(); }, 2s)) << "the new device is not used";
        ::setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    }
    EXPECT_EQ(capture.Finish(), "");
}

TEST(SoundMissing, StopBeforeAnyRequestOpensNothing) {
    SdlWaveOutput out;
    EXPECT_NO_THROW(out.Stop());
}

// ---------------------------------------------------------------------------------------------
// SDL_AUDIODRIVER=alsa with no sound server: libasound complains on stderr unless kept quiet.

TEST(SoundAlsa, SaysNothingOnStderr) {
    StderrCapture capture;
    {
        SdlWaveOutput out;
        if (out.HasDevice()) {
            out.Play(MakeTone({.seconds = 0.05}));
        } else {
            EXPECT_NO_THROW(out.Play(MakeTone({.seconds = 0.05})));
        }
    }
    EXPECT_EQ(capture.Finish(), "");
}

}  // namespace
}  // namespace travoli
