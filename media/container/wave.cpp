#include "media/container/wave.h"

namespace travoli {

TWave::~TWave() {
    StopIfHeld();
}

void TWave::StopIfHeld() noexcept {
    if (!block_.empty()) {
        Stop();
    }
}

void TWave::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    LoadFromBytes(std::move(copy));
}

void TWave::LoadFromBytes(std::vector<std::uint8_t>&& bytes) noexcept {
    StopIfHeld();
    block_ = std::move(bytes);
}

void TWave::Clear() noexcept {
    StopIfHeld();
    block_.clear();
    block_.shrink_to_fit();
}

bool TWave::Play() {
    if (block_.empty() || output_ == nullptr || !output_->HasDevice()) {
        return false;
    }
    output_->Play(block_);
    return true;
}

void TWave::Stop() noexcept {
    if (output_ != nullptr) {
        output_->Stop();
    }
}

}  // namespace travoli
