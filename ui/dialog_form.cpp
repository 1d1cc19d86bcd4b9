#include "ui/dialog_form.h"

#include <QFrame>
#include <QKeyEvent>
#include <QShowEvent>

#include "ui/fonts.h"
#include "ui/main_form.h"

namespace travoli {

TDialogForm::TDialogForm(TMainForm* mainWindow, int clientWidth, int clientHeight, bool bold)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      mainWindow_(mainWindow) {
    setModal(true);
    setFixedSize(clientWidth, clientHeight);
    setFont(DialogFont(bold));
    if (mainWindow != nullptr) {
        setWindowIcon(mainWindow->windowIcon());
    }
}

Language TDialogForm::Language() const {
    return mainWindow_ != nullptr ? mainWindow_->Language() : NoLanguageChosen;
}

QPoint TDialogForm::PlaceOver(const QRect& mainOuter, int mainClientHeight, QSize dialogOuter) {
    // Integer division truncates toward zero, as the placement was designed.
    const int left = mainOuter.left() + (mainOuter.width() - dialogOuter.width()) / 2;
    const int top =
        mainOuter.top() + mainOuter.height() - (mainClientHeight + dialogOuter.height()) / 2;
    return {left, top};
}

void TDialogForm::PlaceOverMainWindow() {
    if (mainWindow_ == nullptr) {
        return;
    }
    const QRect mainOuter = mainWindow_->frameGeometry();
    // Before its first showing the dialog's frame is unknown; it matches the main window's.
    QSize outer = frameGeometry().size();
    if (!isVisible()) {
        outer = size() + (mainOuter.size() - mainWindow_->size());
    }
    move(PlaceOver(mainOuter, mainWindow_->height(), outer));
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
    const QIcon icon = mainWindow_ != nullptr ? mainWindow_->windowIcon() : QIcon();
    image->setPixmap(icon.pixmap(QSize(32, 32)));
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
