#include "ui/question_dlg.h"

#include "ui/pictures.h"

namespace travoli {

TQuestionDlg::TQuestionDlg(DialogOwner& owner, const Layout& layout)
    : TDialogForm(owner, 261, 103, false), questionText_(layout.questionText) {
    setObjectName(QLatin1String(layout.name));
    Bevel1 = AddBevel("Bevel1", {8, 8, 245, 49});
    Label1 = AddLabel("Label1", layout.question, Qt::AlignHCenter | Qt::AlignTop, true, true);
    Image1 = AddIcon("Image1", {16, 16, 32, 32});
    OKBtn = AddButton("OKBtn", {40, 68, 77, 27}, Picture(layout.yesPicture), mrYes);
    OKBtn->setDefault(true);
    CancelBtn = AddButton("CancelBtn", {136, 68, 77, 27}, Picture("cross"), layout.cancelResult);
    SetCancelButton(CancelBtn);
    setWindowTitle(TextFor(TextId::ProgramName, Language()));
}

void TQuestionDlg::FormActivate() {
    PlaceOverMainWindow();
    Label1->setText(TextFor(questionText_, Language()));
    OKBtn->setText(TextFor(TextId::ButtonYes, Language()));
    CancelBtn->setText(TextFor(TextId::ButtonNo, Language()));
    OKBtn->setFocus();
}

}  // namespace travoli
