#include "game/solver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "game/moves.h"

namespace travoli {

namespace {

// A search from both ends steps backwards over presses, which needs every press to be undone by
// a press: the cross that moved is a neighbour of the new hole in the same way.
constexpr bool PressesCanBeUndone() {
    for (int hole = 0; hole < CellCount; ++hole) {
        for (int from = 0; from < CellCount; ++from) {
            for (int kind = 0; kind < 8; ++kind) {
                const auto k = static_cast<PieceKind>(kind);
                if (((CellsThatMayMoveInto(hole, k) >> from) & 1U) !=
                    ((CellsThatMayMoveInto(from, k) >> hole) & 1U)) {
                    return false;
                }
            }
        }
    }
    return true;
}
static_assert(PressesCanBeUndone());

// Open-addressing set of boards, each with a five-bit value, in one word: the 27 bits of the
// board and the value. Kept at most half full; the starting size holds every board of a level
// (at most 14,400) without growing.
class BoardTable {
  public:
    static constexpr std::uint32_t NotFound = 0xFFFFFFFFU;

    void Reset() {
        slots_.assign(StartingSlots, Empty);
        shift_ = 32 - std::countr_zero(StartingSlots);
        mask_ = StartingSlots - 1;
        growAt_ = StartingSlots / 2;
        count_ = 0;
    }

    // Inserts the board with its value; false when it was there already.
    bool Insert(Board board, std::uint32_t value) {
        if (count_ == growAt_) {
            Grow();
        }
        const std::uint32_t key = board.Packed();
        std::size_t slot = SlotOf(key);
        while (slots_[slot] != Empty) {
            if ((slots_[slot] & KeyMask) == key) {
                return false;
            }
            slot = (slot + 1) & mask_;
        }
        slots_[slot] = key | value << KeyBits;
        ++count_;
        return true;
    }

    std::uint32_t Find(Board board) const {
        const std::uint32_t key = board.Packed();
        for (std::size_t slot = SlotOf(key); slots_[slot] != Empty; slot = (slot + 1) & mask_) {
            if ((slots_[slot] & KeyMask) == key) {
                return slots_[slot] >> KeyBits;
            }
        }
        return NotFound;
    }

  private:
    static constexpr std::size_t StartingSlots = std::size_t{1} << 15;
    static constexpr int KeyBits = 27;
    static constexpr std::uint32_t KeyMask = (std::uint32_t{1} << KeyBits) - 1;
    // No board has all bits set: it would have no hole.
    static constexpr std::uint32_t Empty = 0xFFFFFFFFU;

    std::size_t SlotOf(std::uint32_t key) const { return (key * 2654435761U) >> shift_; }

    // Doubles the slots when half full: only boards that are no level's need that many.
    void Grow();

    std::vector<std::uint32_t> slots_;
    int shift_ = 0;  // 32 less the bits of a slot number
    std::size_t mask_ = 0;
    std::size_t growAt_ = 0;
    std::size_t count_ = 0;
};

void BoardTable::Grow() {
    std::vector<std::uint32_t> old(2 * slots_.size(), Empty);
    old.swap(slots_);
    --shift_;
    mask_ = slots_.size() - 1;
    growAt_ = slots_.size() / 2;
    for (const std::uint32_t entry : old) {
        if (entry != Empty) {
            std::size_t slot = SlotOf(entry & KeyMask);
            while (slots_[slot] != Empty) {
                slot = (slot + 1) & mask_;
            }
            slots_[slot] = entry;
        }
    }
}

// A board reached, with the cell its hole came from.
struct Reached {
    Board board;
    std::uint8_t previousHole;
};

constexpr std::uint8_t NoPrevious = 0xF;

// Calls visit(moved, hole) for each board one press away from `from`, but the one its last
// press came from: pressing where the hole came from leads back to a known board. Stops, and
// answers true, at the first visit that answers true.
template <class Visit>
bool VisitNextBoards(const Reached from, Visit visit) {
    const int hole = from.board.HoleIndex();
    for (unsigned presses = LegalPresses(from.board) & ~(1U << from.previousHole); presses != 0;
         presses &= presses - 1) {
        Board moved = from.board;
        ApplyPress(moved, std::countr_zero(presses), hole);
        if (visit(moved, hole)) {
            return true;
        }
    }
    return false;
}
// The largest distance from a solved board that the backward table can hold.
constexpr int LongestBackwardReach = 31;

constexpr bool OnEvenCell(int index) {
    const Cell cell = Board::CellAt(index);
    return (cell.column + cell.row) % 2 == 0;
}

// The kinds of cross whose every press keeps them on cells of one colour of a chessboard. How
// many crosses of such a kind stand on the even cells (column + row even) never changes, so a
// solved board that differs in it lies out of reach.
constexpr unsigned KindsKeepingTheirCellColour() {
    unsigned kinds = 0;
    for (int kind = 0; kind < 8; ++kind) {
        bool keeps = kind != EmptyCell;
        for (int hole = 0; hole < CellCount; ++hole) {
            for (int from = 0; from < CellCount; ++from) {
                if ((CellsThatMayMoveInto(hole, static_cast<PieceKind>(kind)) >> from) & 1U) {
                    keeps = keeps && OnEvenCell(hole) == OnEvenCell(from);
                }
            }
        }
        kinds |= keeps ? 1U << kind : 0U;
    }
    return kinds;
}

// For each of those kinds, the number of its crosses on even cells, four bits each.
std::uint32_t CrossesOnEvenCells(const Board& board) {
    constexpr unsigned Kinds = KindsKeepingTheirCellColour();
    std::uint32_t counts = 0;
    for (int index = 0; index < CellCount; ++index) {
        const int kind = board.at(index);
        if (OnEvenCell(index) && ((Kinds >> kind) & 1U)) {
            counts += std::uint32_t{1} << (4 * kind);
        }
    }
    return counts;
}

bool HasOneHole(const Board& board) {
    int holes = 0;
    for (int index = 0; index < CellCount; ++index) {
        holes += board.at(index) == EmptyCell;
    }
    return holes == 1;
}

// Fills the cells from the `filled`-th on with the kinds `left`, in every order that IsSolved
// accepts: the rows it judges first, so that the middle row takes what is left.
void ArrangeSolved(Board& board, int filled, std::array<int, 8>& left, std::vector<Board>& out) {
    constexpr std::array<int, CellCount> RowsJudgedFirst = {0, 3, 6, 2, 5, 8, 1, 4, 7};
    if (filled == CellCount) {
        if (IsSolved(board)) {
            out.push_back(board);
        }
        return;
    }
    const int index = RowsJudgedFirst[filled];
    const int row = Board::CellAt(index).row;
    const unsigned wanted = row == 0 ? TopRowKinds : row == BoardSize - 1 ? BottomRowKinds : 0xFFU;
    for (int kind = 0; kind < 8; ++kind) {
        if (left[kind] > 0 && ((wanted >> kind) & 1U)) {
            --left[kind];
            board.set(index, static_cast<PieceKind>(kind));
            ArrangeSolved(board, filled + 1, left, out);
            ++left[kind];
        }
    }
}

// Every solved board made of the same pieces as `board`.
std::vector<Board> SolvedArrangements(const Board& board) {
    std::array<int, 8> left{};
    for (int index = 0; index < CellCount; ++index) {
        ++left[board.at(index)];
    }
    std::vector<Board> solved;
    Board arranged;
    ArrangeSolved(arranged, 0, left, solved);
    return solved;
}

// Breadth-first search with its tables, kept from one search to the next so that solving the
// levels one after another reuses the same memory instead of fresh pages each time.
//
// The answer is the one of a plain breadth-first search from the start that tries the presses
// of each board in the order of their cells: the first solved board that it reaches, through
// the boards that first reached each one. Searching from the solved boards at the same time
// tells the shortest length sooner; after that the search from the start goes on only through
// boards that lie on a shortest solution. Those are reached in the same order and from the same
// boards as in the plain search, since whatever first reaches a board on a shortest solution
// lies on one itself.
class BoardSearch {
  public:
    std::optional<std::vector<Cell>> Solve(const Board& start);

  private:
    // Expands the boards of `queue` from `begin` on, adding the new ones to `queue` and `table`
    // with `value(hole)`; true when one of them is in `other`.
    template <class Value>
    static bool ExpandLayer(std::vector<Reached>& queue, std::size_t begin, BoardTable& table,
                            const BoardTable& other, Value value);
    std::optional<std::vector<Cell>> PlainSearch(const Board& start);
    std::vector<Cell> PathTo(Board board) const;

    BoardTable forward_;   // from the start: where each board's hole came from
    BoardTable backward_;  // from the solved boards: the distance to the nearest
    std::vector<Reached> forwardQueue_;
    std::vector<Reached> backwardQueue_;
    std::vector<Reached> layer_;
};

template <class Value>
bool BoardSearch::ExpandLayer(std::vector<Reached>& queue, std::size_t begin, BoardTable& table,
                              const BoardTable& other, Value value) {
    bool met = false;
    const std::size_t end = queue.size();
    for (std::size_t next = begin; next < end; ++next) {
        // A copy: the queue grows while its boards are visited.
        VisitNextBoards(queue[next], [&](const Board& moved, int hole) {
            if (table.Insert(moved, value(hole))) {
                queue.push_back({moved, static_cast<std::uint8_t>(hole)});
                met = met || other.Find(moved) != BoardTable::NotFound;
            }
            return false;
        });
    }
    return met;
}

std::vector<Cell> BoardSearch::PathTo(Board board) const {
    std::vector<Cell> presses;
    for (;;) {
        const std::uint32_t previous = forward_.Find(board);
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
    if (!HasOneHole(start)) {
        return PlainSearch(start);
    }
    forward_.Reset();
    backward_.Reset();
    forwardQueue_.assign(1, {start, NoPrevious});
    forward_.Insert(start, NoPrevious);
    backwardQueue_.clear();
    const std::uint32_t keptCounts = CrossesOnEvenCells(start);
    for (const Board& solved : SolvedArrangements(start)) {
        if (CrossesOnEvenCells(solved) != keptCounts) {
            continue;
        }
        backward_.Insert(solved, 0);
        backwardQueue_.push_back({solved, NoPrevious});
    }
    // Whole layers, each time on the side whose last layer is smaller. When a new layer meets
    // the other side, the shortest length is the sum of both depths.
    std::size_t forwardLayer = 0;
    std::size_t backwardLayer = 0;
    int forwardDepth = 0;
    int backwardDepth = 0;
    for (bool met = false; !met;) {
        const std::size_t forwardCount = forwardQueue_.size() - forwardLayer;
        const std::size_t backwardCount = backwardQueue_.size() - backwardLayer;
        if (forwardCount == 0 || backwardCount == 0) {
            return std::nullopt;  // one side has reached all it can without meeting the other
        }
        if (forwardCount <= backwardCount || backwardDepth == LongestBackwardReach) {
            const std::size_t begin = forwardLayer;
            forwardLayer = forwardQueue_.size();
            met = ExpandLayer(forwardQueue_, begin, forward_, backward_,
                              [](int hole) { return static_cast<std::uint32_t>(hole); });
            ++forwardDepth;
        } else {
            const std::size_t begin = backwardLayer;
            backwardLayer = backwardQueue_.size();
            const auto depth = static_cast<std::uint32_t>(backwardDepth + 1);
            met = ExpandLayer(backwardQueue_, begin, backward_, forward_,
                              [depth](int) { return depth; });
            ++backwardDepth;
        }
    }
    // On from the last forward layer, through the boards on a shortest solution only: those
    // whose distance to a solved board is what remains of the shortest length.
    const int shortest = forwardDepth + backwardDepth;
    layer_.clear();
    for (std::size_t i = forwardLayer; i < forwardQueue_.size(); ++i) {
        if (backward_.Find(forwardQueue_[i].board) ==
            static_cast<std::uint32_t>(shortest - forwardDepth)) {
            layer_.push_back(forwardQueue_[i]);
        }
    }
    for (int depth = forwardDepth; depth < shortest; ++depth) {
        const auto remaining = static_cast<std::uint32_t>(shortest - depth - 1);
        std::vector<Reached> next;
        Board solved;
        for (const Reached& reached : layer_) {
            const bool found = VisitNextBoards(reached, [&](const Board& moved, int hole) {
                if (backward_.Find(moved) != remaining ||
                    !forward_.Insert(moved, static_cast<std::uint32_t>(hole))) {
                    return false;
                }
                if (remaining == 0) {
                    solved = moved;
                    return true;
                }
                next.push_back({moved, static_cast<std::uint8_t>(hole)});
                return false;
            });
            if (found) {
                return PathTo(solved);
            }
        }
        layer_.swap(next);
    }
    return PathTo(layer_.front().board);  // the start layer itself held a solved board
}

// For boards that are not a level's (no hole or several), where presses need not be undone.
std::optional<std::vector<Cell>> BoardSearch::PlainSearch(const Board& start) {
    forward_.Reset();
    forward_.Insert(start, NoPrevious);
    forwardQueue_.assign(1, {start, NoPrevious});
    for (std::size_t next = 0; next < forwardQueue_.size(); ++next) {
        const Board board = forwardQueue_[next].board;
        const int hole = board.HoleIndex();
        for (unsigned presses = LegalPresses(board); presses != 0; presses &= presses - 1) {
            const int pressed = std::countr_zero(presses);
            Board moved = board;
            ApplyPress(moved, pressed, hole);
            if (forward_.Insert(moved, static_cast<std::uint32_t>(hole))) {
                if (IsSolved(moved)) {
                    return PathTo(moved);
                }
                forwardQueue_.push_back({moved, static_cast<std::uint8_t>(hole)});
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
