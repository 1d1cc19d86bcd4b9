#include "media/container/bitmap_list.h"

#include <string>

namespace travoli {

namespace {

[[noreturn]] void Invalid(const std::string& why) {
    throw EInvalidBitmap("invalid bitmap: " + why);
}

std::int32_t LoadI32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::int32_t>(LoadU32(bytes, offset));
}

}  // namespace

BitmapInfo ParseBitmap(std::span<const std::uint8_t> bmp) {
    constexpr std::size_t FileHeader = 14;
    if (bmp.size() < FileHeader + 12) {
        Invalid("only " + std::to_string(bmp.size()) + " bytes, too short for a BMP header");
    }
    if (bmp[0] != 'B' || bmp[1] != 'M') {
        Invalid("no \"BM\" signature");
    }
    BitmapInfo info;
    info.fileSizeField = LoadU32(bmp, 2);
    info.pixelOffset = LoadU32(bmp, 10);
    info.headerSize = LoadU32(bmp, 14);
    std::uint16_t planes = 0;
    std::int64_t height = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t imageSize = 0;
    std::size_t paletteEntry = 4;
    switch (info.headerSize) {
        case 12:
            info.width = LoadU16(bmp, 18);
            height = LoadU16(bmp, 20);
            planes = LoadU16(bmp, 22);
            info.bitsPerPixel = LoadU16(bmp, 24);
            paletteEntry = 3;
            break;
        case 40:
        case 52:
        case 56:
        case 108:
        case 124:
            if (bmp.size() < FileHeader + info.headerSize) {
                Invalid("file ends inside its " + std::to_string(info.headerSize) +
                        "-byte info header");
            }
            info.width = LoadI32(bmp, 18);
            height = LoadI32(bmp, 22);
            planes = LoadU16(bmp, 26);
            info.bitsPerPixel = LoadU16(bmp, 28);
            info.compression = LoadU32(bmp, 30);
            imageSize = LoadU32(bmp, 34);
            colorsUsed = LoadU32(bmp, 46);
            break;
        default:
            Invalid("unknown info header size " + std::to_string(info.headerSize));
    }
    if (planes != 1) {
        Invalid(std::to_string(planes) + " colour planes");
    }
    switch (info.bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            Invalid(std::to_string(info.bitsPerPixel) + " bits per pixel");
    }
    const bool rle = info.compression == 1 || info.compression == 2;
    if (info.compression > 3 || (info.compression == 1 && info.bitsPerPixel != 8) ||
        (info.compression == 2 && info.bitsPerPixel != 4) ||
        (info.compression == 3 && info.bitsPerPixel != 16 && info.bitsPerPixel != 32)) {
        Invalid("compression " + std::to_string(info.compression) + " with " +
                std::to_string(info.bitsPerPixel) + " bits per pixel");
    }
    info.topDown = height < 0;
    if (info.topDown && rle) {
        Invalid("top-down rows with run-length compression");
    }
    height = info.topDown ? -height : height;
    if (info.width <= 0 || height <= 0 || info.width > 32768 || height > 32768) {
        Invalid("size " + std::to_string(info.width) + " x " + std::to_string(height));
    }
    info.height = static_cast<std::int32_t>(height);

    if (info.bitsPerPixel <= 8) {
        const std::uint32_t most = 1u << info.bitsPerPixel;
        info.paletteColors = colorsUsed == 0 ? most : colorsUsed;
        if (info.paletteColors > most) {
            Invalid(std::to_string(colorsUsed) + " palette colours for " +
                    std::to_string(info.bitsPerPixel) + " bits per pixel");
        }
    }
    const std::size_t masks = info.headerSize == 40 && info.compression == 3 ? 12 : 0;
    const std::size_t headersEnd =
        FileHeader + info.headerSize + masks + info.paletteColors * paletteEntry;
    if (info.pixelOffset < headersEnd || info.pixelOffset > bmp.size()) {
        Invalid("pixel data offset " + std::to_string(info.pixelOffset) + " outside " +
                std::to_string(headersEnd) + "-" + std::to_string(bmp.size()));
    }
    info.rowStride = ((static_cast<std::size_t>(info.width) * info.bitsPerPixel + 31) / 32) * 4;
    const std::size_t available = bmp.size() - info.pixelOffset;
    const std::size_t needed = rle ? imageSize : info.rowStride * info.height;
    if (needed > available) {
        Invalid("pixel data needs " + std::to_string(needed) + " bytes, the file holds " +
                std::to_string(available));
    }
    return info;
}

void TBitmapListItem::SetBitmap(std::span<const std::uint8_t> bmp) {
    if (!bmp.empty()) {
        ParseBitmap(bmp);
    }
    bmp_.assign(bmp.begin(), bmp.end());
}

BitmapDepth DepthFromFlags(std::uint8_t flags) {
    if (flags & 0x10) {
        return BitmapDepth::Colors2;
    }
    if (flags & 0x20) {
        return BitmapDepth::Colors16;
    }
    if (flags & 0x40) {
        return BitmapDepth::Colors256;
    }
    if (flags & 0x80) {
        return BitmapDepth::Other;
    }
    return BitmapDepth::AsIs;
}

std::uint8_t TBitmapListItem::RecordFlags() const {
    static constexpr std::uint8_t DepthBits[] = {0x00, 0x10, 0x20, 0x40, 0x80};
    return static_cast<std::uint8_t>(TListItem::RecordFlags() |
                                     DepthBits[static_cast<std::size_t>(depth_)]);
}

void TBitmapListItem::CheckContent(const ItemRecord& record) const {
    if (record.HasPayload() && !record.payload.empty()) {
        ParseBitmap(record.payload);
    }
}

void TBitmapListItem::TakeContent(ItemRecord&& record) noexcept {
    depth_ = DepthFromFlags(record.flags);
    // Without a payload an image keeps what it had.
    if (record.HasPayload()) {
        bmp_ = std::move(record.payload);
    }
}

}  // namespace travoli
