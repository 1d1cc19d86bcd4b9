#include "ui/placement_window.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace travoli {

bool WindowPositionsKnown() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

namespace {
// Takes a maximized or fullscreen state back, the window's fixed size with it.
class FixedSizeKeeper : public QObject {
  public:
    FixedSizeKeeper(QWidget* window, QSize size) : QObject(window), window_(window), size_(size) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_) {
            return false;
        }
        constexpr Qt::WindowStates Stretched = Qt::WindowMaximized | Qt::WindowFullScreen;
        const bool stretched = (window_->windowState() & Stretched) != 0;
        if (event->type() == QEvent::Resize) {
            // Back from a size it could not keep (Wayland): fixed again once it has it.
            if (!stretched && window_->size() == size_ && window_->maximumSize() != size_) {
                window_->setFixedSize(size_);
            }
            return false;
        }
        if (event->type() != QEvent::WindowStateChange) {
            return false;
        }
        if (!stretched) {
            // A Wayland compositor must have configured the normal size first, or it would
            // see the fixed size under a maximized state it still holds.
            if (WindowPositionsKnown() || window_->size() == size_) {
                window_->setFixedSize(size_);
            }
            return false;
        }
        // Once the window manager's answer has been applied, not before.
        QTimer::singleShot(50, this, [this, Stretched] {
            if (window_->windowState() & Stretched) {
                window_->setWindowState(window_->windowState() & ~Stretched);
            }
        });
        return false;
    }

  private:
    QWidget* window_;
    QSize size_;
};
}  // namespace

void FixClientSize(QWidget* window, QSize size) {
    // Minimum and maximum alike: Wayland compositors then offer no resize, and tiling ones
    // (sway, i3) float the window instead of stretching it over the output.
    window->setFixedSize(size);
    window->installEventFilter(new FixedSizeKeeper(window, size));
    if (WindowPositionsKnown()) {
        return;
    }
    // A Wayland compositor may end the connection when a maximized window keeps another size
    // than the one it configured, and Qt's own title bar asks for a maximize whatever the
    // window allows. The limit goes as the state is asked for, before the compositor's
    // answer arrives; the window takes that size until the state is taken back.
    window->winId();
    QObject::connect(window->windowHandle(), &QWindow::windowStateChanged, window,
                     [window](Qt::WindowState state) {
                         if (state == Qt::WindowMaximized || state == Qt::WindowFullScreen) {
                             window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
                         }
                     });
}

bool QtPlacementWindow::PositionKnown() const {
    return WindowPositionsKnown();
}

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
    // The window keeps its size and its frame goes to the saved corner. Once the native
    // window exists, move() would put the client area there, and the window manager the
    // frame above it: the window would climb by a title bar at every start.
    const QPoint corner(placement.normal.left, placement.normal.top);
    QWindow* window = window_->windowHandle();
    if (window != nullptr && window_->frameGeometry() == window_->geometry()) {
        window->setFramePosition(corner);
    } else {
        window_->move(corner);
    }
}

DesktopRect QtPlacementWindow::Desktop() const {
    QRect all;
    for (const QScreen* screen : QGuiApplication::screens()) {
        all = all.united(screen->geometry());
    }
    return {all.left(), all.top(), all.width(), all.height()};
}

}  // namespace travoli
