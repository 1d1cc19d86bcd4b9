#include "game/board.h"

#include <cctype>

namespace travoli {

Cell Board::Hole() const {
    for (int i = 0; i < CellCount; ++i) {
        if (cells_[i] == EmptyCell) {
            return CellAt(i);
        }
    }
    return {1, 1};  // unreachable for boards built by the game
}

std::string Board::ToString() const {
    std::string text;
    for (int row = 0; row < BoardSize; ++row) {
        if (row > 0) {
            text += " / ";
        }
        for (int column = 0; column < BoardSize; ++column) {
            if (column > 0) {
                text += ' ';
            }
            text += static_cast<char>('0' + at(column, row));
        }
    }
    return text;
}

std::uint32_t Board::Packed() const {
    std::uint32_t packed = 0;
    for (int i = CellCount - 1; i >= 0; --i) {
        packed = (packed << 3) | static_cast<std::uint32_t>(cells_[i]);
    }
    return packed;
}

Board Board::FromPacked(std::uint32_t packed) {
    Board board;
    for (int i = 0; i < CellCount; ++i) {
        board.cells_[i] = static_cast<PieceKind>(packed & 7U);
        packed >>= 3;
    }
    return board;
}

bool ParseBoard(const std::string& text, Board& out) {
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
