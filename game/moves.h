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

// One bit per kind (all eight values of a cell's three bits) that is a cross of `colour`.
constexpr std::uint8_t CrossesOf(PieceColour colour) {
    std::uint8_t kinds = 0;
    for (int kind = 0; kind < 8; ++kind) {
        if (IsStraight(static_cast<PieceKind>(kind)) || IsDiagonal(static_cast<PieceKind>(kind))) {
            kinds |= ColourOf(static_cast<PieceKind>(kind)) == colour ? 1U << kind : 0U;
        }
    }
    return static_cast<std::uint8_t>(kinds);
}
}  // namespace detail

// The cells, one bit per board index, from which a cross of `kind` may move into the hole at
// `holeIndex`. Every press is judged by it: the game's through IsLegalPress, the solver's
// through LegalPresses.
constexpr std::uint16_t CellsThatMayMoveInto(int holeIndex, PieceKind kind) {
    return detail::PressTable[holeIndex][kind & 7];
}

// The cells, one bit per board index, whose press is legal.
constexpr unsigned LegalPresses(const Board& board) {
    const int hole = board.HoleIndex();
    unsigned presses = 0;
    for (int index = 0; index < CellCount; ++index) {
        presses |= CellsThatMayMoveInto(hole, board.at(index)) & (1U << index);
    }
    return presses;
}

constexpr bool IsLegalPress(const Board& board, Cell pressed) {
    const int index = Board::IndexOf(pressed);
    return (CellsThatMayMoveInto(board.HoleIndex(), board.at(index)) >> index) & 1U;
}

// Moves the cross on cell index `pressed` into the hole at `hole`; the press must be legal.
constexpr void ApplyPress(Board& board, int pressed, int hole) {
    board.SwapCells(pressed, hole);
}

// The same, finding the hole; returns it.
constexpr Cell ApplyPress(Board& board, Cell pressed) {
    const int hole = board.HoleIndex();
    ApplyPress(board, Board::IndexOf(pressed), hole);
    return Board::CellAt(hole);
}

// The goal: red crosses fill the top row and blue crosses the bottom row. The kinds that each
// of those rows wants, one bit per kind.
inline constexpr unsigned TopRowKinds = detail::CrossesOf(PieceColour::Red);
inline constexpr unsigned BottomRowKinds = detail::CrossesOf(PieceColour::Blue);

// Judged for all six cells without stopping early, which a search reaching many boards can do
// without branches.
constexpr bool IsSolved(const Board& board) {
    unsigned solved = 1;
    for (int column = 0; column < BoardSize; ++column) {
        solved &= TopRowKinds >> board.at(column, 0);
        solved &= BottomRowKinds >> board.at(column, BoardSize - 1);
    }
    return solved != 0;
}

}  // namespace travoli
