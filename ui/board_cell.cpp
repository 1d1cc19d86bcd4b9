#include "ui/board_cell.h"

namespace travoli {

TBoardCell::TBoardCell(QWidget* board, int column, int row)
    : QWidget(board), column_(column), row_(row) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

}  // namespace travoli
