// How the main window is put together: its controls, their places and pictures, and the
// sheets the board is drawn from.
#include <QApplication>
#include <QGuiApplication>
#include <QStyle>

#include "game/board_geometry.h"
#include "game/level_table.h"
#include "media/widgets/scroll_text.h"
#include "media/widgets/simple_label.h"
#include "texts/texts.h"
#include "ui/accessibility.h"
#include "ui/fonts.h"
#include "ui/main_form.h"
#include "ui/media_records.h"
#include "ui/pictures.h"

namespace travoli {

void TMainForm::BuildLayout() {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);
    setFont(SystemFont());
    setWindowIcon(QIcon(Picture("icon")));
    move(444, 204);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, ClientWidth, ToolbarHeight);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setPalette(QWidget::style()->standardPalette());
    Panel1->setAutoFillBackground(true);

    using Place = TSpeedButton::GlyphPlace;
    auto button = [this](const char* name, QRect place, const char* picture,
                         const char* disabledPicture, Place glyphPlace) {
        auto* made =
            new TSpeedButton(Panel1, Picture(picture),
                             disabledPicture ? Picture(disabledPicture) : QPixmap(), glyphPlace);
        made->setObjectName(QLatin1String(name));
        made->setGeometry(place);
        return made;
    };
    RestartBtn = button("RestartBtn", {4, 4, 25, 25}, "restart", nullptr, Place::Centred);
    HintBtn = button("HintBtn", {32, 4, 25, 25}, "hint", "hint_disabled", Place::Left2);
    SoundBtn = button("SoundBtn", {60, 4, 25, 25}, "sound", "sound_disabled", Place::Centred);
    SoundBtn->SetToggle(true);
    ExitBtn = button("ExitBtn", {88, 4, 25, 25}, "exit", nullptr, Place::Left2);
    prevbtn = button("prevbtn", {122, 8, 17, 17}, "prev", nullptr, Place::Left2);
    nextbtn = button("nextbtn", {255, 8, 17, 17}, "next", nullptr, Place::Left2);
    InfoBtn = button("InfoBtn", {278, 4, 25, 25}, "info", nullptr, Place::Left2);
    TongueBtn = button("TongueBtn", {306, 4, 25, 25}, "tongue", nullptr, Place::Centred);
    TongueBtn->setToolTip(TextFor(TextId::HintLanguage, EnglishLanguage));
    TongueBtn->setAccessibleName(TongueBtn->toolTip());

    levelscroll = new TLevelScrollBar(Panel1);
    levelscroll->setObjectName(QStringLiteral("levelscroll"));
    levelscroll->setGeometry(140, 8, 114, 16);
    levelscroll->setValue(1);  // its start position; FormCreate gives it its range
    levelscroll->setSingleStep(1);
    levelscroll->setPageStep(10);
    levelscroll->setFocusPolicy(Qt::StrongFocus);

    box = new TPaintBox(this);
    box->setObjectName(QStringLiteral("box"));
    box->setGeometry(0, ToolbarHeight, BoardSurface, BoardSurface);
    box->OnPaint = [this](QPainter& painter, const QRect& dirty) { PaintBoxArea(painter, dirty); };
    box->OnMouseDown = [this](Qt::MouseButton b, Qt::KeyboardModifiers s, int x, int y) {
        boxMouseDown(b, s, x, y);
    };
    // Made row by row, so that a screen reader meets them in reading order.
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            auto* cell = new TBoardCell(box, column, row);
            cell->setGeometry(BoardLeft + CellWidth * column, BoardTop + CellHeight * row,
                              CellWidth, CellHeight);
            // Behind a dialog the board takes no press, from any side.
            cell->OnPress = [this](int c, int r) {
                if (QApplication::activeModalWidget() == nullptr) {
                    PressBoardCell(c, r);
                }
            };
            boardCells_[Board::IndexOf({column, row})] = cell;
        }
    }

    movl = new QLabel(this);
    movl->setObjectName(QStringLiteral("movl"));
    movl->setFont(ArialFont(19, true));
    movl->setAlignment(Qt::AlignCenter);
    QPalette labelColours = movl->palette();
    labelColours.setColor(QPalette::WindowText, Qt::white);
    labelColours.setColor(QPalette::Window, Qt::black);
    movl->setPalette(labelColours);
    movl->setAutoFillBackground(true);
    movl->move(movl->x(), 42);
    movl->raise();
    announcer_ = new TAnnouncer(this);

    vemScroll = new TScrollText(this);
    vemScroll->setObjectName(QStringLiteral("vemScroll"));
    vemScroll->setGeometry(0, ToolbarHeight + BoardSurface, ClientWidth, MarqueeHeight);
    connect(vemScroll, &TScrollText::OnClick, this, &TMainForm::ZanfirBtnClick);

    vemLabel = new TSimpleLabel(this);
    vemLabel->setObjectName(QStringLiteral("vemLabel"));
    vemLabel->SetLoading(true);
    vemLabel->SetFont(SystemFont());
    vemLabel->SetFontColor(Qt::blue);
    vemLabel->SetCaption(QStringLiteral("vemLabel"));
    vemLabel->SetJump(TextFor(TextId::MakerHomepage, EnglishLanguage));
    vemLabel->SetJumpMode(TJumpMode::jmInternet);
    vemLabel->SetOpener(platform_.linkOpener);
    vemLabel->setGeometry(380, 388, 61, 18);  // outside the client area, never seen
    vemLabel->SetLoading(false);
    vemLabel->hide();

    LoadMediaRecords(bitmaps, waves);
    waves.SetOutput(platform_.soundOutput);
    LoadSheets();

    connect(RestartBtn, &QAbstractButton::clicked, this, &TMainForm::RestartBtnClick);
    connect(HintBtn, &QAbstractButton::clicked, this, &TMainForm::HintBtnClick);
    connect(ExitBtn, &QAbstractButton::clicked, this, &TMainForm::ExitBtnClick);
    connect(prevbtn, &QAbstractButton::clicked, this, &TMainForm::prevbtnClick);
    connect(nextbtn, &QAbstractButton::clicked, this, &TMainForm::nextbtnClick);
    connect(InfoBtn, &QAbstractButton::clicked, this, &TMainForm::InfoBtnClick);
    connect(TongueBtn, &QAbstractButton::clicked, this, &TMainForm::TongueBtnClick);
    // valueChanged fires only when the position really changes.
    connect(levelscroll, &QScrollBar::valueChanged, this, &TMainForm::levelscrollChange);
    SetUpKeys();
}

// The toolbar's keys, from the conventions of desktop games. None of them is one that the
// level selector (arrows, page keys, Home, End) or a dialog uses. A key clicks its button.
void TMainForm::SetUpKeys() {
    InstallAccessibleFaces();
    RestartBtn->setShortcut(QKeySequence(Qt::Key_F2));
    HintBtn->setShortcut(QKeySequence(Qt::Key_F1));
    SoundBtn->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    ExitBtn->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    prevbtn->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    nextbtn->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    InfoBtn->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    TongueBtn->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
}

void TMainForm::LoadSheets() {
    // On a high-density screen the sheets' double-size drawings keep the board crisp.
    if (qGuiApp->devicePixelRatio() > 1.0) {
        tileSheet_ = DenseSheet("tile_sheet");
        backgroundSheet_ = DenseSheet("background_sheet");
        if (!tileSheet_.isNull() && !backgroundSheet_.isNull()) {
            return;
        }
    }
    tileSheet_ = QPixmap::fromImage(SheetImage(bitmaps, sheet::Tiles));
    backgroundSheet_ = QPixmap::fromImage(SheetImage(bitmaps, sheet::Backgrounds));
}

}  // namespace travoli
