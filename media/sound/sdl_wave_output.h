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
// The device is opened on the first request and kept for the whole run; if it cannot be
// opened, every later request is silent and the open is not tried again. A sound is
// converted to the device format once and kept, so a repeated request only queues bytes.
// A small helper thread pauses the device once the queue has drained, because a running
// device mixes silence all the time. Closing the device blocks briefly and happens only in
// the destructor.
//
// All public calls belong to one thread (the GUI thread).
class SdlWaveOutput final : public WaveOutput {
  public:
    // The sample format the device was opened with.
    struct OutputFormat {
        int rate = 0;
        int channels = 0;
        int bits = 0;
        bool isFloat = false;
        bool isSigned = false;
        bool bigEndian = false;
    };

    SdlWaveOutput();
    ~SdlWaveOutput() override;
    SdlWaveOutput(const SdlWaveOutput&) = delete;
    SdlWaveOutput& operator=(const SdlWaveOutput&) = delete;

    bool HasDevice() override;
    // An empty image plays nothing and is not an error; anything SDL cannot parse or queue
    // raises SoundError with SDL's own text.
    void Play(std::span<const std::uint8_t> riffWave) override;
    void Stop() override;

    // True while the device is unpaused, i.e. a sound is (still) being fed to it.
    bool IsRunning();
    // The device's format, once open; nothing when there is no device.
    std::optional<OutputFormat> Format();
    // Number of converted sounds kept.
    std::size_t CachedSounds() const { return cache_.size(); }

  private:
    struct Converted {
        std::vector<std::uint8_t> source;  // the image as given, to tell a reused address apart
        std::uint64_t hash = 0;
        std::vector<std::uint8_t> samples;  // in the device format
    };

    enum class State { Untried, Open, NoDevice };

    void EnsureOpen();
    const Converted& Convert(std::span<const std::uint8_t> riffWave);
    std::chrono::milliseconds Duration(std::size_t bytes) const;
    void ArmPause(std::optional<std::chrono::steady_clock::time_point> when);
    void PauserLoop();

    State state_ = State::Untried;
    std::uint32_t device_ = 0;
    int deviceFreq_ = 0;
    std::uint16_t deviceFormat_ = 0;
    int deviceChannels_ = 0;
    int bytesPerFrame_ = 0;

    // Most recently used first; only a handful of distinct sounds exist.
    std::vector<std::unique_ptr<Converted>> cache_;

    std::mutex pauseMutex_;
    std::condition_variable pauseWake_;
    std::optional<std::chrono::steady_clock::time_point> pauseAt_;
    bool quit_ = false;
    std::thread pauser_;
};

}  // namespace travoli
