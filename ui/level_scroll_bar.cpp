#include "ui/level_scroll_bar.h"

#include <QKeyEvent>

namespace travoli {

void TLevelScrollBar::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up:
                triggerAction(SliderSingleStepSub);
                return;
            case Qt::Key_Right:
            case Qt::Key_Down:
                triggerAction(SliderSingleStepAdd);
                return;
            default:
                break;
        }
    }
    QScrollBar::keyPressEvent(event);
}

}  // namespace travoli
