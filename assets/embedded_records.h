#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace travoli {

// The game's five item records, packed at build time.
enum class EmbeddedRecord { TileSheet, BackgroundSheet, SolvedSound, MoveSound, RefusedSound };

struct EmbeddedRecordEntry {
    EmbeddedRecord id;
    const char* name;  // the enumerator, as the generated source spells it
    const char* file;  // the build tree's <file>.bmp or <file>.wav and records/<file>.rec
    bool sound;        // true: it belongs to the sound list, else to the image list
};

// The one list of the records, in list order: the image list's two sheets, then the sound
// list's sounds 1 (solved), 2 (moved) and 3 (refused).
inline constexpr std::array<EmbeddedRecordEntry, 5> EmbeddedRecords = {{
    {EmbeddedRecord::TileSheet, "TileSheet", "tile_sheet", false},
    {EmbeddedRecord::BackgroundSheet, "BackgroundSheet", "background_sheet", false},
    {EmbeddedRecord::SolvedSound, "SolvedSound", "sound_solved", true},
    {EmbeddedRecord::MoveSound, "MoveSound", "sound_move", true},
    {EmbeddedRecord::RefusedSound, "RefusedSound", "sound_refused", true},
}};

// The whole item record, to be read with the media container reader.
std::span<const std::uint8_t> EmbeddedRecordBytes(EmbeddedRecord record);

}  // namespace travoli
