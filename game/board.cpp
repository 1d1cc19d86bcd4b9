#include "game/board.h"

#include <cctype>

namespace travoli {

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
