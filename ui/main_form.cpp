// The main window's behaviour: start-up and shutdown, the status texts, the handling of a
// press, the level commands and the toolbar's dialogs. Its controls are put together in
// main_form_layout.cpp, the board is painted in board_painting.cpp.
#include "ui/main_form.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>
#include <exception>
#include <utility>

#include "assets/embedded_records.h"
#include "game/board_geometry.h"
#include "game/level_table.h"
#include "media/widgets/scroll_text.h"
#include "media/widgets/simple_label.h"
#include "settings/form_placement.h"
#include "settings/game_settings.h"
#include "settings/ini_ctrl.h"
#include "texts/error_message.h"
#include "texts/texts.h"
#include "ui/application.h"
#include "ui/end_game_dlg.h"
#include "ui/freeware_dlg.h"
#include "ui/give_up_dlg.h"
#include "ui/hint_dlg.h"
#include "ui/placement_window.h"
#include "ui/save_failed_dlg.h"
#include "ui/solved_dlg.h"
#include "ui/tongue_dlg.h"

namespace travoli {

namespace {
Qt::WindowFlags MainWindowFlags() {
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    // A Wayland compositor may answer a maximize with a size the fixed window cannot take,
    // and then ends the connection; there the box is not asked for (Qt 6.4's own title bar
    // draws one all the same, and the maximize is taken back).
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
    // The two stores, over the platform's hive and its view of this window.
    ini = std::make_unique<TIniCtrl>(*platform_.hive);
    placementWindow_ = platform_.placementWindow(*this);
    FormPlacement1 = std::make_unique<TFormPlacement>(*placementWindow_, ini.get());
    FormCreate();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::CreateDialogs() {
    HintDlg = new THintDlg(*this);
    GiveUpDlg = new TGiveUpDlg(*this);
    EndGameDlg = new TEndGameDlg(*this);
    FreewareDlg = new TFreewareDlg(*this, platform_.linkOpener);
    SolvedDlg = new TSolvedDlg(*this);
    TongueDlg = new TTongueDlg(*this);
}

// ---- start-up and shutdown ----

void TMainForm::FormCreate() {
    firstActivation_ = true;
    const int level = LoadGameSettings();
    FixClientSize(this, QSize(ClientWidth, MarqueeHeight + ToolbarHeight + BoardSurface));
    setWindowTitle(TextFor(TextId::ProgramName, language_));
    session_.StartLevel(level);
    levelscroll->setRange(1, LevelCount);
    levelscroll->setValue(session_.level());
    ApplyLanguage();
    vemScroll->SetScroll(true);
    UpdateMovesLabel();
}

int TMainForm::LoadGameSettings() {
    GameSettings values;
    const SettingsLoadReport report = travoli::LoadGameSettings(*ini, values);
    SetLanguage(values.Language);
    backgroundIndex_ = values.background;
    SoundBtn->SetDown(values.sound);
    progress_ = values.progress;
    unreadSettings_ = report.unread;
    settingsUnreadable_ = report.storeFailed;
    loadError_ = report.errors.empty() ? nullptr : report.errors.front();
    return values.level;
}

void TMainForm::SaveGameSettings() {
    GameSettings values;
    values.level = session_.level();
    values.background = backgroundIndex_;
    values.sound = SoundBtn->Down();
    values.Language = language_;
    values.progress = progress_;
    travoli::SaveGameSettings(*ini, values, unreadSettings_);
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
    if (loadError_) {
        // Said once, over the window, in the language of this moment.
        platform_.errors->Show(
            TextFor(TextId::SettingsUnreadable, language_)
                .arg(ErrorMessage(std::exchange(loadError_, nullptr), language_)));
    }
    if (language_ == NoLanguageChosen) {
        ShowDialog(TongueDlg);
    }
    ShowDialog(FreewareDlg);
}

void TMainForm::setVisible(bool visible) {
    // Just before the window becomes visible it goes back where the player left it: before
    // its native window exists, so that the window manager puts the frame at that corner.
    // A file that could not be read a moment ago is not asked again.
    if (visible && !isVisible() && !settingsUnreadable_) {
        // Not an event handler: the top-level handler would never see the error.
        try {
            FormPlacement1->OwnerShow();
        } catch (const std::exception& error) {
            ShowError(error);
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
        // Caught here, not at the top: unless the player ends without saving, the close is
        // refused and the window stays open for another try.
        if (!AskToEndWithoutSaving(this, language_, platform_.hive->FilePath(), error)) {
            return false;
        }
        FormPlacement1->Enabled = false;  // nothing more is written, the position neither
    }
    return true;
}

bool TMainForm::SaveOnSessionEnd() {
    if (closing_) {
        return true;
    }
    closing_ = true;  // no dialog may start any more: the program is going down
    sessionEnding_ = true;
    try {
        SaveGameSettings();
    } catch (const std::exception& error) {
        // Nobody is left to answer a message box: the error goes to stderr.
        platform_.errors->Report(ErrorMessage(error, language_));
        return false;
    }
    return true;
}

void TMainForm::FormDestroy() {
    vemScroll->SetScroll(false);
    if (settingsUnreadable_) {
        return;  // the saved position was never read, so it is not replaced either
    }
    try {
        FormPlacement1->OwnerDestroy();
    } catch (const std::exception& error) {
        // A destructor lets nothing escape; once the session ends, no dialog may open.
        if (sessionEnding_) {
            platform_.errors->Report(ErrorMessage(error, language_));
        } else {
            ShowError(error);
        }
    }
}

int TMainForm::ShowDialog(TDialogForm* dialog) {
    if (closing_) {
        return mrCancel;
    }
    const int result = dialog->ShowModal();
    // Closing the dialog uncovers the board, which is then painted again, and the moves
    // label and title with it: a new language shows there now.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) {
            ShowLevel();
        }
    });
    return result;
}

void TMainForm::ShowResult(TextId message) {
    SolvedDlg->SetMessage(TextFor(message, language_));
    announcer_->Announce(SolvedDlg->Message());
    ShowDialog(SolvedDlg);
}

void TMainForm::ShowError(const std::exception& error) {
    platform_.errors->Show(ErrorMessage(error, language_));
}

// ---- status texts ----

void TMainForm::ApplyLanguage() {
    // Assistive technology reads the same words as the tooltip, and the key as description.
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

    // The sound switch reads "checked" while the sound is on, so its name must say sound,
    // not the hint's opposite.
    SoundBtn->setAccessibleName(TextFor(TextId::AccessibleSound, language_));
    for (TSpeedButton* button :
         {RestartBtn, HintBtn, SoundBtn, ExitBtn, prevbtn, nextbtn, InfoBtn, TongueBtn}) {
        QString key = button->shortcut().toString(QKeySequence::PortableText);
        key.replace(QStringLiteral("Ctrl"), TextFor(TextId::ControlKeyName, language_));
        button->setAccessibleDescription(TextFor(TextId::AccessibleKey, language_).arg(key));
    }
    // The selector has the focus at the start: its description tells the board's keys too.
    levelscroll->setAccessibleDescription(TextFor(TextId::AccessibleLevelKeys, language_) +
                                          QLatin1Char(' ') +
                                          TextFor(TextId::AccessibleBoardKeys, language_));
    box->setAccessibleName(TextFor(TextId::AccessibleBoard, language_));
    box->setAccessibleDescription(TextFor(TextId::AccessibleBoardKeys, language_));
    vemScroll->setAccessibleName(TextFor(TextId::AccessibleMarquee, language_));
    vemLabel->setAccessibleName(vemScroll->accessibleName());
}

void TMainForm::UpdateTitle() {
    const int best = progress_.BestMoves(session_.level());
    QString title = TextFor(TextId::TitlePrefix, language_) +
                    TextFor(TextId::TitleLevelWord, language_) + QString::number(session_.level()) +
                    TextFor(TextId::TitleSeparator, language_);
    if (best != ProgressRecord::Unsolved) {
        title += QString::number(best) + TextFor(TextId::TitleMovesWord, language_);
    } else {
        title += TextFor(TextId::TitleUnsolved, language_);
    }
    setWindowTitle(title);
}

void TMainForm::UpdateMovesLabel() {
    const QString text = TextFor(TextId::MovesLabelWord, language_) +
                         QString::number(session_.moveCount()) +
                         TextFor(TextId::MovesLabelTail, language_);
    // A count that changes in front of the player is said too; a repaint says nothing.
    if (text != movl->text() && isVisible()) {
        announcer_->Announce(text.trimmed());
    }
    movl->setText(text);
    PlaceMovesLabel();
}

void TMainForm::PlaceMovesLabel() {
    movl->adjustSize();
    // Centred by the window's outer width, as the frame was designed around it.
    const int outerWidth = frameGeometry().width();
    movl->move((outerWidth - movl->width()) / 2 - 4, 42);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A desktop that stretched the window and gave its size back would otherwise leave the
    // label where the other width put it until the next move.
    PlaceMovesLabel();
}

void TMainForm::boxMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) {
    if (X < BoardLeft || Y < BoardTop || X > BoardRight || Y > BoardBottom) {
        backgroundIndex_ = (backgroundIndex_ + 1) % TextureCount;
        ShowLevel();
        return;
    }
    PressBoardCell((X - BoardLeft) / CellWidth, (Y - BoardTop) / CellHeight);
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // The main row's digits and the numeric keypad's alike; a held key presses once, as a
    // held button does.
    const int digit = event->key() - Qt::Key_0;
    if (digit >= 1 && digit <= 9 && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
        if (!event->isAutoRepeat()) {
            int column = 0;
            int row = 0;
            TBoardCell::CellOfDigit(digit, column, row);
            PressBoardCell(column, row);
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void TMainForm::ShowLevelTexts() {
    // The texts show the level as well: a restart or a new level sets the count back to 0,
    // and a new language spells them anew. The label lies over the board, and Qt paints it
    // again over the repainted board by itself.
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            NameCell(column, row);
        }
    }
    UpdateMovesLabel();
    UpdateTitle();
}

TextId TMainForm::ContentText(int kind) {
    static constexpr TextId Contents[] = {
        TextId::AccessibleRedStraight,   TextId::AccessibleWhiteStraight,
        TextId::AccessibleBlueStraight,  TextId::AccessibleRedDiagonal,
        TextId::AccessibleWhiteDiagonal, TextId::AccessibleBlueDiagonal,
        TextId::AccessibleEmptyCell};
    return Contents[kind];
}

void TMainForm::NameCell(int column, int row) {
    boardCells_[Board::IndexOf({column, row})]->setAccessibleName(
        TextFor(TextId::AccessibleCell, language_)
            .arg(row + 1)
            .arg(column + 1)
            .arg(TextFor(ContentText(session_.board().at(column, row)), language_)));
}

void TMainForm::PressBoardCell(int column, int row) {
    const MoveOutcome outcome = session_.PressCell(column, row);
    if (!outcome.accepted) {
        announcer_->Announce(
            TextFor(TextId::AccessibleRefused, language_)
                .arg(TextFor(ContentText(session_.board().at(column, row)), language_))
                .arg(row + 1)
                .arg(column + 1));
        PlaySoundReported(sound::Refused);
        return;
    }
    DrawCell(outcome.target.column, outcome.target.row);
    DrawCell(outcome.source.column, outcome.source.row);
    NameCell(outcome.target.column, outcome.target.row);
    NameCell(outcome.source.column, outcome.source.row);
    if (outcome.limitReached) {
        PlaySoundReported(sound::Refused);
        ShowResult(TextId::ResultTooManyMoves);
    }
    UpdateMovesLabel();
    if (!outcome.withinLimit) {
        return;
    }
    PlaySoundReported(sound::Moved);
    if (outcome.solvedNow) {
        PlaySoundReported(sound::Solved);
        const SolutionResult result =
            progress_.RecordSolution(session_.level(), session_.moveCount());
        const TextId message = result == SolutionResult::FirstSolution ? TextId::ResultFirstSolution
                               : result == SolutionResult::BetterSolution
                                   ? TextId::ResultBetterSolution
                                   : TextId::ResultSolvedAgain;
        ShowResult(message);
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
        // Caught here, not at the top: the rest of the press (result, title) must still run.
        ShowError(error);
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
    ShowLevel();
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
    ShowLevel();
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
