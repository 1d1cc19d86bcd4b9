#pragma once

#include "texts/texts.h"
#include "ui/dialog_form.h"

namespace travoli {

// A yes/no question over the main window: the give-up and the quit dialog.
class TQuestionDlg : public TDialogForm {
    Q_OBJECT
  public:
    QWidget* Bevel1;
    QLabel* Label1;
    QLabel* Image1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

  protected:
    struct Layout {
        const char* name;
        QRect question;  // where Label1 stands
        const char* yesPicture;
        int cancelResult;  // what No (and Escape) answer
        TextId questionText;
    };
    TQuestionDlg(DialogOwner& owner, const Layout& layout);
    void FormActivate() override;

  private:
    TextId questionText_;
};

}  // namespace travoli
