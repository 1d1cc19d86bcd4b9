#include "ui/freeware_dlg.h"

#include "media/widgets/simple_label.h"
#include "texts/texts.h"
#include "ui/fonts.h"
#include "ui/pictures.h"

namespace travoli {

TFreewareDlg::TFreewareDlg(DialogOwner& owner, std::shared_ptr<LinkOpener> opener)
    : TDialogForm(owner, 385, 473, false), opener_(std::move(opener)) {
    setObjectName(QStringLiteral("FreewareDlg"));
    Bevel1 = AddBevel("Bevel1", {8, 8, 369, 417});
    Image4 = AddIcon("Image4", {12, 12, 37, 37});

    progname =
        AddLabel("progname", {52, 16, 321, 21}, Qt::AlignHCenter | Qt::AlignTop, false, true);
    progname->setFont(ArialFont(13, true));
    QPalette red = progname->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    progname->setPalette(red);
    Bevel3 = AddBevel("Bevel3", {52, 32, 321, 5}, true);

    Image1 = AddPicture("Image1", {12, 52}, "logo_maker");
    auto autoLabel = [this](const char* name, QPoint at, TextId text) {
        QLabel* label =
            AddLabel(name, {at, QSize(1, 1)}, Qt::AlignLeft | Qt::AlignTop, false, false);
        label->setText(TextFor(text, Language()));
        label->adjustSize();
        return label;
    };
    Label4 = autoLabel("Label4", {180, 44}, TextId::InfoAuthorSign);
    Label1 = autoLabel("Label1", {196, 44}, TextId::InfoAuthorName);
    Label2 = autoLabel("Label2", {196, 60}, TextId::InfoAuthorAddress1);
    Label3 = autoLabel("Label3", {196, 76}, TextId::InfoAuthorAddress2);

    Label13 = AddLabel("Label13", {120, 96, 70, 15}, Qt::AlignRight | Qt::AlignTop, false, false);
    Label13->setText(TextFor(TextId::InfoMailLabel, Language()));
    const QString mail = TextFor(TextId::MakerMailAddress, Language());
    SimpleLabel1 =
        AddLink("SimpleLabel1", {196, 96, 92, 15}, mail, QStringLiteral("mailto:") + mail);
    Label8 = AddLabel("Label8", {120, 112, 70, 15}, Qt::AlignRight | Qt::AlignTop, false, false);
    Label8->setText(TextFor(TextId::InfoHomepageLabel, Language()));
    // The homepage link keeps its trailing blank, in caption and target alike.
    const QString homepage = TextFor(TextId::MakerHomepageLink, Language());
    SimpleLabel2 = AddLink("SimpleLabel2", {196, 112, 125, 15}, homepage, homepage);
    Bevel2 = AddBevel("Bevel2", {12, 128, 361, 5}, true);

    Image5 = AddPicture("Image5", {12, 140}, "logo_association");
    savelabel =
        AddLabel("savelabel", {144, 144, 225, 29}, Qt::AlignLeft | Qt::AlignTop, true, false);

    Memodeu = new TMemo(this, TextFor(TextId::InfoTerms, 1), true);
    Memoeng = new TMemo(this, TextFor(TextId::InfoTerms, EnglishLanguage), true);
    Memodeu->setObjectName(QStringLiteral("Memodeu"));
    Memoeng->setObjectName(QStringLiteral("Memoeng"));
    for (TMemo* memo : {Memodeu, Memoeng}) {
        memo->setGeometry(16, 216, 353, 201);
        memo->setFont(DialogFont(false));
    }

    OKBtn = AddButton("OKBtn", {152, 438, 77, 27}, Picture("tick"), mrOk);
    OKBtn->setDefault(true);
    OKBtn->setText(TextFor(TextId::ButtonOk, Language()));
}

QLabel* TFreewareDlg::AddPicture(const char* name, QPoint at, const char* picture) {
    const QPixmap pixmap = Picture(picture);
    QLabel* image = AddLabel(name, {at, pixmap.deviceIndependentSize().toSize()},
                             Qt::AlignLeft | Qt::AlignTop, false, false);
    image->setPixmap(pixmap);
    return image;
}

TSimpleLabel* TFreewareDlg::AddLink(const char* name, const QRect& place, const QString& caption,
                                    const QString& jump) {
    auto* link = new TSimpleLabel(this);
    link->setObjectName(QLatin1String(name));
    link->SetLoading(true);
    link->setGeometry(place);
    link->SetFont(DialogFont(false));
    link->SetFontColor(Qt::blue);
    link->SetTransparent(false);
    link->SetCaption(caption);
    link->SetJump(jump);
    link->SetJumpMode(TJumpMode::jmInternet);
    link->SetOpener(opener_);
    link->setAccessibleName(caption.trimmed());
    link->SetLoading(false);
    return link;
}

void TFreewareDlg::FormActivate() {
    PlaceOverMainWindow();
    Memodeu->hide();
    Memoeng->hide();
    setWindowTitle(TextFor(TextId::InfoCaption, Language()));
    progname->setText(TextFor(TextId::InfoProgramLine, Language()));
    Image1->setAccessibleName(TextFor(TextId::AccessibleMakerLogo, Language()));
    Image5->setAccessibleName(TextFor(TextId::AccessibleAssociationLogo, Language()));
    savelabel->setText(TextFor(TextId::InfoMembership, Language()));
    (SpeaksGerman(Language()) ? Memodeu : Memoeng)->show();
    OKBtn->setFocus();
}

}  // namespace travoli
