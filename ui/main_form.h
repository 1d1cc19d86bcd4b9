#pragma once

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QScrollBar>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "game/game_session.h"
#include "game/progress_record.h"
#include "media/container/bitmap_list.h"
#include "media/container/wave_list.h"
#include "ui/board_cell.h"
#include "ui/paint_box.h"
#include "ui/speed_button.h"

namespace travoli {

// The level selector: a horizontal scroll bar whose held arrow can be stopped.
class TLevelScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    explicit TLevelScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}
    void StopRepeating() { setRepeatAction(SliderNoAction); }

  protected:
    // The arrow keys step by one, like the arrow buttons (the page keys, Home and End
    // keep the scroll bar's own handling).
    void keyPressEvent(QKeyEvent* event) override;
};

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
class QtPlacementWindow;

// What the main window needs from the desktop; tests put recording stand-ins here.
struct Platform {
    WaveOutput* soundOutput = nullptr;  // where sounds go
    RegistryHive* hive = nullptr;       // the per-user settings
};

// The game's one window: toolbar, board view, moves label and marquee.
class TMainForm : public QWidget {
    Q_OBJECT
  public:
    explicit TMainForm(const Platform& platform);
    ~TMainForm() override;

    // Creates the six dialogs, in the order in which they depend on nothing but this window.
    void CreateDialogs();

    // Toolbar and board.
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
    TBoardCell* boardCells[9];  // column by column, as the board stores them
    QLabel* movl;
    TScrollText* vemScroll;
    TSimpleLabel* vemLabel;
    TBitmapList bitmaps;
    TWaveList waves;
    std::unique_ptr<TIniCtrl> ini;
    std::unique_ptr<TFormPlacement> FormPlacement1;

    // The dialogs, owned by this window.
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
    bool ConfirmLeaveLevel();
    void HintBtnClick();
    void InfoBtnClick();
    void TongueBtnClick();
    void ExitBtnClick();
    void ZanfirBtnClick();

    // The desktop session is ending: the quit question decides (true: it may end).
    bool AskToEndSession() { return FormCloseQuery(); }
    // Saves the game values without asking; the position follows when the window goes.
    void SaveOnSessionEnd();

    // Read access for the status texts, the dialogs and the tests.
    const GameSession& Session() const { return session_; }
    const ProgressRecord& Progress() const { return progress_; }
    std::int32_t Language() const { return language_; }
    int BackgroundIndex() const { return backgroundIndex_; }

  protected:
    bool event(QEvent* event) override;

  public:
    void setVisible(bool visible) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
    void FormActivate();
    bool FormCloseQuery();
    bool FormClose();
    void LoadGameSettings();
    void SaveGameSettings();
    void FormDestroy();

    void BuildLayout();
    void LoadSheets();
    void PaintBoxArea(QPainter& painter, const QRect& dirty);
    int ShowDialog(TDialogForm* dialog);
    // A sound whose request fails is reported; the press is still carried through.
    void PlaySoundReported(int n);

    Platform platform_;
    std::unique_ptr<QtPlacementWindow> placementWindow_;
    GameSession session_;
    ProgressRecord progress_;
    std::int32_t language_ = -1;
    int backgroundIndex_ = 0;
    bool firstActivation_ = true;
    bool firstPaint_ = true;
    bool confirming_ = false;
    bool closing_ = false;

    QPixmap tileSheet_;
    QPixmap backgroundSheet_;
    QPixmap canvas_;  // the board as last drawn; the surface shows it
};

}  // namespace travoli
