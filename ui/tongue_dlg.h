#pragma once

#include "ui/dialog_form.h"

namespace travoli {

// The choice of language; only its two buttons change it, Escape does nothing.
class TTongueDlg : public TDialogForm {
    Q_OBJECT
  public:
    TTongueDlg(QWidget* mainWindow, std::int32_t& language);

    QWidget* Bevel1;
    QLabel* Image4;
    QPushButton* EnglishBtn;
    QPushButton* GermanBtn;

    void EnglishBtnClick();
    void GermanBtnClick();

  protected:
    void FormCreate();
    void FormActivate() override;

  private:
    std::int32_t& language_;
};

}  // namespace travoli
