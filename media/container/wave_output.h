#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace travoli {

// Why a sound was not played.
enum class SoundFailure {
    Refused,   // the platform refused it; Said() is its reason
    TooLarge,  // a sound image past what the platform takes
    TooLong,   // a sound whose converted samples would be past it
    Other,     // a message of its own, which is the whole text
};

// The platform refused to play a sound. The message a reader sees is rendered from
// Failure() and Said() through the text table; only a sound output's own words (Other) are
// the whole text of what().
class ESoundError : public std::runtime_error {
  public:
    explicit ESoundError(const std::string& message)
        : std::runtime_error(message), failure_(SoundFailure::Other) {}
    ESoundError(SoundFailure failure, std::string said)
        : std::runtime_error("sound refused"), failure_(failure), said_(std::move(said)) {}

    SoundFailure Failure() const { return failure_; }
    const std::string& Said() const { return said_; }

  private:
    SoundFailure failure_;
    std::string said_;
};

// Where sounds go: plays a whole RIFF WAVE image from memory without blocking. A new
// request cuts off the sound that is playing.
class WaveOutput {
  public:
    virtual ~WaveOutput() = default;
    // False when the platform offers no output device: then nothing is played or reported.
    virtual bool HasDevice() = 0;
    // Starts `riffWave` from its beginning at once. Throws ESoundError when refused.
    virtual void Play(std::span<const std::uint8_t> riffWave) = 0;
    // Stops whatever this process is playing.
    virtual void Stop() = 0;
};

}  // namespace travoli
