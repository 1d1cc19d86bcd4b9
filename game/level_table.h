#pragma once

#include <array>
#include <cstdint>

#include "game/board.h"

namespace travoli {

// One bit per cross in reading order (top row, middle left, middle right, bottom row);
// a set bit makes that cross diagonal.
using LevelCode = std::uint8_t;

constexpr int LevelCount = 225;

namespace detail {
// Codes up to 252 that are not levels.
constexpr std::array<int, 28> LeftOutCodes = {90,  91,  94,  95,  122, 123, 126, 127, 165, 167,
                                              173, 175, 181, 183, 189, 191, 218, 219, 222, 223,
                                              229, 231, 237, 239, 245, 247, 250, 251};

constexpr std::array<LevelCode, LevelCount> BuildLevelTable() {
    std::array<LevelCode, LevelCount> table{};
    int next = 0;
    for (int code = 0; code <= 252; ++code) {
        bool leftOut = false;
        for (int skipped : LeftOutCodes) {
            leftOut = leftOut || skipped == code;
        }
        if (!leftOut) {
            table[next++] = static_cast<LevelCode>(code);
        }
    }
    return table;
}
}  // namespace detail

// The codes of levels 1 to 225, strictly ascending; level n uses entry n - 1.
inline constexpr std::array<LevelCode, LevelCount> LevelTable = detail::BuildLevelTable();

static_assert(LevelTable.front() == 0 && LevelTable.back() == 252);

// level is 1 to 225.
constexpr LevelCode LevelCodeOf(int level) {
    return LevelTable[level - 1];
}

Board MakeStartingBoard(LevelCode code);

}  // namespace travoli
