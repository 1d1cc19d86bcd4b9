#pragma once

#include <QWidget>
#include <functional>

namespace travoli {

// A plain paint surface: it forwards its paint and pointer-press events to its owner.
class TPaintBox : public QWidget {
    Q_OBJECT
  public:
    using PaintHandler = std::function<void(QPainter&, const QRect& dirty)>;
    using MouseDownHandler = std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int, int)>;

    explicit TPaintBox(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is ours: no background fill
    }

    PaintHandler OnPaint;
    MouseDownHandler OnMouseDown;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace travoli
