#pragma once

#include <QWidget>

namespace travoli {

// One cell of the board for assistive technology: it paints nothing and lets every press
// through to the board beneath; its accessible name says what stands on it.
class TBoardCell : public QWidget {
    Q_OBJECT
  public:
    explicit TBoardCell(QWidget* board);

    // Makes the cells known to assistive technology as table cells; once per program.
    static void RegisterAccessibility();
};

}  // namespace travoli
