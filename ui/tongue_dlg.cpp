#include "ui/tongue_dlg.h"

#include "texts/texts.h"
#include "ui/pictures.h"

namespace travoli {

TTongueDlg::TTongueDlg(DialogOwner& owner) : TDialogForm(owner, 320, 91, false) {
    setObjectName(QStringLiteral("TongueDlg"));
    Bevel1 = AddBevel("Bevel1", {8, 8, 305, 77});
    Image4 = AddIcon("Image4", {28, 28, 37, 37});
    EnglishBtn = AddButton("EnglishBtn", {84, 16, 221, 27}, Picture("flags_en"), mrNone);
    GermanBtn = AddButton("GermanBtn", {84, 48, 221, 27}, Picture("flags_de"), mrNone);
    EnglishBtn->setDefault(true);
    connect(EnglishBtn, &QPushButton::clicked, this, &TTongueDlg::EnglishBtnClick);
    connect(GermanBtn, &QPushButton::clicked, this, &TTongueDlg::GermanBtnClick);
    FormCreate();
}

void TTongueDlg::FormCreate() {
    setWindowTitle(TextFor(TextId::LanguageCaption, Language()));
    EnglishBtn->setText(TextFor(TextId::LanguageEnglish, Language()));
    GermanBtn->setText(TextFor(TextId::LanguageGerman, Language()));
}

void TTongueDlg::EnglishBtnClick() {
    Owner().SetLanguage(EnglishLanguage);
    done(mrOk);
}

void TTongueDlg::GermanBtnClick() {
    Owner().SetLanguage(GermanLanguage);
    done(mrOk);
}

void TTongueDlg::FormActivate() {
    PlaceOverMainWindow();
    EnglishBtn->setFocus();
}

}  // namespace travoli
