// The board view of the real game window on the offscreen platform: an accepted move with
// its two-cell repaint, and the full painting of the board.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>

#include "game/board_geometry.h"
#include "media/widgets/scroll_text.h"
#include "settings/ini_ctrl.h"
#include "settings/sqlite_hive.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/recording_wave_output.h"
#include "ui/application.h"
#include "ui/main_form.h"
#include "ui/placement_window.h"

namespace {

// The game window on a hive of its own, shown, with the info dialog of the start answered.
// The marquee is stopped and the sound switched off, so only the board's work is timed.
class ShownWindow {
  public:
    ShownWindow() : hive_(dir_.filePath("hive").toStdString()) {
        {
            travoli::TIniCtrl ini(hive_);
            ini.WriteNumber("common", "tongue", 0);
            ini.WriteNumber("common", "level", 1);
        }
        travoli::Platform platform;
        platform.soundOutput = &sound_;
        platform.hive = &hive_;
        platform.errors = &errors_;
        platform.placementWindow = [](QWidget& window) {
            return std::make_unique<travoli::QtPlacementWindow>(&window);
        };
        form = std::make_unique<travoli::TMainForm>(platform);
        form->CreateDialogs();
        answers.ExpectButton("FreewareDlg", "OKBtn");
        form->show();
        form->activateWindow();
        for (int i = 0; i < 400 && answers.Pending() > 0; ++i) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        if (answers.Pending() > 0) {
            throw std::runtime_error("the info dialog never showed");
        }
        form->vemScroll->SetScroll(false);
        form->SoundBtn->SetDown(false);
        QApplication::processEvents();
    }

    // Back to a fresh attempt of level 1; the give-up question is answered yes.
    void Restart() {
        if (form->Session().NeedsGiveUpConfirmation()) {
            answers.ExpectButton("GiveUpDlg", "OKBtn");
        }
        form->RestartBtnClick();
        QApplication::processEvents();
    }

    QTemporaryDir dir_;
    travoli::SqliteHive hive_;
    travoli::RecordingWaveOutput sound_;
    travoli::MessageBoxPresenter errors_;
    travoli::test::ModalAnswerer answers;
    std::unique_ptr<travoli::TMainForm> form;
};

// Level 1 starts with the hole in the middle and a straight white cross left of it:
// pressing (0, 1) and then (1, 1) moves it over and back.
constexpr int LeftX = travoli::BoardLeft + travoli::CellWidth / 2;
constexpr int CentreX = LeftX + travoli::CellWidth;
constexpr int MiddleY = travoli::BoardTop + travoli::CellHeight + travoli::CellHeight / 2;

void BM_AcceptedMoveWithRepaint(benchmark::State& state) {
    ShownWindow window;
    long moves = 0;
    for (auto _ : state) {
        const int before = window.form->Session().moveCount();
        window.form->boxMouseDown(Qt::LeftButton, {}, (moves % 2 == 0) ? LeftX : CentreX, MiddleY);
        QApplication::processEvents();  // the paint event of the two dirty cells
        ++moves;
        if (window.form->Session().moveCount() != before + 1) {
            state.SkipWithError("a press was not accepted");
            break;
        }
        if (moves % 2 == 0 && window.form->Session().moveCount() >= 190) {
            state.PauseTiming();
            window.Restart();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AcceptedMoveWithRepaint);

// The whole surface: nine background squares and nine cells, and the paint event.
void BM_FullBoxPaint(benchmark::State& state) {
    ShownWindow window;
    for (auto _ : state) {
        window.form->boxPaint();
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FullBoxPaint);

// The paint event alone: the board's picture put on the surface, nothing drawn anew.
void BM_BoxPaintEvent(benchmark::State& state) {
    ShownWindow window;
    for (auto _ : state) {
        window.form->box->repaint();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BoxPaintEvent);

}  // namespace
