#include "game/solver.h"

#include <algorithm>
#include <cstdint>

#include "game/moves.h"

namespace travoli {

namespace {

// Open-addressing set of packed boards, each remembering where its hole came from.
// A level has at most 9!/(2!2!) arrangements of its crosses, well below the capacity.
class VisitedBoards {
  public:
    static constexpr std::uint32_t Empty = 0xFFFFFFFFU;
    static constexpr std::size_t Capacity = std::size_t{1} << 18;

    VisitedBoards() : keys_(Capacity, Empty), previousHole_(Capacity, 0) {}

    // Inserts the board; false when it was there already.
    bool Insert(std::uint32_t key, std::uint8_t previousHole) {
        std::size_t slot = SlotOf(key);
        while (keys_[slot] != Empty) {
            if (keys_[slot] == key) {
                return false;
            }
            slot = (slot + 1) & (Capacity - 1);
        }
        keys_[slot] = key;
        previousHole_[slot] = previousHole;
        return true;
    }

    std::uint8_t PreviousHole(std::uint32_t key) const {
        std::size_t slot = SlotOf(key);
        while (keys_[slot] != key) {
            slot = (slot + 1) & (Capacity - 1);
        }
        return previousHole_[slot];
    }

  private:
    static std::size_t SlotOf(std::uint32_t key) { return (key * 2654435761U) >> (32 - 18); }

    std::vector<std::uint32_t> keys_;
    std::vector<std::uint8_t> previousHole_;
};

constexpr std::uint8_t NoPrevious = 0xFF;

std::vector<Cell> PathTo(const VisitedBoards& visited, Board board) {
    std::vector<Cell> presses;
    for (;;) {
        const std::uint8_t previous = visited.PreviousHole(board.Packed());
        if (previous == NoPrevious) {
            break;
        }
        // The press that led here was on the cell that is the hole now.
        const Cell pressed = board.Hole();
        presses.push_back(pressed);
        ApplyPress(board, Board::CellAt(previous));
    }
    std::reverse(presses.begin(), presses.end());
    return presses;
}

}  // namespace

std::optional<std::vector<Cell>> SolveShortest(const Board& start) {
    VisitedBoards visited;
    std::vector<std::uint32_t> frontier{start.Packed()};
    visited.Insert(start.Packed(), NoPrevious);
    for (std::size_t next = 0; next < frontier.size(); ++next) {
        const Board board = Board::FromPacked(frontier[next]);
        if (IsSolved(board)) {
            return PathTo(visited, board);
        }
        const Cell hole = board.Hole();
        for (int dc = -1; dc <= 1; ++dc) {
            for (int dr = -1; dr <= 1; ++dr) {
                const Cell pressed{hole.column + dc, hole.row + dr};
                if (pressed.column < 0 || pressed.column >= BoardSize || pressed.row < 0 ||
                    pressed.row >= BoardSize || !IsLegalPress(board, pressed)) {
                    continue;
                }
                Board moved = board;
                ApplyPress(moved, pressed);
                if (visited.Insert(moved.Packed(),
                                   static_cast<std::uint8_t>(Board::IndexOf(hole)))) {
                    frontier.push_back(moved.Packed());
                }
            }
        }
    }
    return std::nullopt;
}

}  // namespace travoli
