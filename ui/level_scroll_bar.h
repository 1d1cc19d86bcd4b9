#pragma once

#include <QScrollBar>

namespace travoli {

// The level selector: a horizontal scroll bar whose held arrow can be stopped.
class TLevelScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    explicit TLevelScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}
    void StopRepeating() { setRepeatAction(SliderNoAction); }

  protected:
    // The arrow keys step by one, like the arrow buttons (the page keys, Home and End
    // keep the scroll bar's own handling).
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace travoli
