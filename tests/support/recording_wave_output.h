#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "media/container/wave_output.h"

namespace travoli {

// A WaveOutput that plays nothing and remembers every request, for tests of the windows.
// It can pretend that there is no device, and can be told to refuse the next Play.
class RecordingWaveOutput final : public WaveOutput {
  public:
    struct Request {
        enum class Kind { Play, Stop };
        Kind kind = Kind::Play;
        const std::uint8_t* data = nullptr;  // which image: its address and size
        std::size_t size = 0;
        bool refused = false;  // this Play raised ESoundError

        // True when this request played exactly that block of memory.
        bool Played(std::span<const std::uint8_t> image) const {
            return kind == Kind::Play && !refused && data == image.data() && size == image.size();
        }
    };

    bool HasDevice() override;
    // Records the request; with no device it is recorded but counts as silent.
    void Play(std::span<const std::uint8_t> riffWave) override;
    void Stop() override;

    void SetHasDevice(bool hasDevice) { hasDevice_ = hasDevice; }
    // The next Play raises ESoundError with this text (once).
    void RefuseNextPlay(std::string text) { refusal_ = std::move(text); }

    const std::vector<Request>& Requests() const { return requests_; }
    // Plays that would have been heard: a device existed and nothing refused them.
    int Plays() const { return plays_; }
    int Stops() const { return stops_; }
    int DeviceQueries() const { return deviceQueries_; }
    // The image of the last audible play, if any.
    std::optional<Request> LastPlayed() const;
    void Forget();

  private:
    bool hasDevice_ = true;
    std::optional<std::string> refusal_;
    std::vector<Request> requests_;
    int plays_ = 0;
    int stops_ = 0;
    int deviceQueries_ = 0;
    std::optional<Request> lastPlayed_;
};

}  // namespace travoli
