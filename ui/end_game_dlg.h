#pragma once

#include "ui/dialog_form.h"

namespace travoli {

// Asks before the program ends: only yes (6) lets it end.
class TEndGameDlg : public TDialogForm {
    Q_OBJECT
public:
    TEndGameDlg(QWidget* mainWindow, const std::int32_t& language);

    QWidget* Bevel1;
    QLabel* Label1;
    QLabel* Image1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

protected:
    void FormActivate() override;
};

}  // namespace travoli
