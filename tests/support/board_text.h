#pragma once

#include <string>

#include "game/board.h"

namespace travoli {

// Parses "r0c0 r0c1 r0c2 / r1c0 ..." as Board::ToString prints it; separators are optional.
// Returns false when the text does not describe nine kinds 0-6.
inline bool ParseBoard(const std::string& text, Board& out) {
    Board board;
    int count = 0;
    for (char ch : text) {
        if (ch >= '0' && ch <= '6') {
            if (count == CellCount) {
                return false;
            }
            board.set({count % BoardSize, count / BoardSize}, static_cast<PieceKind>(ch - '0'));
            ++count;
        } else if (ch != ' ' && ch != '/' && ch != ',') {
            return false;
        }
    }
    if (count != CellCount) {
        return false;
    }
    out = board;
    return true;
}

}  // namespace travoli
