#include "ui/paint_box.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace travoli {

void TPaintBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (OnPaint) {
        OnPaint(painter, event->rect());
    }
}

void TPaintBox::mousePressEvent(QMouseEvent* event) {
    if (OnMouseDown) {
        const QPoint at = event->position().toPoint();
        OnMouseDown(event->button(), event->modifiers(), at.x(), at.y());
    }
}

// The second press of a double click is a press like any other.
void TPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

}  // namespace travoli
