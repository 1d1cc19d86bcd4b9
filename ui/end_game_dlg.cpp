#include "ui/end_game_dlg.h"

#include "ui/pictures.h"
#include "ui/texts.h"

namespace travoli {

TEndGameDlg::TEndGameDlg(QWidget* mainWindow, const std::int32_t& language)
    : TDialogForm(mainWindow, language, 261, 103, false) {
    setObjectName(QStringLiteral("EndGameDlg"));
    Bevel1 = AddBevel("Bevel1", {8, 8, 245, 49});
    Label1 = AddLabel("Label1", {72, 20, 153, 29}, Qt::AlignHCenter | Qt::AlignTop, true, true);
    Image1 = AddIcon("Image1", {16, 16, 32, 32});
    OKBtn = AddButton("OKBtn", {40, 68, 77, 27}, Picture("exit"), mrYes);
    OKBtn->setDefault(true);
    // The standard cancel button: its own caption is never seen, activation sets "No".
    CancelBtn = AddButton("CancelBtn", {136, 68, 77, 27}, Picture("cross"), mrCancel);
    SetCancelButton(CancelBtn);
    setWindowTitle(TextFor(TextId::ProgramName, language));
}

void TEndGameDlg::FormActivate() {
    PlaceOverMainWindow();
    Label1->setText(TextFor(TextId::QuitQuestion, Language()));
    OKBtn->setText(TextFor(TextId::ButtonYes, Language()));
    CancelBtn->setText(TextFor(TextId::ButtonNo, Language()));
    OKBtn->setFocus();
}

}  // namespace travoli
