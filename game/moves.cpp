#include "game/moves.h"

#include <cstdlib>

namespace travoli {

bool IsLegalPress(const Board& board, Cell pressed) {
    const PieceKind kind = board.at(pressed);
    const Cell hole = board.Hole();
    const int dc = std::abs(pressed.column - hole.column);
    const int dr = std::abs(pressed.row - hole.row);
    if (IsStraight(kind)) {
        return dc + dr == 1;
    }
    if (IsDiagonal(kind)) {
        return dc == 1 && dr == 1;
    }
    return false;
}

Cell ApplyPress(Board& board, Cell pressed) {
    const Cell hole = board.Hole();
    board.set(hole, board.at(pressed));
    board.set(pressed, EmptyCell);
    return hole;
}

bool IsSolved(const Board& board) {
    for (int column = 0; column < BoardSize; ++column) {
        const PieceKind top = board.at(column, 0);
        const PieceKind bottom = board.at(column, 2);
        if (top == EmptyCell || ColourOf(top) != PieceColour::Red) {
            return false;
        }
        if (bottom == EmptyCell || ColourOf(bottom) != PieceColour::Blue) {
            return false;
        }
    }
    return true;
}

}  // namespace travoli
