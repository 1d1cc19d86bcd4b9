#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "game/language.h"

namespace travoli {

class TMainForm;

// Modal results as the callers read them.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// A dialog of the game: fixed size, shown modally with an integer result, hidden between
// showings. The close box gives mrCancel; Escape presses the cancel button if there is one.
// Its texts are set in FormActivate each time it is shown, in the main window's language of
// that moment.
class TDialogForm : public QDialog {
    Q_OBJECT
  public:
    TDialogForm(TMainForm* mainWindow, int clientWidth, int clientHeight, bool bold);

    int ShowModal() { return exec(); }
    void reject() override { done(mrCancel); }

    // Places the dialog over the main window: centred horizontally, and vertically on a band
    // as high as the main window's client area that ends at its lower outer edge.
    void PlaceOverMainWindow();
    static QPoint PlaceOver(const QRect& mainOuter, int mainClientHeight, QSize dialogOuter);

  protected:
    virtual void FormActivate() {}

    travoli::Language Language() const;
    TMainForm* MainWindow() const { return mainWindow_; }

    QPushButton* AddButton(const char* name, const QRect& place, const QPixmap& picture,
                           int modalResult);
    QLabel* AddIcon(const char* name, const QRect& place);
    QWidget* AddBevel(const char* name, const QRect& place, bool lineOnly = false);
    QLabel* AddLabel(const char* name, const QRect& place, Qt::Alignment alignment, bool wordWrap,
                     bool bold);
    void SetCancelButton(QPushButton* button) { cancelButton_ = button; }

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    TMainForm* mainWindow_;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace travoli
