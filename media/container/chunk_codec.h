#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace travoli {

// Compressed payloads are cut into pieces of this size (the last one shorter).
constexpr std::size_t MaxPieceSize = 32781;
// The longest coded chunk a reader accepts: a stored piece of MaxPieceSize bytes plus its tag.
constexpr std::size_t MaxChunkSize = MaxPieceSize + 1;

constexpr std::uint8_t StoredChunkTag = 0x80;
constexpr std::uint8_t CodedChunkTag = 0x40;

// Decodes one coded chunk into its piece. Throws ERecordError for a chunk that is longer than
// MaxChunkSize, ends inside an item or control word, copies from before the start of the
// piece, or would make the piece longer than MaxPieceSize.
std::vector<std::uint8_t> DecodeChunk(std::span<const std::uint8_t> chunk);

// Codes one piece of at most MaxPieceSize bytes (std::invalid_argument otherwise). Falls back to
// a stored chunk (tag + piece) when coding would not make it smaller than S + 1.
std::vector<std::uint8_t> EncodePiece(std::span<const std::uint8_t> piece);

}  // namespace travoli
