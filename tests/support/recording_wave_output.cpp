#include "tests/support/recording_wave_output.h"

#include <utility>

namespace travoli {

bool RecordingWaveOutput::HasDevice() {
    ++deviceQueries_;
    return hasDevice_;
}

void RecordingWaveOutput::Play(std::span<const std::uint8_t> riffWave) {
    Request request;
    request.kind = Request::Kind::Play;
    request.data = riffWave.data();
    request.size = riffWave.size();
    if (refusal_) {
        request.refused = true;
        requests_.push_back(request);
        std::string text = std::move(*refusal_);
        refusal_.reset();
        throw ESoundError(text);
    }
    requests_.push_back(request);
    if (hasDevice_ && !riffWave.empty()) {
        ++plays_;
        lastPlayed_ = request;
    }
}

void RecordingWaveOutput::Stop() {
    Request request;
    request.kind = Request::Kind::Stop;
    requests_.push_back(request);
    ++stops_;
}

std::optional<RecordingWaveOutput::Request> RecordingWaveOutput::LastPlayed() const {
    return lastPlayed_;
}

void RecordingWaveOutput::Forget() {
    requests_.clear();
    plays_ = 0;
    stops_ = 0;
    deviceQueries_ = 0;
    lastPlayed_.reset();
}

}  // namespace travoli
