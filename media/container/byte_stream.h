#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace travoli {

// A record or chunk that cannot be read as it stands: truncated, inconsistent or out of bounds.
class ERecordError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads little-endian fields from a byte range; every read is bounds-checked and names the
// field that did not fit, so a truncated record gives a clear error instead of garbage.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return bytes_.size() - position_; }
    bool AtEnd() const { return position_ == bytes_.size(); }

    std::uint8_t ReadU8(const char* what);
    std::uint32_t ReadU32(const char* what);
    // A view of the next `count` bytes; the reader moves past them.
    std::span<const std::uint8_t> ReadBytes(std::size_t count, const char* what);

  private:
    void Require(std::size_t count, const char* what) const;

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// Appends little-endian fields to a growing buffer.
class ByteWriter {
  public:
    void WriteU8(std::uint8_t value) { bytes_.push_back(value); }
    void WriteU32(std::uint32_t value);
    void WriteBytes(std::span<const std::uint8_t> bytes);
    // Overwrites four bytes already written, at `offset`.
    void PatchU32(std::size_t offset, std::uint32_t value);

    std::size_t Size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

std::uint16_t LoadU16(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint32_t LoadU32(std::span<const std::uint8_t> bytes, std::size_t offset);

}  // namespace travoli
