#include "ui/solved_dlg.h"

#include "texts/texts.h"
#include "ui/pictures.h"

namespace travoli {

TSolvedDlg::TSolvedDlg(DialogOwner& owner) : TDialogForm(owner, 261, 103, true) {
    setObjectName(QStringLiteral("SolvedDlg"));
    Bevel1 = AddBevel("Bevel1", {8, 8, 245, 49});
    lab = AddLabel("lab", {60, 20, 181, 33}, Qt::AlignHCenter | Qt::AlignTop, true, true);
    Image1 = AddIcon("Image1", {16, 16, 32, 32});
    OKBtn = AddButton("OKBtn", {92, 68, 77, 27}, Picture("smile"), mrOk);
    OKBtn->setDefault(true);
    OKBtn->setText(TextFor(TextId::ButtonOk, Language()));
    setWindowTitle(TextFor(TextId::ProgramName, Language()));
}

void TSolvedDlg::FormActivate() {
    PlaceOverMainWindow();
    OKBtn->setFocus();
}

}  // namespace travoli
