#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace travoli {

// The platform refused to play a sound; the text comes from the platform.
class ESoundError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
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
