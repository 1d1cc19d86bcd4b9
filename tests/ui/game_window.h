#pragma once

#include <QAccessible>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "game/board_geometry.h"
#include "media/widgets/link_opener.h"
#include "settings/ini_ctrl.h"
#include "settings/sqlite_hive.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/recording_wave_output.h"
#include "ui/application.h"
#include "ui/main_form.h"
#include "ui/placement_window.h"
#include "ui/solved_dlg.h"

namespace travoli::test {

// Links followed are kept, and count as opened.
class RecordingLinks : public LinkOpener {
  public:
    void Open(const std::string& target, std::function<void(bool ok)> done) override {
        targets.push_back(target);
        done(true);
    }
    std::vector<std::string> targets;
};

// Error boxes recorded instead of shown; what goes to stderr still goes there.
class RecordingErrors : public MessageBoxPresenter {
  public:
    void Show(const QString& text) override { shown << text; }
    QStringList shown;
};

// The game window on a hive of its own, with recorded sounds and recorded error boxes.
class GameWindow {
  public:
    // language: the saved "tongue"; -1 leaves it unsaved (the first run). `prepare` may
    // write further saved values before the window is created, `prepareHive` may then do
    // what the store never would (values of other types, a file in the way).
    explicit GameWindow(int language = 0, int level = 0,
                        const std::function<void(TIniCtrl&)>& prepare = {},
                        const std::function<void(SqliteHive&)>& prepareHive = {})
        : hive_(dir_.filePath("hive").toStdString()) {
        {
            TIniCtrl ini(hive_);
            if (language != -1) {
                ini.WriteNumber("common", "tongue", language);
            }
            if (level != 0) {
                ini.WriteNumber("common", "level", level);
            }
            if (prepare) {
                prepare(ini);
            }
        }
        if (prepareHive) {
            prepareHive(hive_);
        }
        Platform platform;
        platform.soundOutput = &sound;
        platform.hive = &hive_;
        platform.linkOpener = links;
        platform.errors = &recorded_;
        platform.placementWindow = [](QWidget& window) {
            return std::make_unique<QtPlacementWindow>(&window);
        };
        form = std::make_unique<TMainForm>(platform);
        form->CreateDialogs();
    }

    // Shows the window and answers the start dialogs (the language dialog with `button`
    // when no language was saved), then waits until they are closed.
    void Start(const char* languageButton = nullptr) {
        if (languageButton != nullptr) {
            answers.ExpectButton("TongueDlg", languageButton);
        }
        answers.ExpectButton("FreewareDlg", "OKBtn");
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTRY_COMPARE_WITH_TIMEOUT(answers.Pending(), 0, 5000);
        QTest::qWait(20);
    }

    // A press on the centre of cell (column, row) of the board.
    void Press(int column, int row, Qt::MouseButton button = Qt::LeftButton) {
        PressAt(BoardLeft + CellWidth * column + CellWidth / 2,
                BoardTop + CellHeight * row + CellHeight / 2, button);
    }
    // The other ways to press a cell: its digit on the main row or the numeric keypad,
    // typed into the level selector, which holds the focus, or its press action through
    // assistive technology.
    enum class By { Pointer, Digit, Keypad, Accessible };
    void PressBy(By by, int column, int row) {
        TBoardCell* cell = form->BoardCell(column, row);
        const auto digit = Qt::Key(Qt::Key_0 + cell->Digit());
        switch (by) {
            case By::Pointer:
                Press(column, row);
                break;
            case By::Digit:
                QTest::keyClick(form->levelscroll, digit);
                break;
            case By::Keypad:
                QTest::keyClick(form->levelscroll, digit, Qt::KeypadModifier);
                break;
            case By::Accessible:
                QAccessible::queryAccessibleInterface(cell)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
                QCoreApplication::sendPostedEvents(cell, QEvent::MetaCall);
                break;
        }
        // What the press announces is said when the event loop comes round again.
        QCoreApplication::sendPostedEvents(form->Announcer(), QEvent::MetaCall);
    }
    void PressAt(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(form->box, button, {}, QPoint(x, y));
    }

    // Which sounds (1-3) were heard since the last call.
    QList<int> TakeSounds() {
        QList<int> heard;
        for (const auto& request : sound.Requests()) {
            for (int n = 1; n <= 3; ++n) {
                if (request.Played(form->waves.Items(n - 1).Wave().Bytes())) {
                    heard << n;
                }
            }
        }
        sound.Forget();
        return heard;
    }

    QString ResultMessage() const { return form->SolvedDlg->Message(); }
    QString Hive() const { return dir_.filePath("hive"); }
    RegistryHive& HiveStore() { return hive_; }

    QTemporaryDir dir_;
    SqliteHive hive_;
    RecordingWaveOutput sound;
    ModalAnswerer answers;
    RecordingErrors recorded_;
    QStringList& errors = recorded_.shown;
    // The maker's links go nowhere.
    std::shared_ptr<LinkOpener> links = std::make_shared<RecordingLinks>();
    std::unique_ptr<TMainForm> form;
};

}  // namespace travoli::test
