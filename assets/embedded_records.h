#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace travoli {

// The game's five item records, packed at build time.
enum class EmbeddedRecord { TileSheet, BackgroundSheet, SolvedSound, MoveSound, RefusedSound };

struct EmbeddedRecordEntry {
    EmbeddedRecord id;
    const char* name;     // the enumerator, as the generated source spells it
    const char* file;     // the build tree's <file>.bmp or <file>.wav and records/<file>.rec
    bool sound;           // true: it belongs to the sound list, else to the image list
    std::uint16_t ident;  // the record's ident field
    bool compressed;      // the payload is stored compressed
    std::uint8_t flags;   // the record's flags byte, as the writer must produce it
};

// The one list of the records, in list order: the image list's two sheets, then the sound
// list's sounds 1 (solved), 2 (moved) and 3 (refused).
inline constexpr std::array<EmbeddedRecordEntry, 5> EmbeddedRecords = {{
    {EmbeddedRecord::TileSheet, "TileSheet", "tile_sheet", false, 0, true, 0x09},
    {EmbeddedRecord::BackgroundSheet, "BackgroundSheet", "background_sheet", false, 1, true, 0x0D},
    {EmbeddedRecord::SolvedSound, "SolvedSound", "sound_solved", true, 4, true, 0x0D},
    {EmbeddedRecord::MoveSound, "MoveSound", "sound_move", true, 5, true, 0x0D},
    {EmbeddedRecord::RefusedSound, "RefusedSound", "sound_refused", true, 6, false, 0x0C},
}};

// A record's place in its own list, counted from 0.
constexpr std::size_t ListIndex(EmbeddedRecord record) {
    std::size_t index = 0;
    bool sound = false;
    for (const EmbeddedRecordEntry& entry : EmbeddedRecords) {
        if (entry.id == record) {
            sound = entry.sound;
        }
    }
    for (const EmbeddedRecordEntry& entry : EmbeddedRecords) {
        if (entry.id == record) {
            return index;
        }
        index += entry.sound == sound ? 1 : 0;
    }
    return index;
}

// The sounds by the number PlaySoundEffect takes (from 1), and the sheets by their index in
// the image list.
namespace sound {
inline constexpr int Solved = static_cast<int>(ListIndex(EmbeddedRecord::SolvedSound)) + 1;
inline constexpr int Moved = static_cast<int>(ListIndex(EmbeddedRecord::MoveSound)) + 1;
inline constexpr int Refused = static_cast<int>(ListIndex(EmbeddedRecord::RefusedSound)) + 1;
}  // namespace sound
namespace sheet {
inline constexpr std::size_t Tiles = ListIndex(EmbeddedRecord::TileSheet);
inline constexpr std::size_t Backgrounds = ListIndex(EmbeddedRecord::BackgroundSheet);
}  // namespace sheet
static_assert(sound::Solved == 1 && sound::Moved == 2 && sound::Refused == 3 && sheet::Tiles == 0 &&
              sheet::Backgrounds == 1);

// The whole item record, to be read with the media container reader.
std::span<const std::uint8_t> EmbeddedRecordBytes(EmbeddedRecord record);

}  // namespace travoli
