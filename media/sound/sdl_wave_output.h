#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "media/container/wave_output.h"

namespace travoli {

// Plays RIFF WAVE images through one SDL audio device in queue mode.
//
// The device is opened at the first request. A helper thread pauses it once the queue has
// drained and, after a grace period without requests, closes it: an open device keeps a
// stream running on the sound server (the sink cannot suspend, idle CPU rises). The next
// request hands its sound to the helper, which opens the device again and plays it, so the
// GUI thread never waits for SDL to open or close. A device that could not be opened is
// looked for again at a request after the retry interval, from a fresh start of SDL's audio,
// so a sound server started after the game is found.
//
// Sounds are converted once to the one format the device is opened with, and kept.
//
// All public calls belong to one thread (the GUI thread).
class SdlWaveOutput final : public WaveOutput {
  public:
    // The sample format the device is opened with.
    struct OutputFormat {
        int rate = 0;
        int channels = 0;
        int bits = 0;
        bool isFloat = false;
        bool isSigned = false;
        bool bigEndian = false;
    };

    struct Timing {
        // Silence after the last sound before the device is closed.
        std::chrono::milliseconds releaseAfter{1000};
        // How long a missing device is believed missing.
        std::chrono::milliseconds retryAfter{3000};
    };

    SdlWaveOutput() : SdlWaveOutput(Timing{}) {}
    explicit SdlWaveOutput(Timing timing);
    ~SdlWaveOutput() override;
    SdlWaveOutput(const SdlWaveOutput&) = delete;
    SdlWaveOutput& operator=(const SdlWaveOutput&) = delete;

    // The first call opens the device (nothing plays yet, so the wait is harmless); later
    // calls answer from what is known: false only while a missing device is not due to be
    // looked for again.
    bool HasDevice() override;
    // An empty image plays nothing and is not an error; anything SDL cannot parse or queue
    // raises ESoundError with SDL's own text.
    void Play(std::span<const std::uint8_t> riffWave) override;
    void Stop() override;

    // True while the device is unpaused, i.e. a sound is (still) being fed to it.
    bool IsRunning();
    // True while the device is open (it is closed again after the grace period).
    bool HoldsDevice();
    // The device's format, once open; nothing when there is no device.
    std::optional<OutputFormat> Format();
    // Number of converted sounds kept.
    std::size_t CachedSounds() const { return cache_.size(); }

  private:
    using Clock = std::chrono::steady_clock;
    using Samples = std::shared_ptr<const std::vector<std::uint8_t>>;

    struct Converted {
        std::vector<std::uint8_t> source;  // the image as given, to tell a reused address apart
        std::uint64_t hash = 0;
        Samples samples;  // in the device format
    };

    // Busy: the helper is opening or closing the device; nobody else touches it then.
    enum class State { Untried, Open, Busy, Closed, Missing };

    bool OpenDevice();
    void CloseDevice();
    bool Due(Clock::time_point now) const;
    const Converted& Convert(std::span<const std::uint8_t> riffWave);
    std::chrono::milliseconds Duration(std::size_t bytes) const;
    // With mutex_ held and the device open: cut off what plays and start `samples`.
    bool QueueNow(const std::vector<std::uint8_t>& samples);
    void Silence();
    void HelperLoop();

    const Timing timing_;

    // Most recently used first; only a handful of distinct sounds exist.
    std::vector<std::unique_ptr<Converted>> cache_;

    std::mutex mutex_;
    std::condition_variable wake_;
    State state_ = State::Untried;
    bool audioStarted_ = false;  // SDL's audio subsystem is up
    std::uint32_t device_ = 0;
    Samples pending_;  // waiting for the helper to open the device
    std::optional<Clock::time_point> drainAt_;
    std::optional<Clock::time_point> releaseAt_;
    Clock::time_point retryAt_;
    bool quit_ = false;
    std::thread helper_;
};

}  // namespace travoli
