#pragma once

#include <bit>
#include <cstdint>
#include <string>

namespace travoli {

// The content of one cell. Kind mod 3 is the colour, kinds below 3 are straight;
// the value is also the column of the cell's picture in the tile sheet.
enum PieceKind : std::int32_t {
    RedStraight = 0,
    WhiteStraight = 1,
    BlueStraight = 2,
    RedDiagonal = 3,
    WhiteDiagonal = 4,
    BlueDiagonal = 5,
    EmptyCell = 6,
};

enum class PieceColour { Red = 0, White = 1, Blue = 2 };

constexpr bool IsStraight(PieceKind kind) {
    return kind < RedDiagonal;
}
constexpr bool IsDiagonal(PieceKind kind) {
    return kind >= RedDiagonal && kind < EmptyCell;
}
constexpr PieceColour ColourOf(PieceKind kind) {
    return static_cast<PieceColour>(kind % 3);
}

struct Cell {
    int column = 0;
    int row = 0;
    friend bool operator==(const Cell&, const Cell&) = default;
};

constexpr int BoardSize = 3;
constexpr int CellCount = BoardSize * BoardSize;

// Nine cells stored column by column: index = 3 * column + row, three bits a cell in one word,
// so a board is as cheap to copy, compare and store in a set as an integer.
class Board {
  public:
    constexpr Board() = default;

    static constexpr int IndexOf(Cell cell) { return cell.column * BoardSize + cell.row; }
    static constexpr Cell CellAt(int index) { return {index / BoardSize, index % BoardSize}; }

    constexpr PieceKind at(int index) const {
        return static_cast<PieceKind>((packed_ >> (BitsPerCell * index)) & CellMask);
    }
    constexpr PieceKind at(Cell cell) const { return at(IndexOf(cell)); }
    constexpr PieceKind at(int column, int row) const { return at(Cell{column, row}); }
    constexpr void set(int index, PieceKind kind) {
        const int shift = BitsPerCell * index;
        packed_ = (packed_ & ~(CellMask << shift)) | (static_cast<std::uint32_t>(kind) << shift);
    }
    constexpr void set(Cell cell, PieceKind kind) { set(IndexOf(cell), kind); }
    // Exchanges the contents of two cells.
    constexpr void SwapCells(int first, int second) {
        const std::uint32_t both = static_cast<std::uint32_t>(at(first) ^ at(second));
        packed_ ^= both << (BitsPerCell * first) | both << (BitsPerCell * second);
    }

    // The one empty cell; the board always has exactly one.
    constexpr Cell Hole() const { return CellAt(HoleIndex()); }
    constexpr int HoleIndex() const {
        // A cell is the hole where its three bits equal those of an empty board.
        const std::uint32_t diff = packed_ ^ AllEmpty;
        const std::uint32_t holes = ~(diff | diff >> 1 | diff >> 2) & LowBitOfEachCell;
        if (holes == 0) {
            return IndexOf({1, 1});  // unreachable for boards built by the game
        }
        return std::countr_zero(holes) / BitsPerCell;
    }

    // Rows from the top, each from the left: "2 2 2 / 1 6 1 / 0 0 0".
    std::string ToString() const;

    // 27-bit packed form (three bits a cell, in storage order), for sets of boards.
    constexpr std::uint32_t Packed() const { return packed_; }
    static constexpr Board FromPacked(std::uint32_t packed) {
        Board board;
        board.packed_ = packed & AllCells;
        return board;
    }

    friend bool operator==(const Board&, const Board&) = default;

  private:
    static constexpr int BitsPerCell = 3;
    static constexpr std::uint32_t CellMask = 7;
    static constexpr std::uint32_t AllCells = (std::uint32_t{1} << (BitsPerCell * CellCount)) - 1;
    static constexpr std::uint32_t LowBitOfEachCell = AllCells / CellMask;
    static constexpr std::uint32_t AllEmpty = LowBitOfEachCell * EmptyCell;

    std::uint32_t packed_ = AllEmpty;
};

}  // namespace travoli
