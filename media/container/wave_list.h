#pragma once

#include <cstdint>
#include <span>

#include "media/container/byte_stream.h"
#include "media/container/custom_container.h"
#include "media/container/list_item.h"
#include "media/container/wave.h"

namespace travoli {

// A sound payload whose "RIFF", "WAVE" or "fmt " signature does not match.
class EInvalidWave : public ERecordError {
  public:
    using ERecordError::ERecordError;
};

// A sound payload that ends before its signatures and format header could be checked.
class EErrorCheckingWave : public ERecordError {
  public:
    using ERecordError::ERecordError;
};

// Checks the signatures of a RIFF WAVE image and that its header (34 bytes) is there; the
// sizes and format fields are read but not tested.
void CheckWave(std::span<const std::uint8_t> payload);

class TWaveListItem : public TListItem {
  public:
    TWaveListItem() = default;

    TWave& Wave() { return wave_; }
    const TWave& Wave() const { return wave_; }

    void ClearContent() override { wave_.Clear(); }
    bool IsEmpty() const override { return wave_.IsEmpty(); }

  protected:
    void CheckContent(const ItemRecord& record) const override;
    void TakeContent(ItemRecord&& record) noexcept override;
    std::span<const std::uint8_t> ContentBytes() const override { return wave_.Bytes(); }

  private:
    TWave wave_;
};

class TWaveList : public TCustomContainer {
  public:
    TWaveList() = default;

    TWaveListItem& Items(std::size_t index) { return static_cast<TWaveListItem&>(Item(index)); }
    const TWaveListItem& Items(std::size_t index) const {
        return static_cast<const TWaveListItem&>(Item(index));
    }
    TWaveListItem& Add() { return static_cast<TWaveListItem&>(AddItem()); }
    TWaveListItem& Read(ByteReader& in) { return static_cast<TWaveListItem&>(ReadItem(in)); }

    // The output of every wave in the list, present and future.
    void SetOutput(WaveOutput* output);
    WaveOutput* Output() const { return output_; }

  protected:
    std::unique_ptr<TListItem> CreateItem() const override;

  private:
    WaveOutput* output_ = nullptr;
};

}  // namespace travoli
