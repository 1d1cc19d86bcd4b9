#include "media/container/byte_stream.h"

namespace travoli {

void ByteReader::Require(std::size_t count, const char* what) const {
    if (count > Remaining()) {
        throw ERecordError("record ends inside its " + std::string(what) + " (needs " +
                           std::to_string(count) + " bytes at offset " + std::to_string(position_) +
                           ", " + std::to_string(Remaining()) + " left)");
    }
}

std::uint8_t ByteReader::ReadU8(const char* what) {
    Require(1, what);
    return bytes_[position_++];
}

std::uint32_t ByteReader::ReadU32(const char* what) {
    Require(4, what);
    const std::uint32_t value = LoadU32(bytes_, position_);
    position_ += 4;
    return value;
}

std::span<const std::uint8_t> ByteReader::ReadBytes(std::size_t count, const char* what) {
    Require(count, what);
    const auto view = bytes_.subspan(position_, count);
    position_ += count;
    return view;
}

void ByteWriter::WriteU32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void ByteWriter::WriteBytes(std::span<const std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ByteWriter::PatchU32(std::size_t offset, std::uint32_t value) {
    if (offset + 4 > bytes_.size()) {
        throw std::out_of_range("ByteWriter::PatchU32 beyond the written bytes");
    }
    for (int i = 0; i < 4; ++i) {
        bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint16_t LoadU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t LoadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

}  // namespace travoli
