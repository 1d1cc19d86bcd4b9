// Decodes arbitrary bytes as a coded chunk, and codes them as a piece: whatever decodes stays
// within a piece and codes back to itself.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "media/container/byte_stream.h"
#include "media/container/chunk_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const std::vector<std::uint8_t> piece = travoli::DecodeChunk(bytes);
        if (piece.size() > travoli::MaxPieceSize ||
            travoli::DecodeChunk(travoli::EncodePiece(piece)) != piece) {
            std::abort();
        }
    } catch (const travoli::ERecordError&) {
    }
    const auto piece = bytes.first(std::min(size, travoli::MaxPieceSize));
    const std::vector<std::uint8_t> chunk = travoli::EncodePiece(piece);
    if (chunk.size() > piece.size() + 1 ||
        travoli::DecodeChunk(chunk) != std::vector<std::uint8_t>(piece.begin(), piece.end())) {
        std::abort();
    }
    return 0;
}
