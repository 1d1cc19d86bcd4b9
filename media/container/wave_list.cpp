#include "media/container/wave_list.h"

#include <cstring>
#include <string>

namespace travoli {

namespace {

constexpr std::size_t WaveHeaderSize = 34;

void RequireWaveBytes(std::span<const std::uint8_t> payload, std::size_t count, const char* what) {
    if (payload.size() < count) {
        throw EErrorCheckingWave("error checking wave: the sound ends after " +
                                 std::to_string(payload.size()) + " bytes, inside its " + what);
    }
}

void RequireSignature(std::span<const std::uint8_t> payload, std::size_t offset,
                      const char* signature) {
    RequireWaveBytes(payload, offset + 4, (std::string("\"") + signature + "\" signature").c_str());
    if (std::memcmp(payload.data() + offset, signature, 4) != 0) {
        throw EInvalidWave(std::string("invalid wave: no \"") + signature +
                           "\" signature at offset " + std::to_string(offset));
    }
}

}  // namespace

void CheckWave(std::span<const std::uint8_t> payload) {
    if (payload.empty()) {
        throw EInvalidWave("invalid wave: the sound is empty (no \"RIFF\" signature)");
    }
    RequireSignature(payload, 0, "RIFF");
    RequireWaveBytes(payload, 8, "RIFF size");
    RequireSignature(payload, 8, "WAVE");
    RequireSignature(payload, 12, "fmt ");
    RequireWaveBytes(payload, WaveHeaderSize, "\"fmt \" header");
}

void TWaveListItem::CheckContent(const ItemRecord& record) const {
    // A compressed payload that decodes to nothing simply leaves the sound empty.
    if (!record.HasPayload() || (record.IsCompressed() && record.payload.empty())) {
        return;
    }
    CheckWave(record.payload);
}

void TWaveListItem::TakeContent(ItemRecord&& record) noexcept {
    if (!record.HasPayload() || record.payload.empty()) {
        wave_.Clear();
    } else {
        wave_.LoadFromBytes(std::move(record.payload));
    }
}

void TWaveList::SetOutput(WaveOutput* output) {
    output_ = output;
    for (std::size_t i = 0; i < Count(); ++i) {
        Items(i).Wave().SetOutput(output);
    }
}

std::unique_ptr<TListItem> TWaveList::CreateItem() const {
    auto item = std::make_unique<TWaveListItem>();
    item->Wave().SetOutput(output_);
    return item;
}

}  // namespace travoli
