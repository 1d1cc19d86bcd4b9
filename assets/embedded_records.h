#pragma once

#include <cstdint>
#include <span>

namespace travoli {

// The game's five item records, packed at build time; in list order.
enum class EmbeddedRecord { TileSheet, BackgroundSheet, SolvedSound, MoveSound, RefusedSound };

// The whole item record, to be read with the media container reader.
std::span<const std::uint8_t> EmbeddedRecordBytes(EmbeddedRecord record);

}  // namespace travoli
