#pragma once

#include <array>
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

// Nine cells stored column by column: index = 3 * column + row.
class Board {
  public:
    constexpr Board() { cells_.fill(EmptyCell); }

    static constexpr int IndexOf(Cell cell) { return cell.column * BoardSize + cell.row; }
    static constexpr Cell CellAt(int index) { return {index / BoardSize, index % BoardSize}; }

    constexpr PieceKind at(Cell cell) const { return cells_[IndexOf(cell)]; }
    constexpr PieceKind at(int column, int row) const { return at(Cell{column, row}); }
    constexpr void set(Cell cell, PieceKind kind) { cells_[IndexOf(cell)] = kind; }

    // The one empty cell; the board always has exactly one.
    Cell Hole() const;

    // Rows from the top, each from the left: "2 2 2 / 1 6 1 / 0 0 0".
    std::string ToString() const;

    // 27-bit packed form (three bits a cell, in storage order), for sets of boards.
    std::uint32_t Packed() const;
    static Board FromPacked(std::uint32_t packed);

    friend bool operator==(const Board&, const Board&) = default;

  private:
    std::array<PieceKind, CellCount> cells_{};
};

// Parses "r0c0 r0c1 r0c2 / r1c0 ..." as printed by ToString; separators are optional.
// Returns false when the text does not describe nine kinds 0-6.
bool ParseBoard(const std::string& text, Board& out);

}  // namespace travoli
