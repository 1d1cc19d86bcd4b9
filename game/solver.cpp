#include "game/solver.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "game/moves.h"

namespace travoli {

namespace {

constexpr std::uint8_t NoPrevious = 0xF;

// Breadth-first search with its tables. They are kept from one search to the next, so that
// solving the levels one after another reuses the same memory instead of fresh pages each time.
class BoardSearch {
  public:
    std::optional<std::vector<Cell>> Solve(const Board& start);

  private:
    // A board waiting to be expanded, with the cell its hole came from.
    struct Reached {
        Board board;
        std::uint8_t previousHole;
    };

    // The visited boards: an open-addressing set of words holding the 27 bits of a board and
    // four bits of where its hole came from. Kept at most half full; the starting size holds
    // every board that a level reaches (at most 14,400) without growing.
    static constexpr std::size_t StartingSlots = std::size_t{1} << 15;
    static constexpr int KeyBits = 27;
    static constexpr std::uint32_t KeyMask = (std::uint32_t{1} << KeyBits) - 1;
    static constexpr std::uint32_t Empty = 0xFFFFFFFFU;

    void Reset();
    // Inserts the board; false when it was there already.
    bool Insert(Board board, std::uint32_t previousHole);
    std::uint32_t PreviousHole(Board board) const;
    std::size_t SlotOf(std::uint32_t key) const { return (key * 2654435761U) >> shift_; }
    void Grow();
    std::vector<Cell> PathTo(Board board) const;

    std::vector<std::uint32_t> slots_;
    int shift_ = 0;  // 32 less the bits of a slot number
    std::size_t count_ = 0;
    std::vector<Reached> frontier_;
};

void BoardSearch::Reset() {
    slots_.assign(StartingSlots, Empty);
    shift_ = 32 - std::countr_zero(StartingSlots);
    count_ = 0;
    frontier_.clear();
}

inline bool BoardSearch::Insert(Board board, std::uint32_t previousHole) {
    if (2 * (count_ + 1) > slots_.size()) {
        Grow();
    }
    const std::uint32_t key = board.Packed();
    std::size_t slot = SlotOf(key);
    while (slots_[slot] != Empty) {
        if ((slots_[slot] & KeyMask) == key) {
            return false;
        }
        slot = (slot + 1) & (slots_.size() - 1);
    }
    slots_[slot] = key | previousHole << KeyBits;
    ++count_;
    return true;
}

std::uint32_t BoardSearch::PreviousHole(Board board) const {
    const std::uint32_t key = board.Packed();
    std::size_t slot = SlotOf(key);
    while ((slots_[slot] & KeyMask) != key) {
        slot = (slot + 1) & (slots_.size() - 1);
    }
    return slots_[slot] >> KeyBits;
}

void BoardSearch::Grow() {
    std::vector<std::uint32_t> old(2 * slots_.size(), Empty);
    old.swap(slots_);
    --shift_;
    for (const std::uint32_t entry : old) {
        if (entry != Empty) {
            std::size_t slot = SlotOf(entry & KeyMask);
            while (slots_[slot] != Empty) {
                slot = (slot + 1) & (slots_.size() - 1);
            }
            slots_[slot] = entry;
        }
    }
}

std::vector<Cell> BoardSearch::PathTo(Board board) const {
    std::vector<Cell> presses;
    for (;;) {
        const std::uint32_t previous = PreviousHole(board);
        if (previous == NoPrevious) {
            break;
        }
        // The press that led here was on the cell that is the hole now.
        presses.push_back(board.Hole());
        ApplyPress(board, Board::CellAt(static_cast<int>(previous)));
    }
    std::reverse(presses.begin(), presses.end());
    return presses;
}

std::optional<std::vector<Cell>> BoardSearch::Solve(const Board& start) {
    if (IsSolved(start)) {
        return std::vector<Cell>{};
    }
    Reset();
    Insert(start, NoPrevious);
    frontier_.push_back({start, NoPrevious});
    // The presses of each board in the order of their cells. A board is judged when it is first
    // reached: the same board as judging it when taken from the frontier, found sooner.
    for (std::size_t next = 0; next < frontier_.size(); ++next) {
        const auto [board, previousHole] = frontier_[next];
        const int hole = board.HoleIndex();
        // Pressing where the hole came from leads back to a board that is known already.
        for (unsigned presses = LegalPresses(board) & ~(1U << previousHole); presses != 0;
             presses &= presses - 1) {
            const int pressed = std::countr_zero(presses);
            Board moved = board;
            ApplyPress(moved, pressed, hole);
            if (Insert(moved, static_cast<std::uint32_t>(hole))) {
                if (IsSolved(moved)) {
                    return PathTo(moved);
                }
                frontier_.push_back({moved, static_cast<std::uint8_t>(hole)});
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<Cell>> SolveShortest(const Board& start) {
    thread_local BoardSearch search;
    return search.Solve(start);
}

}  // namespace travoli
