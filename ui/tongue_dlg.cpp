#include "ui/tongue_dlg.h"

#include "ui/pictures.h"
#include "ui/texts.h"

namespace travoli {

TTongueDlg::TTongueDlg(QWidget* mainWindow, std::int32_t& language)
    : TDialogForm(mainWindow, language, 320, 91, false), language_(language) {
    setObjectName(QStringLiteral("TongueDlg"));
    Bevel1 = AddBevel("Bevel1", {8, 8, 305, 77});
    Image4 = AddIcon("Image4", {28, 28, 37, 37});
    EnglishBtn = AddButton("EnglishBtn", {84, 16, 221, 27}, Picture("flags_en"), 0);
    GermanBtn = AddButton("GermanBtn", {84, 48, 221, 27}, Picture("flags_de"), 0);
    EnglishBtn->setDefault(true);
    connect(EnglishBtn, &QPushButton::clicked, this, &TTongueDlg::EnglishBtnClick);
    connect(GermanBtn, &QPushButton::clicked, this, &TTongueDlg::GermanBtnClick);
    FormCreate();
}

void TTongueDlg::FormCreate() {
    setWindowTitle(TextFor(TextId::LanguageCaption, language_));
    EnglishBtn->setText(TextFor(TextId::LanguageEnglish, language_));
    GermanBtn->setText(TextFor(TextId::LanguageGerman, language_));
}

void TTongueDlg::EnglishBtnClick() {
    language_ = 0;
    done(mrOk);
}

void TTongueDlg::GermanBtnClick() {
    language_ = 1;
    done(mrOk);
}

void TTongueDlg::FormActivate() {
    PlaceOverMainWindow();
    EnglishBtn->setFocus();
}

}  // namespace travoli
