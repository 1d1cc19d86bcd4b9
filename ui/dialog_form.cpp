#include "ui/dialog_form.h"

#include <QFrame>
#include <QKeyEvent>
#include <QShowEvent>
#include <QWindow>

#include "texts/texts.h"
#include "ui/fonts.h"
#include "ui/placement_window.h"

namespace travoli {

TDialogForm::TDialogForm(DialogOwner& owner, int clientWidth, int clientHeight, bool bold)
    : QDialog(owner.OwnerWindow(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowCloseButtonHint |
                                       Qt::MSWindowsFixedSizeDialogHint),
      owner_(owner),
      mainWindow_(owner.OwnerWindow()) {
    // Not every window manager moves a window it frames, so the frame is looked at a few
    // times while it settles.
    settle_.setInterval(50);
    connect(&settle_, &QTimer::timeout, this, &TDialogForm::PlaceAgain);
    setModal(true);
    FixClientSize(this, QSize(clientWidth, clientHeight));
    setFont(DialogFont(bold));
    setWindowIcon(mainWindow_->windowIcon());
    // The main window may get its frame only after a dialog has been placed over it.
    mainWindow_->installEventFilter(this);
}

QPoint TDialogForm::PlaceOver(const QRect& mainOuter, int mainClientHeight, QSize dialogOuter) {
    // Integer division truncates toward zero, as the placement was designed.
    const int left = mainOuter.left() + (mainOuter.width() - dialogOuter.width()) / 2;
    const int top =
        mainOuter.top() + mainOuter.height() - (mainClientHeight + dialogOuter.height()) / 2;
    return {left, top};
}

void TDialogForm::PlaceOverMainWindow() {
    PlaceFrame([this](QSize outer) {
        return PlaceOver(OuterRect(mainWindow_), mainWindow_->height(), outer);
    });
}

QRect TDialogForm::OuterRect(const QWidget* window) {
    // The native window learns its frame first; the widget only at its next move.
    const QWindow* handle = window->windowHandle();
    return handle != nullptr ? handle->frameGeometry() : window->frameGeometry();
}

QSize TDialogForm::OuterSize() const {
    const QSize framed = OuterRect(this).size();
    if (framed != size()) {
        return framed;
    }
    return size() + (OuterRect(mainWindow_).size() - mainWindow_->size());
}

void TDialogForm::PlaceFrame(std::function<QPoint(QSize)> place) {
    place_ = std::move(place);
    placedAt_.start();
    MoveFrame(place_(OuterSize()));
    settle_.start();
}

void TDialogForm::MoveFrame(QPoint topLeft) {
    QWindow* window = windowHandle();
    if (window == nullptr) {
        move(topLeft);  // before the native window exists this places the frame
        return;
    }
    // The client area goes inside the frame: by the dialog's own frame once it is known,
    // else by the main window's. Asking the window manager to place the frame itself is
    // not honoured by all of them once the window is mapped.
    QMargins frame = window->frameMargins();
    if (frame.isNull() && mainWindow_->windowHandle() != nullptr) {
        frame = mainWindow_->windowHandle()->frameMargins();
    }
    window->setPosition(topLeft + QPoint(frame.left(), frame.top()));
}

// The window manager frames the dialog only after it is mapped (and the main window,
// at the start, perhaps only after the first dialog); either then moves or grows by its
// frame, and the dialog is placed again by the real outer sizes. Later moves are the
// player's.
void TDialogForm::PlaceAgain() {
    constexpr qint64 Settling = 1000;  // ms
    if (!place_ || !isVisible() || !placedAt_.isValid() || placedAt_.elapsed() > Settling) {
        settle_.stop();
        return;
    }
    const QPoint target = place_(OuterSize());
    if (OuterRect(this).topLeft() != target) {
        MoveFrame(target);
    }
}

void TDialogForm::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    PlaceAgain();
}

bool TDialogForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mainWindow_ &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        PlaceAgain();
    }
    return QDialog::eventFilter(watched, event);
}

void TDialogForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceAgain();
}

void TDialogForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FormActivate();
    }
    QDialog::showEvent(event);
}

void TDialogForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton_ != nullptr) {
            cancelButton_->click();
        }
        event->accept();  // without a cancel button Escape does nothing
        return;
    }
    QDialog::keyPressEvent(event);
}

QPushButton* TDialogForm::AddButton(const char* name, const QRect& place, const QPixmap& picture,
                                    int modalResult) {
    auto* button = new QPushButton(this);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setIcon(QIcon(picture));
    button->setIconSize(picture.deviceIndependentSize().toSize());
    button->setAutoDefault(true);  // Enter presses the focused button
    if (modalResult != mrNone) {
        connect(button, &QPushButton::clicked, this, [this, modalResult] { done(modalResult); });
    }
    return button;
}

QLabel* TDialogForm::AddIcon(const char* name, const QRect& place) {
    auto* image = new QLabel(this);
    image->setObjectName(QLatin1String(name));
    image->setGeometry(place);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A copy of the main window's icon, taken now.
    image->setPixmap(mainWindow_->windowIcon().pixmap(QSize(32, 32)));
    image->setAccessibleName(TextFor(TextId::ProgramName, Language()));  // the icon says it
    return image;
}

QWidget* TDialogForm::AddBevel(const char* name, const QRect& place, bool lineOnly) {
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QLatin1String(name));
    if (lineOnly) {
        // A sunken line along the bottom edge of the rectangle.
        bevel->setGeometry(place.left(), place.bottom() - 1, place.width(), 2);
        bevel->setFrameShape(QFrame::HLine);
    } else {
        bevel->setGeometry(place);
        bevel->setFrameShape(QFrame::Panel);
    }
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->lower();
    return bevel;
}

QLabel* TDialogForm::AddLabel(const char* name, const QRect& place, Qt::Alignment alignment,
                              bool wordWrap, bool bold) {
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setAlignment(alignment);
    label->setWordWrap(wordWrap);
    label->setFont(DialogFont(bold));
    return label;
}

}  // namespace travoli
