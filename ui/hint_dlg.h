#pragma once

#include "ui/dialog_form.h"
#include "ui/memo.h"

namespace travoli {

// The rules of the game, in a text box the player may scribble in.
class THintDlg : public TDialogForm {
    Q_OBJECT
  public:
    explicit THintDlg(DialogOwner& owner);

    QWidget* Bevel1;
    QLabel* Image1;
    QPushButton* OKBtn;
    TMemo* tipD;
    TMemo* TipE;

  protected:
    void FormActivate() override;

  private:
    void CentreOnScreen();
};

}  // namespace travoli
