#pragma once

#include <QWidget>
#include <functional>

namespace travoli {

// One cell of the board for assistive technology: it paints nothing and lets every pointer
// press through to the board beneath. Its accessible name says what stands on it; its press
// action, and its digit key, press the cell as a click would.
class TBoardCell : public QWidget {
    Q_OBJECT
  public:
    TBoardCell(QWidget* board, int column, int row);

    int Column() const { return column_; }
    int Row() const { return row_; }
    // The digit that presses the cell: the cells lie as the numeric keypad's keys.
    int Digit() const { return (2 - row_) * 3 + column_ + 1; }
    static void CellOfDigit(int digit, int& column, int& row) {
        column = (digit - 1) % 3;
        row = 2 - (digit - 1) / 3;
    }

    std::function<void(int column, int row)> OnPress;

  private:
    int column_;
    int row_;
};

}  // namespace travoli
