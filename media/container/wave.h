#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "media/container/wave_output.h"

namespace travoli {

// One sound: at most one memory block holding a whole RIFF WAVE image. While the output plays a
// block it may read that memory, so the block is only replaced or freed after Stop.
class TWave {
  public:
    TWave() = default;
    explicit TWave(WaveOutput* output) : output_(output) {}
    ~TWave();
    TWave(const TWave&) = delete;
    TWave& operator=(const TWave&) = delete;

    // The output must outlive the wave (the destructor stops through it).
    void SetOutput(WaveOutput* output) { output_ = output; }
    WaveOutput* Output() const { return output_; }

    bool IsEmpty() const { return block_.empty(); }
    std::span<const std::uint8_t> Bytes() const { return block_; }

    // Replace the block (no check of its contents); both stop first when the wave held data.
    void LoadFromBytes(std::span<const std::uint8_t> bytes);
    void LoadFromBytes(std::vector<std::uint8_t>&& bytes) noexcept;
    void Clear() noexcept;

    // False when empty, when no output is set or it has no device; else hands the block to the
    // output and returns true. A ESoundError from the output propagates.
    bool Play();
    // Stops whatever the output is playing, whichever wave started it.
    void Stop() noexcept;

  private:
    void StopIfHeld() noexcept;

    std::vector<std::uint8_t> block_;
    WaveOutput* output_ = nullptr;
};

}  // namespace travoli
