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

}  // namespace travoli
