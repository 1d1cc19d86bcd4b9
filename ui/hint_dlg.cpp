#include "ui/hint_dlg.h"

#include <QGuiApplication>
#include <QScreen>

#include "texts/texts.h"
#include "ui/fonts.h"
#include "ui/pictures.h"

namespace travoli {

THintDlg::THintDlg(DialogOwner& owner) : TDialogForm(owner, 446, 327, true) {
    setObjectName(QStringLiteral("HintDlg"));
    Bevel1 = AddBevel("Bevel1", {8, 8, 433, 273});
    Image1 = AddIcon("Image1", {8, 288, 32, 32});
    OKBtn = AddButton("OKBtn", {192, 292, 77, 27}, Picture("smile"), mrOk);
    OKBtn->setDefault(true);
    OKBtn->setText(TextFor(TextId::ButtonOk, Language()));
    // Not read-only: the player may type notes into the rules, kept until the game ends.
    tipD = new TMemo(this, TextFor(TextId::RulesText, 1), false);
    TipE = new TMemo(this, TextFor(TextId::RulesText, EnglishLanguage), false);
    for (TMemo* memo : {tipD, TipE}) {
        memo->setGeometry(16, 16, 417, 257);
        memo->setFont(DialogFont(false));
    }
    tipD->setObjectName(QStringLiteral("tipD"));
    TipE->setObjectName(QStringLiteral("TipE"));
    setWindowTitle(TextFor(TextId::ProgramName, Language()));
    OKBtn->setFocus();
    setFocusProxy(OKBtn);
}

// This one stays centred on the screen wherever the main window is, by its outer size.
void THintDlg::CentreOnScreen() {
    PlaceFrame([](QSize outer) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen != nullptr ? screen->geometry() : QRect();
        return QPoint(area.left() + (area.width() - outer.width()) / 2,
                      area.top() + (area.height() - outer.height()) / 2);
    });
}

void THintDlg::FormActivate() {
    CentreOnScreen();
    const bool german = SpeaksGerman(Language());
    tipD->setVisible(german);
    TipE->setVisible(!german);
    OKBtn->setFocus();
}

}  // namespace travoli
