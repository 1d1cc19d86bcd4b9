#pragma once

#include <array>
#include <cstdint>

#include "game/board.h"

namespace travoli {

namespace detail {
// The move rule: a straight cross moves to an orthogonal neighbour, a diagonal cross to a
// diagonal neighbour, and only into the hole. The hole itself never moves.
constexpr bool MayMoveInto(PieceKind kind, Cell from, Cell hole) {
    const int dc =
        from.column > hole.column ? from.column - hole.column : hole.column - from.column;
    const int dr = from.row > hole.row ? from.row - hole.row : hole.row - from.row;
    if (IsStraight(kind)) {
        return dc + dr == 1;
    }
    if (IsDiagonal(kind)) {
        return dc == 1 && dr == 1;
    }
    return false;
}

// Indexed by the hole's index and a kind (all eight values of a cell's three bits); each entry
// has one bit per cell index whose cross of that kind may move into the hole.
using PressMasks = std::array<std::array<std::uint16_t, 8>, CellCount>;

constexpr PressMasks BuildPressTable() {
    PressMasks table{};
    for (int hole = 0; hole < CellCount; ++hole) {
        for (int kind = 0; kind < 8; ++kind) {
            for (int from = 0; from < CellCount; ++from) {
                if (MayMoveInto(static_cast<PieceKind>(kind), Board::CellAt(from),
                                Board::CellAt(hole))) {
                    table[hole][kind] |= static_cast<std::uint16_t>(1U << from);
                }
            }
        }
    }
    return table;
}

inline constexpr PressMasks PressTable = BuildPressTable();
}  // namespace detail

// The cells, one bit per board index, from which a cross of `kind` may move into the hole at
// `holeIndex`. Every press is judged by it: the game's through IsLegalPress, the solver's directly.
constexpr std::uint16_t CellsThatMayMoveInto(int holeIndex, PieceKind kind) {
    return detail::PressTable[holeIndex][kind & 7];
}

// Whether pressing `pressed` moves its cross into the hole.
constexpr bool IsLegalPress(const Board& board, Cell pressed) {
    const int index = Board::IndexOf(pressed);
    return (CellsThatMayMoveInto(board.HoleIndex(), board.at(index)) >> index) & 1U;
}

// Moves the cross on `pressed` into the hole; the press must be legal. Returns the old hole.
constexpr Cell ApplyPress(Board& board, Cell pressed) {
    const int hole = board.HoleIndex();
    board.set(hole, board.at(pressed));
    board.set(pressed, EmptyCell);
    return Board::CellAt(hole);
}

// The goal: red crosses fill the top row and blue crosses the bottom row.
constexpr bool IsSolved(const Board& board) {
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
