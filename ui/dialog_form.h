#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "game/language.h"
#include "ui/dialog_owner.h"

namespace travoli {

// Modal results as the callers read them.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// A dialog of the game: fixed size, shown modally with an integer result, hidden between
// showings. The close box gives mrCancel; Escape presses the cancel button if there is one.
// Its texts are set in FormActivate each time it is shown, in its owner's language of that
// moment.
class TDialogForm : public QDialog {
    Q_OBJECT
  public:
    // `owner` is the game's main window, which owns the dialog and outlives it.
    TDialogForm(DialogOwner& owner, int clientWidth, int clientHeight, bool bold);

    int ShowModal() { return exec(); }
    void reject() override { done(mrCancel); }

    // Places the dialog over the main window: centred horizontally, and vertically on a band
    // as high as the main window's client area that ends at its lower outer edge.
    void PlaceOverMainWindow();
    static QPoint PlaceOver(const QRect& mainOuter, int mainClientHeight, QSize dialogOuter);

  protected:
    virtual void FormActivate() {}

    // Puts the dialog's outer top-left corner at place(outer size). Before the window manager
    // has framed the dialog its frame is taken to be the main window's; once the real frame
    // is known the dialog is placed again by it.
    void PlaceFrame(std::function<QPoint(QSize)> place);
    // The outer size: the real one once framed, else the client size with the main window's
    // frame.
    QSize OuterSize() const;

    travoli::Language Language() const { return owner_.Language(); }
    DialogOwner& Owner() const { return owner_; }

    QPushButton* AddButton(const char* name, const QRect& place, const QPixmap& picture,
                           int modalResult);
    QLabel* AddIcon(const char* name, const QRect& place);
    QWidget* AddBevel(const char* name, const QRect& place, bool lineOnly = false);
    QLabel* AddLabel(const char* name, const QRect& place, Qt::Alignment alignment, bool wordWrap,
                     bool bold);
    void SetCancelButton(QPushButton* button) { cancelButton_ = button; }

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    static QRect OuterRect(const QWidget* window);
    void MoveFrame(QPoint topLeft);
    void PlaceAgain();

    std::function<QPoint(QSize)> place_;
    QElapsedTimer placedAt_;
    QTimer settle_;
    DialogOwner& owner_;
    QWidget* mainWindow_;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace travoli
