#include "ui/main_form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <exception>

#include "game/level_table.h"
#include "media/widgets/scroll_text.h"
#include "media/widgets/simple_label.h"
#include "settings/form_placement.h"
#include "settings/game_settings.h"
#include "settings/ini_ctrl.h"
#include "ui/application.h"
#include "ui/end_game_dlg.h"
#include "ui/fonts.h"
#include "ui/freeware_dlg.h"
#include "ui/give_up_dlg.h"
#include "ui/hint_dlg.h"
#include "ui/media_records.h"
#include "ui/pictures.h"
#include "ui/placement_window.h"
#include "ui/solved_dlg.h"
#include "ui/texts.h"
#include "ui/tongue_dlg.h"

namespace travoli {

namespace {
constexpr int ClientWidth = 337;
constexpr int ToolbarHeight = 33;
constexpr int MarqueeHeight = 15;
constexpr int BoardSurface = 337;

// Board geometry on the surface.
constexpr int BoardLeft = 50;
constexpr int BoardTop = 50;
constexpr int CellWidth = 78;
constexpr int CellHeight = 79;
constexpr int BoardRight = BoardLeft + 3 * CellWidth - 1;   // 283
constexpr int BoardBottom = BoardTop + 3 * CellHeight - 1;  // 286
constexpr int TextureSize = 128;
constexpr int TextureCount = 6;

constexpr int NoBestResult = 0;  // the progress entry of an unsolved level

// A rectangle of logical pixels in the pixels of a sheet drawn at `ratio`.
QRect InSheet(const QPixmap& sheet, int x, int y, int width, int height) {
    const qreal ratio = sheet.devicePixelRatio();
    return QRectF(x * ratio, y * ratio, width * ratio, height * ratio).toRect();
}
}  // namespace

void TLevelScrollBar::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up:
                triggerAction(SliderSingleStepSub);
                return;
            case Qt::Key_Right:
            case Qt::Key_Down:
                triggerAction(SliderSingleStepAdd);
                return;
            default:
                break;
        }
    }
    QScrollBar::keyPressEvent(event);
}

namespace {
Qt::WindowFlags MainWindowFlags() {
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    // A Wayland compositor may answer a maximize with a size the fixed window cannot take,
    // and then ends the connection; there the box is not offered.
    if (WindowPositionsKnown()) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    return flags;
}
}  // namespace

TMainForm::TMainForm(const Platform& platform)
    : QWidget(nullptr, MainWindowFlags()), platform_(platform) {
    setObjectName(QStringLiteral("MainForm"));
    BuildLayout();
    FormCreate();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

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
    TongueBtn->setToolTip(TextFor(TextId::HintLanguage, 0));
    TongueBtn->setAccessibleName(TongueBtn->toolTip());

    levelscroll = new TLevelScrollBar(Panel1);
    levelscroll->setObjectName(QStringLiteral("levelscroll"));
    levelscroll->setGeometry(140, 8, 114, 16);
    levelscroll->setRange(1, LevelCount);
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
    for (int index = 0; index < 9; ++index) {
        boardCells[index] = new TBoardCell(box);
        const Cell cell = Board::CellAt(index);
        boardCells[index]->setGeometry(BoardLeft + CellWidth * cell.column,
                                       BoardTop + CellHeight * cell.row, CellWidth, CellHeight);
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
    vemLabel->SetJump(TextFor(TextId::MakerHomepage, 0));
    vemLabel->SetJumpMode(TJumpMode::jmInternet);
    vemLabel->setGeometry(380, 388, 61, 18);  // outside the client area, never seen
    vemLabel->SetLoading(false);
    vemLabel->hide();

    LoadMediaRecords(bitmaps, waves);
    waves.SetOutput(platform_.soundOutput);
    LoadSheets();

    ini = std::make_unique<TIniCtrl>(*platform_.hive);
    placementWindow_ = std::make_unique<QtPlacementWindow>(this);
    FormPlacement1 = std::make_unique<TFormPlacement>(*placementWindow_, ini.get());

    connect(RestartBtn, &QAbstractButton::clicked, this, &TMainForm::RestartBtnClick);
    connect(HintBtn, &QAbstractButton::clicked, this, &TMainForm::HintBtnClick);
    connect(ExitBtn, &QAbstractButton::clicked, this, &TMainForm::ExitBtnClick);
    connect(prevbtn, &QAbstractButton::clicked, this, &TMainForm::prevbtnClick);
    connect(nextbtn, &QAbstractButton::clicked, this, &TMainForm::nextbtnClick);
    connect(InfoBtn, &QAbstractButton::clicked, this, &TMainForm::InfoBtnClick);
    connect(TongueBtn, &QAbstractButton::clicked, this, &TMainForm::TongueBtnClick);
    // valueChanged fires only when the position really changes.
    connect(levelscroll, &QScrollBar::valueChanged, this, &TMainForm::levelscrollChange);
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
    tileSheet_ = QPixmap::fromImage(SheetImage(bitmaps, 0));
    backgroundSheet_ = QPixmap::fromImage(SheetImage(bitmaps, 1));
}

void TMainForm::CreateDialogs() {
    HintDlg = new THintDlg(this, language_);
    GiveUpDlg = new TGiveUpDlg(this, language_);
    EndGameDlg = new TEndGameDlg(this, language_);
    FreewareDlg = new TFreewareDlg(this, language_);
    SolvedDlg = new TSolvedDlg(this, language_);
    TongueDlg = new TTongueDlg(this, language_);
}

// ---- start-up and shutdown ----

void TMainForm::FormCreate() {
    firstActivation_ = true;
    LoadGameSettings();
    FixClientSize(this, QSize(ClientWidth, MarqueeHeight + ToolbarHeight + BoardSurface));
    setWindowTitle(TextFor(TextId::ProgramName, language_));
    session_.StartLevel(session_.level());
    levelscroll->setRange(1, LevelCount);
    levelscroll->setValue(session_.level());
    ApplyLanguage();
    vemScroll->SetScroll(true);
    UpdateMovesLabel();
}

void TMainForm::LoadGameSettings() {
    GameSettings values;
    travoli::LoadGameSettings(*ini, values, [](const std::string& message) {
        ShowError(QString::fromLatin1(message.c_str()));
    });
    language_ = values.Language;
    session_.StartLevel(values.level);
    backgroundIndex_ = values.background;
    SoundBtn->SetDown(values.sound);
    progress_ = values.progress;
}

void TMainForm::SaveGameSettings() {
    GameSettings values;
    values.level = session_.level();
    values.background = backgroundIndex_;
    values.sound = SoundBtn->Down();
    values.Language = language_;
    values.progress = progress_;
    travoli::SaveGameSettings(*ini, values);
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && firstActivation_) {
        // The start dialogs run after the activation has been handled.
        firstActivation_ = false;
        QTimer::singleShot(0, this, [this] { FormActivate(); });
    }
    return QWidget::event(event);
}

void TMainForm::FormActivate() {
    if (language_ == -1) {
        ShowDialog(TongueDlg);
    }
    ShowDialog(FreewareDlg);
}

void TMainForm::setVisible(bool visible) {
    // Just before the window becomes visible it goes back where the player left it: before
    // its native window exists, so that the window manager puts the frame at that corner.
    if (visible && !isVisible()) {
        try {
            FormPlacement1->OwnerShow();
        } catch (const std::exception& error) {
            ShowError(QString::fromLocal8Bit(error.what()));
        }
    }
    QWidget::setVisible(visible);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (!FormCloseQuery() || !FormClose()) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
}

bool TMainForm::FormCloseQuery() {
    return ShowDialog(EndGameDlg) == mrYes;
}

bool TMainForm::FormClose() {
    ShowDialog(FreewareDlg);
    try {
        SaveGameSettings();
    } catch (const std::exception& error) {
        // The window stays open, so the player may try to end the program again.
        ShowError(QString::fromLocal8Bit(error.what()));
        return false;
    }
    return true;
}

void TMainForm::SaveOnSessionEnd() {
    if (closing_) {
        return;
    }
    closing_ = true;  // no dialog may start any more: the program is going down
    try {
        SaveGameSettings();
    } catch (const std::exception& error) {
        ReportErrorQuietly(QString::fromLocal8Bit(error.what()));
    }
}

void TMainForm::FormDestroy() {
    vemScroll->SetScroll(false);
    try {
        FormPlacement1->OwnerDestroy();
    } catch (const std::exception& error) {
        ShowError(QString::fromLocal8Bit(error.what()));
    }
}

int TMainForm::ShowDialog(TDialogForm* dialog) {
    if (closing_) {
        return mrCancel;
    }
    const int result = dialog->ShowModal();
    // Closing the dialog uncovers the board, which is then painted again.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) {
            boxPaint();
        }
    });
    return result;
}

// ---- status texts ----

void TMainForm::ApplyLanguage() {
    // Assistive technology reads the same words as the tooltip.
    const auto hint = [this](QWidget* control, TextId text) {
        control->setToolTip(TextFor(text, language_));
        control->setAccessibleName(control->toolTip());
    };
    hint(RestartBtn, TextId::HintRestart);
    hint(SoundBtn, TextId::HintSound);
    hint(HintBtn, TextId::HintRules);
    hint(ExitBtn, TextId::HintExit);
    hint(InfoBtn, TextId::HintInfo);
    hint(prevbtn, TextId::HintPrevUnsolved);
    hint(levelscroll, TextId::HintLevelSelector);
    hint(nextbtn, TextId::HintNextUnsolved);
    vemScroll->SetLine(0, TextFor(TextId::MarqueeLine, language_));
}

void TMainForm::UpdateTitle() {
    const int best = progress_.BestMoves(session_.level());
    QString title = TextFor(TextId::TitlePrefix, language_) +
                    TextFor(TextId::TitleLevelWord, language_) + QString::number(session_.level()) +
                    TextFor(TextId::TitleSeparator, language_);
    if (best != NoBestResult) {
        title += QString::number(best) + TextFor(TextId::TitleMovesWord, language_);
    } else {
        title += TextFor(TextId::TitleUnsolved, language_);
    }
    setWindowTitle(title);
}

void TMainForm::UpdateMovesLabel() {
    movl->setText(TextFor(TextId::MovesLabelWord, language_) +
                  QString::number(session_.moveCount()) +
                  TextFor(TextId::MovesLabelTail, language_));
    movl->adjustSize();
    // Centred by the window's outer width, as the frame was designed around it.
    const int outerWidth = frameGeometry().width();
    movl->move((outerWidth - movl->width()) / 2 - 4, 42);
}

// ---- board view ----

void TMainForm::PaintBoxArea(QPainter& painter, const QRect& dirty) {
    if (canvas_.isNull() || canvas_.devicePixelRatio() != box->devicePixelRatioF()) {
        boxPaint();
    }
    painter.drawPixmap(dirty, canvas_,
                       InSheet(canvas_, dirty.x(), dirty.y(), dirty.width(), dirty.height()));
    if (firstPaint_) {
        // The first painting of the board composes the title.
        firstPaint_ = false;
        QTimer::singleShot(0, this, [this] {
            UpdateMovesLabel();
            UpdateTitle();
        });
    }
}

void TMainForm::DrawCell(int column, int row) {
    const int kind = session_.board().at(column, row);
    const QRect target(BoardLeft + CellWidth * column, BoardTop + CellHeight * row, CellWidth,
                       CellHeight);
    {
        QPainter painter(&canvas_);
        painter.drawPixmap(
            target, tileSheet_,
            InSheet(tileSheet_, CellWidth * kind, CellHeight * row, CellWidth, CellHeight));
    }
    box->update(target);
    static constexpr TextId Contents[] = {
        TextId::AccessibleRedStraight,   TextId::AccessibleWhiteStraight,
        TextId::AccessibleBlueStraight,  TextId::AccessibleRedDiagonal,
        TextId::AccessibleWhiteDiagonal, TextId::AccessibleBlueDiagonal,
        TextId::AccessibleEmptyCell};
    boardCells[Board::IndexOf({column, row})]->setAccessibleName(
        TextFor(TextId::AccessibleCell, language_)
            .arg(session_.level())
            .arg(TextFor(Contents[kind], language_))
            .arg(column)
            .arg(row));
}

void TMainForm::boxPaint() {
    const qreal ratio = box->devicePixelRatioF();
    if (canvas_.isNull() || canvas_.devicePixelRatio() != ratio) {
        canvas_ = QPixmap(QSize(BoardSurface, BoardSurface) * ratio);
        canvas_.setDevicePixelRatio(ratio);
    }
    {
        QPainter painter(&canvas_);
        const QRect texture =
            InSheet(backgroundSheet_, TextureSize * backgroundIndex_, 0, TextureSize, TextureSize);
        for (int x = 0; x < box->width(); x += TextureSize) {
            for (int y = 0; y < box->height(); y += TextureSize) {
                painter.drawPixmap(QRect(x, y, TextureSize, TextureSize), backgroundSheet_,
                                   texture);
            }
        }
    }
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            DrawCell(column, row);
        }
    }
    box->update();
    box->setAccessibleName(TextFor(TextId::AccessibleBoard, language_));
    UpdateMovesLabel();
    UpdateTitle();
}

void TMainForm::boxMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
    if (X < BoardLeft || Y < BoardTop || X > BoardRight || Y > BoardBottom) {
        backgroundIndex_ = (backgroundIndex_ + 1) % TextureCount;
        boxPaint();
        movl->update();
        return;
    }
    const int column = (X - BoardLeft) / CellWidth;
    const int row = (Y - BoardTop) / CellHeight;
    const MoveOutcome outcome = session_.PressCell(column, row);
    if (!outcome.accepted) {
        PlaySoundReported(3);
        return;
    }
    DrawCell(outcome.target.column, outcome.target.row);
    DrawCell(outcome.source.column, outcome.source.row);
    if (outcome.limitReached) {
        SolvedDlg->lab->setText(TextFor(TextId::ResultTooManyMoves, language_));
        PlaySoundReported(3);
        ShowDialog(SolvedDlg);
    }
    UpdateMovesLabel();
    if (!outcome.withinLimit) {
        return;
    }
    PlaySoundReported(2);
    if (outcome.solvedNow) {
        PlaySoundReported(1);
        const SolutionResult result =
            progress_.RecordSolution(session_.level(), session_.moveCount());
        const TextId message = result == SolutionResult::FirstSolution ? TextId::ResultFirstSolution
                               : result == SolutionResult::BetterSolution
                                   ? TextId::ResultBetterSolution
                                   : TextId::ResultSolvedAgain;
        SolvedDlg->lab->setText(TextFor(message, language_));
        ShowDialog(SolvedDlg);
        UpdateTitle();
    }
}

void TMainForm::PlaySoundEffect(int n) {
    if (SoundBtn->Down()) {
        waves.Items(static_cast<std::size_t>(n - 1)).Wave().Play();
    }
}

void TMainForm::PlaySoundReported(int n) {
    try {
        PlaySoundEffect(n);
    } catch (const std::exception& error) {
        ShowError(QString::fromLocal8Bit(error.what()));
    }
}

// ---- level commands ----

bool TMainForm::ConfirmLeaveLevel() {
    if (!session_.NeedsGiveUpConfirmation()) {
        return true;
    }
    return ShowDialog(GiveUpDlg) != mrNo;
}

void TMainForm::RestartBtnClick() {
    if (!ConfirmLeaveLevel()) {
        return;
    }
    session_.StartLevel(session_.level());
    boxPaint();
    UpdateMovesLabel();
    movl->update();
}

void TMainForm::levelscrollChange(int) {
    if (confirming_) {
        return;  // a repeating scroll arrow must not stack questions
    }
    // A held arrow or page click would keep stepping behind the question; without one it
    // repeats like any scroll bar.
    if (session_.NeedsGiveUpConfirmation()) {
        levelscroll->StopRepeating();
    }
    confirming_ = true;
    const bool leave = ConfirmLeaveLevel();
    confirming_ = false;
    if (!leave) {
        // The selector goes back to the level that is still being played.
        const QSignalBlocker quiet(levelscroll);
        levelscroll->setValue(session_.level());
        return;
    }
    session_.StartLevel(levelscroll->value());
    boxPaint();
    UpdateMovesLabel();
    movl->update();
}

void TMainForm::prevbtnClick() {
    const int level = progress_.FindPreviousUnsolved(session_.level());
    if (level != session_.level()) {
        levelscroll->setValue(level);
    }
}

void TMainForm::nextbtnClick() {
    const int level = progress_.FindNextUnsolved(session_.level());
    if (level != session_.level()) {
        levelscroll->setValue(level);
    }
}

// ---- toolbar dialogs ----

void TMainForm::HintBtnClick() {
    ShowDialog(HintDlg);
}

void TMainForm::InfoBtnClick() {
    ShowDialog(FreewareDlg);
}

void TMainForm::TongueBtnClick() {
    ShowDialog(TongueDlg);
    ApplyLanguage();
    UpdateTitle();
}

void TMainForm::ExitBtnClick() {
    close();
}

void TMainForm::ZanfirBtnClick() {
    vemLabel->FollowLink();
}

}  // namespace travoli
