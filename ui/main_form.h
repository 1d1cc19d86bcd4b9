#pragma once

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "game/board_geometry.h"
#include "game/game_session.h"
#include "game/language.h"
#include "game/progress_record.h"
#include "media/container/bitmap_list.h"
#include "media/container/wave_list.h"
#include "texts/texts.h"
#include "ui/announcer.h"
#include "ui/board_cell.h"
#include "ui/dialog_owner.h"
#include "ui/level_scroll_bar.h"
#include "ui/paint_box.h"
#include "ui/speed_button.h"

namespace travoli {

class THintDlg;
class TGiveUpDlg;
class TEndGameDlg;
class TFreewareDlg;
class TSolvedDlg;
class TTongueDlg;
class TDialogForm;
class TScrollText;
class TSimpleLabel;
class RegistryHive;
class TIniCtrl;
class TFormPlacement;

class ErrorPresenter;
class LinkOpener;
class PlacementWindow;
class WaveOutput;

// Every service the main window uses from the desktop. main() puts the real ones here, tests
// their stand-ins; the window keeps none of its own.
struct Platform {
    WaveOutput* soundOutput = nullptr;       // where sounds go
    RegistryHive* hive = nullptr;            // the per-user settings
    std::shared_ptr<LinkOpener> linkOpener;  // the browser and the mail program
    ErrorPresenter* errors = nullptr;        // the message box for errors, or stderr
    // The window as the placement store sees it, made for the main window once it exists.
    std::function<std::unique_ptr<PlacementWindow>(QWidget& window)> placementWindow;
};

// The game's one window: toolbar, board view, moves label and marquee.
class TMainForm : public QWidget, public DialogOwner {
    Q_OBJECT
  public:
    explicit TMainForm(const Platform& platform);
    ~TMainForm() override;

    // ---- The names the game's design gives this window: its controls, the dialogs it owns,
    // its operations and its handlers. Everything else of the window is ours (below).

    QFrame* Panel1;
    TSpeedButton* RestartBtn;
    TSpeedButton* HintBtn;
    TSpeedButton* SoundBtn;
    TSpeedButton* ExitBtn;
    TSpeedButton* prevbtn;
    TLevelScrollBar* levelscroll;
    TSpeedButton* nextbtn;
    TSpeedButton* InfoBtn;
    TSpeedButton* TongueBtn;
    TPaintBox* box;
    QLabel* movl;
    TScrollText* vemScroll;
    TSimpleLabel* vemLabel;
    TBitmapList bitmaps;
    TWaveList waves;
    std::unique_ptr<TIniCtrl> ini;
    std::unique_ptr<TFormPlacement> FormPlacement1;

    THintDlg* HintDlg = nullptr;
    TGiveUpDlg* GiveUpDlg = nullptr;
    TEndGameDlg* EndGameDlg = nullptr;
    TFreewareDlg* FreewareDlg = nullptr;
    TSolvedDlg* SolvedDlg = nullptr;
    TTongueDlg* TongueDlg = nullptr;

    void ApplyLanguage();
    void UpdateTitle();
    void UpdateMovesLabel();
    void DrawCell(int column, int row);
    void boxPaint();
    void boxMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    void PlaySoundEffect(int n);

    void RestartBtnClick();
    void levelscrollChange(int position);
    void prevbtnClick();
    void nextbtnClick();
    void HintBtnClick();
    void InfoBtnClick();
    void TongueBtnClick();
    void ExitBtnClick();
    void ZanfirBtnClick();

    // ---- Ours.

    // The client area: the toolbar, the board view below it, the marquee at the bottom.
    static constexpr int ClientWidth = BoardSurface;
    static constexpr int ToolbarHeight = 33;
    static constexpr int MarqueeHeight = 15;

    // Creates the six dialogs, in the order in which they depend on nothing but this window.
    void CreateDialogs();

    // The desktop session is ending: the quit question decides (true: it may end).
    bool AskToEndSession() { return FormCloseQuery(); }
    // Saves the game values without asking; the position follows when the window goes.
    // From here on errors go to stderr only. False when the values could not be saved.
    bool SaveOnSessionEnd();

    // Read access for the status texts, the dialogs and the tests.
    const GameSession& Session() const { return session_; }
    const ProgressRecord& Progress() const { return progress_; }
    travoli::Language Language() const override { return language_; }
    // The one way the language changes: the language dialog's two buttons and the loading
    // of the saved values call it. Texts follow at their next setting.
    void SetLanguage(travoli::Language language) override { language_ = language; }
    QWidget* OwnerWindow() override { return this; }
    int BackgroundIndex() const { return backgroundIndex_; }
    // What a screen reader is told after a press; the cell at (column, row) for it.
    TAnnouncer* Announcer() const { return announcer_; }
    TBoardCell* BoardCell(int column, int row) const {
        return boardCells_[Board::IndexOf({column, row})];
    }

    // Restores the saved position before the window first becomes visible.
    void setVisible(bool visible) override;

  protected:
    bool event(QEvent* event) override;
    // The digit keys press the cells; every other key goes on as before.
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The design's start-up and shutdown handlers.
    void FormCreate();
    void FormActivate();
    bool FormCloseQuery();
    bool FormClose();
    // Everything saved but the level, which is returned for the level to be set up.
    int LoadGameSettings();
    void SaveGameSettings();
    void FormDestroy();

    void BuildLayout();
    void SetUpKeys();
    void LoadSheets();
    void PaintBoxArea(QPainter& painter, const QRect& dirty);
    // The level as it stands now: the board painted whole, then its texts.
    void ShowLevel();
    // The level's texts: the cells' names for assistive technology, the moves label, the title.
    void ShowLevelTexts();
    // What assistive technology calls a cell's content, by its piece kind.
    static TextId ContentText(int kind);
    // A cell's name for assistive technology: its place and what lies there.
    void NameCell(int column, int row);
    // A press on a cell, whether by the pointer, a digit key or assistive technology.
    void PressBoardCell(int column, int row);
    bool ConfirmLeaveLevel();
    int ShowDialog(TDialogForm* dialog);
    // The result dialog with `message`, said to a screen reader too.
    void ShowResult(TextId message);
    // A sound whose request fails is reported; the press is still carried through.
    void PlaySoundReported(int n);
    // An error of a lower layer in a message box, in the language of this moment.
    void ShowError(const std::exception& error);
    // Centres the moves label by the window's outer width.
    void PlaceMovesLabel();

    Platform platform_;
    std::unique_ptr<PlacementWindow> placementWindow_;
    TBoardCell* boardCells_[9];  // column by column, as the board stores them
    TAnnouncer* announcer_;      // what a screen reader says after a press
    GameSession session_;
    ProgressRecord progress_;
    travoli::Language language_ = NoLanguageChosen;
    int backgroundIndex_ = 0;
    bool firstActivation_ = true;
    bool firstPaint_ = true;
    bool confirming_ = false;
    bool closing_ = false;
    bool sessionEnding_ = false;
    // What the load could not read: kept as stored by the save, and said once at the start.
    std::set<std::string> unreadSettings_;
    bool settingsUnreadable_ = false;  // the settings file itself failed
    std::exception_ptr loadError_;

    QPixmap tileSheet_;
    QPixmap backgroundSheet_;
    QPixmap canvas_;  // the board as last drawn; the surface shows it
};

}  // namespace travoli
