#include "media/container/list_item.h"

#include <algorithm>
#include <limits>

#include "media/container/chunk_codec.h"

namespace travoli {

ItemRecord ReadItemRecord(ByteReader& in) {
    ByteReader reader = in;
    ItemRecord record;
    record.flags = reader.ReadU8("flags");
    if (record.flags & RecordFlag::Description) {
        const std::size_t length = reader.ReadU8("description length");
        const auto text = reader.ReadBytes(length, "description");
        record.description.assign(text.begin(), text.end());
    }
    if (record.flags & RecordFlag::Ident) {
        record.ident = static_cast<std::uint16_t>(reader.ReadU32("ident"));
    }
    if (record.HasPayload()) {
        if (!record.IsCompressed()) {
            record.storedLength = reader.ReadU32("payload length");
            if (record.storedLength > MaxPayloadSize) {
                throw ERecordError("payload length " + std::to_string(record.storedLength) +
                                   " exceeds the limit of " + std::to_string(MaxPayloadSize) +
                                   " bytes");
            }
            const auto bytes = reader.ReadBytes(record.storedLength, "payload");
            record.payload.assign(bytes.begin(), bytes.end());
        } else {
            record.storedLength = reader.ReadU32("compressed total");
            if (record.storedLength > MaxCompressedTotal) {
                throw ERecordError("compressed total " + std::to_string(record.storedLength) +
                                   " exceeds the limit of " + std::to_string(MaxCompressedTotal) +
                                   " bytes");
            }
            std::uint32_t left = record.storedLength;
            while (left > 0) {
                if (left < 4) {
                    throw ERecordError("compressed total " + std::to_string(record.storedLength) +
                                       " disagrees with its chunks (" + std::to_string(left) +
                                       " bytes left, too few for a chunk)");
                }
                const std::uint32_t length = reader.ReadU32("chunk length");
                if (length > MaxChunkSize) {
                    throw ERecordError("chunk length " + std::to_string(length) + " exceeds " +
                                       std::to_string(MaxChunkSize));
                }
                if (length + 4 > left) {
                    throw ERecordError("compressed total " + std::to_string(record.storedLength) +
                                       " disagrees with its chunks (a chunk of " +
                                       std::to_string(length) + " bytes with only " +
                                       std::to_string(left - 4) + " left)");
                }
                if (record.chunks.size() == MaxChunkCount) {
                    throw ERecordError("more than " + std::to_string(MaxChunkCount) +
                                       " chunks, more than a payload within the limit needs");
                }
                const auto coded = reader.ReadBytes(length, "chunk");
                const auto piece = DecodeChunk(coded);
                if (record.payload.size() + piece.size() > MaxPayloadSize) {
                    throw ERecordError("the payload decodes past the limit of " +
                                       std::to_string(MaxPayloadSize) + " bytes");
                }
                record.chunks.push_back({length, coded[0] == StoredChunkTag, piece.size()});
                record.payload.insert(record.payload.end(), piece.begin(), piece.end());
                left -= length + 4;
            }
        }
    }
    in = reader;
    return record;
}

void WritePayload(ByteWriter& out, std::span<const std::uint8_t> payload, bool compressed) {
    if (payload.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("payload too large for an item record");
    }
    if (!compressed) {
        out.WriteU32(static_cast<std::uint32_t>(payload.size()));
        out.WriteBytes(payload);
        return;
    }
    const std::size_t totalAt = out.Size();
    out.WriteU32(0);
    std::size_t total = 0;
    for (std::size_t start = 0; start < payload.size(); start += MaxPieceSize) {
        const auto piece = payload.subspan(start, std::min(MaxPieceSize, payload.size() - start));
        const auto chunk = EncodePiece(piece);
        out.WriteU32(static_cast<std::uint32_t>(chunk.size()));
        out.WriteBytes(chunk);
        total += 4 + chunk.size();
    }
    if (total > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("compressed payload too large for an item record");
    }
    out.PatchU32(totalAt, static_cast<std::uint32_t>(total));
}

void WriteItemRecord(ByteWriter& out, std::uint8_t flags, const std::string& description,
                     std::uint16_t ident, std::span<const std::uint8_t> payload) {
    out.WriteU8(flags);
    if (flags & RecordFlag::Description) {
        const std::size_t length = std::min(description.size(), MaxDescriptionLength);
        out.WriteU8(static_cast<std::uint8_t>(length));
        out.WriteBytes({reinterpret_cast<const std::uint8_t*>(description.data()), length});
    }
    if (flags & RecordFlag::Ident) {
        out.WriteU32(ident);
    }
    if (flags & RecordFlag::Payload) {
        WritePayload(out, payload, (flags & RecordFlag::Compressed) != 0);
    }
}

void TListItem::Accept(ItemRecord&& record) {
    CheckContent(record);
    compressed_ = record.IsCompressed();
    description_ = record.description;
    ident_ = record.ident;
    TakeContent(std::move(record));
}

void TListItem::ReadRecord(ByteReader& in) {
    ByteReader reader = in;
    Accept(ReadItemRecord(reader));
    in = reader;
}

std::uint8_t TListItem::RecordFlags() const {
    std::uint8_t flags = 0;
    if (compressed_) {
        flags |= RecordFlag::Compressed;
    }
    if (!description_.empty()) {
        flags |= RecordFlag::Description;
    }
    if (ident_ != 0) {
        flags |= RecordFlag::Ident;
    }
    if (!IsEmpty()) {
        flags |= RecordFlag::Payload;
    }
    return flags;
}

void TListItem::WriteRecord(ByteWriter& out) const {
    WriteItemRecord(out, RecordFlags(), description_, ident_, ContentBytes());
}

void TListItem::LoadRecord(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    ItemRecord record = ReadItemRecord(reader);
    if (!reader.AtEnd()) {
        throw ERecordError(std::to_string(reader.Remaining()) +
                           " stray bytes after the item record");
    }
    Accept(std::move(record));
}

std::vector<std::uint8_t> TListItem::SaveRecord() const {
    ByteWriter out;
    WriteRecord(out);
    return out.Take();
}

}  // namespace travoli
