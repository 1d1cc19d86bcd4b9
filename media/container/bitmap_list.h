#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "media/container/byte_stream.h"
#include "media/container/custom_container.h"
#include "media/container/list_item.h"

namespace travoli {

// An image payload that is not a BMP file we can take.
class EInvalidBitmap : public ERecordError {
  public:
    using ERecordError::ERecordError;
};

// An item of the game's own list that no picture reader takes; Index() is its place. The
// message a reader sees is rendered from it through the text table.
class EBrokenPicture : public std::runtime_error {
  public:
    explicit EBrokenPicture(std::size_t index)
        : std::runtime_error("broken picture"), index_(index) {}
    std::size_t Index() const { return index_; }

  private:
    std::size_t index_;
};

// What a BMP file's headers say, after checking that they agree with the file's size.
struct BitmapInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;  // always positive; see topDown
    bool topDown = false;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;  // 0 uncompressed rows, 1 RLE8, 2 RLE4, 3 bit fields
    std::uint32_t headerSize = 0;   // 12, 40, 52, 56, 108 or 124
    std::uint32_t paletteColors = 0;
    std::uint32_t pixelOffset = 0;
    std::uint32_t fileSizeField = 0;
    std::size_t rowStride = 0;  // bytes per row of uncompressed pixels
};

// Throws EInvalidBitmap with the reason when `bmp` is not a whole, consistent BMP file.
BitmapInfo ParseBitmap(std::span<const std::uint8_t> bmp);

// How the writer re-encodes the image; AsIs stores the BMP file unchanged.
enum class BitmapDepth : std::uint8_t {
    AsIs = 0,
    Colors2 = 1,
    Colors16 = 2,
    Colors256 = 3,
    Other = 4
};

class TBitmapListItem : public TListItem {
  public:
    TBitmapListItem() = default;

    // The image as its BMP file; empty when there is none.
    std::span<const std::uint8_t> Bitmap() const { return bmp_; }
    // Checks and takes a BMP file (empty clears); throws EInvalidBitmap and keeps the old one.
    void SetBitmap(std::span<const std::uint8_t> bmp);

    BitmapDepth Depth() const { return depth_; }
    void SetDepth(BitmapDepth depth) { depth_ = depth; }

    void ClearContent() override { bmp_.clear(); }
    bool IsEmpty() const override { return bmp_.empty(); }
    std::uint8_t RecordFlags() const override;

  protected:
    void CheckContent(const ItemRecord& record) const override;
    void TakeContent(ItemRecord&& record) noexcept override;
    std::span<const std::uint8_t> ContentBytes() const override { return bmp_; }

  private:
    std::vector<std::uint8_t> bmp_;
    BitmapDepth depth_ = BitmapDepth::AsIs;
};

// The colour-depth choice that a flags byte records (bits tested from 0x10 upwards).
BitmapDepth DepthFromFlags(std::uint8_t flags);

class TBitmapList : public TCustomContainer {
  public:
    TBitmapList() = default;

    TBitmapListItem& Items(std::size_t index) { return static_cast<TBitmapListItem&>(Item(index)); }
    const TBitmapListItem& Items(std::size_t index) const {
        return static_cast<const TBitmapListItem&>(Item(index));
    }
    TBitmapListItem& Add() { return static_cast<TBitmapListItem&>(AddItem()); }
    TBitmapListItem& Read(ByteReader& in) { return static_cast<TBitmapListItem&>(ReadItem(in)); }

  protected:
    std::unique_ptr<TListItem> CreateItem() const override {
        return std::make_unique<TBitmapListItem>();
    }
};

}  // namespace travoli
