#pragma once

#include "ui/dialog_form.h"

namespace travoli {

// Shows the result message that the move handling chose.
class TSolvedDlg : public TDialogForm {
    Q_OBJECT
  public:
    explicit TSolvedDlg(DialogOwner& owner);

    QWidget* Bevel1;
    QLabel* lab;
    QLabel* Image1;
    QPushButton* OKBtn;

    // The message in `lab`; it stays until the next one is set.
    void SetMessage(const QString& text) { lab->setText(text); }
    QString Message() const { return lab->text(); }

  protected:
    void FormActivate() override;
};

}  // namespace travoli
