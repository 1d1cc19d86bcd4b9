#include "ui/placement_window.h"

#include <QGuiApplication>
#include <QScreen>

namespace travoli {

WindowPlacement QtPlacementWindow::GetWindowPlacement() const {
    WindowPlacement placement;
    placement.showCmd = window_->isMinimized() ? 2 : window_->isMaximized() ? 3 : 1;
    // The normal rectangle is the outer one: the client geometry grown by the frame.
    const QRect frame = window_->frameGeometry();
    const QRect client = window_->geometry();
    const QRect normal =
        window_->isMinimized() || window_->isMaximized() ? window_->normalGeometry() : client;
    const QRect outer(normal.topLeft() - (client.topLeft() - frame.topLeft()),
                      normal.size() + (frame.size() - client.size()));
    placement.normal = {outer.left(), outer.top(), outer.left() + outer.width(),
                        outer.top() + outer.height()};
    return placement;
}

void QtPlacementWindow::SetWindowPlacement(const WindowPlacement& placement) {
    // The window keeps its size; move() places its outer frame.
    window_->move(placement.normal.left, placement.normal.top);
}

DesktopRect QtPlacementWindow::Desktop() const {
    QRect all;
    for (const QScreen* screen : QGuiApplication::screens()) {
        all = all.united(screen->geometry());
    }
    return {all.left(), all.top(), all.width(), all.height()};
}

}  // namespace travoli
