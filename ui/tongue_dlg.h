#pragma once

#include "ui/dialog_form.h"

namespace travoli {

// The choice of language; only its two buttons change it (through the owner's SetLanguage),
// Escape does nothing.
class TTongueDlg : public TDialogForm {
    Q_OBJECT
  public:
    explicit TTongueDlg(DialogOwner& owner);

    QWidget* Bevel1;
    QLabel* Image4;
    QPushButton* EnglishBtn;
    QPushButton* GermanBtn;

    void EnglishBtnClick();
    void GermanBtnClick();

  protected:
    void FormCreate();
    void FormActivate() override;
};

}  // namespace travoli
