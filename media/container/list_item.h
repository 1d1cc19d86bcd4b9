#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/container/byte_stream.h"
#include "media/container/chunk_codec.h"

namespace travoli {

// Bits of an item record's flags byte.
namespace RecordFlag {
constexpr std::uint8_t Compressed = 0x01;
constexpr std::uint8_t Description = 0x02;
constexpr std::uint8_t Ident = 0x04;
constexpr std::uint8_t Payload = 0x08;
constexpr std::uint8_t DepthMask = 0xF0;
}  // namespace RecordFlag

constexpr std::size_t MaxDescriptionLength = 255;

// The most payload a record may hold, stored or decoded. The program's largest payload, the
// background sheet, is 99,382 bytes; 16 MiB is 168 times that, room for any 256-colour
// picture up to 4096 x 4095 or twelve minutes of 8-bit mono
// sound at 22,050 Hz, and small enough
// that a reader never spends more than a few tens of MB on a record, however it is crafted.
constexpr std::size_t MaxPayloadSize = std::size_t{16} << 20;
// A payload of that size, cut into pieces as the writer cuts it, needs this many chunks.
constexpr std::size_t MaxChunkCount = (MaxPayloadSize + MaxPieceSize - 1) / MaxPieceSize;
// The longest compressed total such a payload gives: each chunk adds its length field and,
// stored, one tag byte.
constexpr std::size_t MaxCompressedTotal = MaxPayloadSize + MaxChunkCount * 5;

// One item record as it stands in the bytes, the payload already joined from its chunks.
struct ItemRecord {
    std::uint8_t flags = 0;
    std::string description;
    std::uint16_t ident = 0;
    std::vector<std::uint8_t> payload;  // meaningful only with RecordFlag::Payload

    // Where the payload came from, for inspection: stored length N, or total T and chunks.
    struct Chunk {
        std::uint32_t codedLength = 0;
        bool stored = false;
        std::size_t pieceLength = 0;
    };
    std::uint32_t storedLength = 0;  // N, or T when compressed
    std::vector<Chunk> chunks;

    bool HasPayload() const { return (flags & RecordFlag::Payload) != 0; }
    bool IsCompressed() const { return (flags & RecordFlag::Compressed) != 0; }
};

// Reads one record from `in`, leaving it just after the record. Throws ERecordError for a
// record that ends early, whose chunks do not add up, or whose payload, as announced or as
// decoded, exceeds MaxPayloadSize (refused before the memory is spent); `in` is then left
// unchanged.
ItemRecord ReadItemRecord(ByteReader& in);

// Writes one record: flags as given (payload, description and ident bits must agree with the
// values), the description cut to 255 characters, a compressed payload in pieces.
void WriteItemRecord(ByteWriter& out, std::uint8_t flags, const std::string& description,
                     std::uint16_t ident, std::span<const std::uint8_t> payload);

// The stored form of a payload: N and the bytes, or T and the coded chunks.
void WritePayload(ByteWriter& out, std::span<const std::uint8_t> payload, bool compressed);

// The base of all list entries: reads and writes the record's flags, description and ident;
// its kinds add the payload.
class TListItem {
  public:
    virtual ~TListItem() = default;
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    bool Compressed() const { return compressed_; }
    void SetCompressed(bool compressed) { compressed_ = compressed; }
    const std::string& Description() const { return description_; }
    void SetDescription(std::string description) { description_ = std::move(description); }
    std::uint16_t Ident() const { return ident_; }
    void SetIdent(std::uint16_t ident) { ident_ = ident; }

    // Makes the image or sound empty.
    virtual void ClearContent() = 0;
    virtual bool IsEmpty() const = 0;
    // Reads one record. On any error the item keeps everything it held and `in` stays put.
    virtual void ReadRecord(ByteReader& in);
    virtual void WriteRecord(ByteWriter& out) const;
    // The flags byte that WriteRecord writes.
    virtual std::uint8_t RecordFlags() const;

    // Convenience: the whole of `bytes` must be one record.
    void LoadRecord(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> SaveRecord() const;

  protected:
    TListItem() = default;

    // Checks a record's payload without changing anything; throws when it is not acceptable.
    virtual void CheckContent(const ItemRecord& record) const = 0;
    // Takes the checked payload (or its absence); must not throw.
    virtual void TakeContent(ItemRecord&& record) noexcept = 0;
    // The payload bytes to write when not empty.
    virtual std::span<const std::uint8_t> ContentBytes() const = 0;

  private:
    void Accept(ItemRecord&& record);

    bool compressed_ = false;
    std::string description_;
    std::uint16_t ident_ = 0;
};

}  // namespace travoli
