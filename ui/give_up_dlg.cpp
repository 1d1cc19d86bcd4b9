#include "ui/give_up_dlg.h"

#include "ui/pictures.h"
#include "ui/texts.h"

namespace travoli {

TGiveUpDlg::TGiveUpDlg(QWidget* mainWindow, const std::int32_t& language)
    : TDialogForm(mainWindow, language, 261, 103, false) {
    setObjectName(QStringLiteral("GiveUpDlg"));
    Bevel1 = AddBevel("Bevel1", {8, 8, 245, 49});
    Label1 = AddLabel("Label1", {56, 20, 189, 26}, Qt::AlignHCenter | Qt::AlignTop, true, true);
    Image1 = AddIcon("Image1", {16, 16, 32, 32});
    OKBtn = AddButton("OKBtn", {40, 68, 77, 27}, Picture("bomb"), mrYes);
    OKBtn->setDefault(true);
    CancelBtn = AddButton("CancelBtn", {136, 68, 77, 27}, Picture("cross"), mrNo);
    SetCancelButton(CancelBtn);
    setWindowTitle(TextFor(TextId::ProgramName, language));
}

void TGiveUpDlg::FormActivate() {
    PlaceOverMainWindow();
    Label1->setText(TextFor(TextId::GiveUpQuestion, Language()));
    OKBtn->setText(TextFor(TextId::ButtonYes, Language()));
    CancelBtn->setText(TextFor(TextId::ButtonNo, Language()));
    OKBtn->setFocus();
}

}  // namespace travoli
