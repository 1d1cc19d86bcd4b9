#include "game/level_table.h"

namespace travoli {

namespace {
// Starting cell of the cross that each code bit belongs to, with its two kinds.
struct StartingCross {
    Cell cell;
    PieceKind straight;
    PieceKind diagonal;
};

constexpr std::array<StartingCross, 8> StartingCrosses = {{
    {{0, 0}, BlueStraight, BlueDiagonal},
    {{1, 0}, BlueStraight, BlueDiagonal},
    {{2, 0}, BlueStraight, BlueDiagonal},
    {{0, 1}, WhiteStraight, WhiteDiagonal},
    {{2, 1}, WhiteStraight, WhiteDiagonal},
    {{0, 2}, RedStraight, RedDiagonal},
    {{1, 2}, RedStraight, RedDiagonal},
    {{2, 2}, RedStraight, RedDiagonal},
}};
}  // namespace

Board MakeStartingBoard(LevelCode code) {
    Board board;  // every cell empty; the centre stays the hole
    for (int bit = 0; bit < 8; ++bit) {
        const StartingCross& cross = StartingCrosses[bit];
        board.set(cross.cell, (code >> bit) & 1U ? cross.diagonal : cross.straight);
    }
    return board;
}

}  // namespace travoli
