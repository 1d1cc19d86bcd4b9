#pragma once

#include "ui/dialog_form.h"

namespace travoli {

// Shows the message that the move handling put into `lab`.
class TSolvedDlg : public TDialogForm {
    Q_OBJECT
  public:
    explicit TSolvedDlg(TMainForm* mainWindow);

    QWidget* Bevel1;
    QLabel* lab;
    QLabel* Image1;
    QPushButton* OKBtn;

  protected:
    void FormActivate() override;
};

}  // namespace travoli
