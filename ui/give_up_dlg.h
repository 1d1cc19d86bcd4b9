#pragma once

#include "ui/dialog_form.h"

namespace travoli {

// Asks before an unfinished level is left: yes 6, no (and Escape) 7, close box 2.
class TGiveUpDlg : public TDialogForm {
    Q_OBJECT
public:
    TGiveUpDlg(QWidget* mainWindow, const std::int32_t& language);

    QWidget* Bevel1;
    QLabel* Label1;
    QLabel* Image1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

protected:
    void FormActivate() override;
};

}  // namespace travoli
