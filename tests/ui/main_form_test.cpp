#include <sys/stat.h>
#include <unistd.h>
#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <filesystem>
#include <stdexcept>

#include "media/widgets/scroll_text.h"
#include "tests/support/temp_folder.h"
#include "tests/ui/game_window.h"
#include "texts/texts.h"
#include "ui/dialog_form.h"
#include "ui/end_game_dlg.h"
#include "ui/give_up_dlg.h"
#include "ui/hint_dlg.h"
#include "ui/media_records.h"
#include "ui/tongue_dlg.h"

using travoli::test::GameWindow;

namespace {

struct Press {
    int column;
    int row;
};

// The shortest solution of level 32.
const Press Level32[] = {{1, 2}, {0, 1}, {1, 0}, {1, 1}, {0, 0}, {1, 0}, {2, 1}, {2, 2}, {1, 1},
                         {2, 0}, {2, 1}, {1, 2}, {0, 1}, {0, 2}, {1, 1}, {0, 1}, {1, 0}, {1, 1}};

// Moves the bottom centre cross of level 32 up and back: two moves, same board.
void Shuffle(GameWindow& game, int pairs) {
    for (int i = 0; i < pairs; ++i) {
        game.Press(1, 2);
        game.Press(1, 1);
    }
}

void PlayLevel32(GameWindow& game) {
    for (const Press& press : Level32) {
        game.Press(press.column, press.row);
    }
}

QString MovesLabel(int moves) {
    return QStringLiteral(" Moves: %1 ").arg(moves);
}

// Answers the result dialog with OK, remembering its message.
void ExpectResult(GameWindow& game, QString& message) {
    game.answers.Expect("SolvedDlg", [&game, &message](QDialog& dialog) {
        message = game.ResultMessage();
        dialog.findChild<QPushButton*>("OKBtn")->click();
    });
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT
  private slots:
    void firstRunShowsLanguageThenInfo();
    void savedLanguageShowsOnlyInfo();
    void solvingLevel32_data();
    void solvingLevel32();
    void solvingAgainAndBetter();
    void moveLimit();
    void refusedPressAndSoundSwitch();
    void pressesBesideTheBoardCycleTheBackground();
    void cellGeometry_data();
    void cellGeometry();
    void giveUpQuestion_data();
    void giveUpQuestion();
    void noQuestionWithoutAnAttempt();
    void nextAndPreviousUnsolved();
    void languageButton();
    void quitQuestion();
    void placeOverMainWindow();
    void layoutAndTooltips();
    void failedSoundStillRecordsTheSolution();
    void errorsReachTheTopLevelHandler();
    void errorTextsKeepTheirUmlauts();
    void saveFailureChoice_data();
    void saveFailureChoice();
    void rulesDialog();
    void boardPixels();
    void accessibility();
};

// Presses the left button at `at`, holds it for `ms`, lets go.
void HoldMouse(QWidget* widget, QPoint at, int ms) {
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QTest::qWait(ms);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

void MainFormTest::firstRunShowsLanguageThenInfo() {
    GameWindow game(-1);
    game.Start("GermanBtn");
    QCOMPARE(game.answers.Seen(), (QStringList{"TongueDlg", "FreewareDlg"}));
    QCOMPARE(game.form->Language(), 1);
    // The hints keep the language they got at creation; title and label follow the choice.
    QCOMPARE(game.form->RestartBtn->toolTip(), QStringLiteral("I try it again."));
    QTRY_COMPARE(game.form->windowTitle(), QString::fromUtf8("Travoli - Stufe 1: ungelöst"));
    QCOMPARE(game.form->movl->text(), QString::fromUtf8(" Züge: 0 "));
    QCOMPARE(game.form->Session().level(), 1);
}

void MainFormTest::savedLanguageShowsOnlyInfo() {
    GameWindow game(5);
    game.Start();
    QCOMPARE(game.answers.Seen(), (QStringList{"FreewareDlg"}));
    QTRY_COMPARE(game.form->windowTitle(), QStringLiteral("Travoli - level 1: unsolved"));
    // Coming back to the window brings no start dialog again.
    game.form->activateWindow();
    QTest::qWait(30);
    QCOMPARE(game.answers.Seen(), (QStringList{"FreewareDlg"}));
}

void MainFormTest::solvingLevel32_data() {
    QTest::addColumn<int>("by");
    QTest::addRow("pointer") << int(GameWindow::By::Pointer);
    QTest::addRow("digit keys") << int(GameWindow::By::Digit);
    QTest::addRow("keypad") << int(GameWindow::By::Keypad);
    QTest::addRow("accessible press") << int(GameWindow::By::Accessible);
}

// However a cell is pressed, the press is the same: rule, count, sounds, dialog, title.
void MainFormTest::solvingLevel32() {
    QFETCH(int, by);
    GameWindow game(0, 32);
    game.Start();
    QCOMPARE(game.form->Session().level(), 32);
    QCOMPARE(game.form->levelscroll->value(), 32);
    game.TakeSounds();

    QString message, titleDuringDialog;
    QList<int> soundsBeforeDialog;
    game.answers.Expect("SolvedDlg", [&](QDialog& dialog) {
        message = game.ResultMessage();
        titleDuringDialog = game.form->windowTitle();
        soundsBeforeDialog = game.TakeSounds();
        dialog.findChild<QPushButton*>("OKBtn")->click();
    });
    for (int i = 0; i < 17; ++i) {
        game.PressBy(GameWindow::By(by), Level32[i].column, Level32[i].row);
        QCOMPARE(game.TakeSounds(), QList<int>{2});
        QCOMPARE(game.form->movl->text(), MovesLabel(i + 1));
    }
    // A press on the hole is refused and said so.
    int hole = 0;
    while (game.form->Session().board().at(hole % 3, hole / 3) != 6) {
        ++hole;
    }
    game.PressBy(GameWindow::By(by), hole % 3, hole / 3);
    QCOMPARE(game.TakeSounds(), QList<int>{3});
    QTRY_COMPARE(game.form->Announcer()->LastSaid(),
                 QStringLiteral("No move: empty cell, row %1, column %2")
                     .arg(hole / 3 + 1)
                     .arg(hole % 3 + 1));
    QCOMPARE(game.answers.Seen(), QStringList{"FreewareDlg"});
    game.PressBy(GameWindow::By(by), Level32[17].column, Level32[17].row);
    QCOMPARE(game.answers.Seen(), (QStringList{"FreewareDlg", "SolvedDlg"}));
    QCOMPARE(soundsBeforeDialog, (QList<int>{2, 1}));
    QCOMPARE(message, QStringLiteral("Hurrah, you did it! You've found a solution."));
    QCOMPARE(titleDuringDialog, QStringLiteral("Travoli - level 32: unsolved"));
    QCOMPARE(game.form->windowTitle(), QStringLiteral("Travoli - level 32: 18 moves"));
    QCOMPARE(game.form->Progress().BestMoves(32), 18);
    QCOMPARE(game.form->Session().board().ToString(), std::string("0 0 0 / 4 6 4 / 5 5 5"));
    // The last count and the result were said together; the selector kept its level.
    QCOMPARE(game.form->Announcer()->LastSaid(),
             QStringLiteral("Moves: 18 Hurrah, you did it! You've found a solution."));
    QCOMPARE(game.form->levelscroll->value(), 32);
}

void MainFormTest::solvingAgainAndBetter() {
    GameWindow game(0, 32);
    game.Start();
    const struct {
        int pairs;
        const char* message;
        int best;
    } rounds[] = {
        {2, "Hurrah, you did it! You've found a solution.", 22},
        {1, "Hurrah, you did it! You've found a better solution.", 20},
        {1, "Hurrah, you did it!", 20},
        {3, "Hurrah, you did it!", 20},
    };
    for (const auto& round : rounds) {
        QString message;
        ExpectResult(game, message);
        Shuffle(game, round.pairs);
        PlayLevel32(game);
        QCOMPARE(message, QLatin1String(round.message));
        QCOMPARE(game.form->windowTitle(),
                 QStringLiteral("Travoli - level 32: %1 moves").arg(round.best));
        // A solved level is restarted without a question.
        game.form->RestartBtn->click();
        QCOMPARE(game.form->Session().moveCount(), 0);
    }
    QCOMPARE(game.answers.Pending(), 0);
    QVERIFY(!game.answers.Seen().join(',').contains('!'));
}

void MainFormTest::moveLimit() {
    GameWindow game(0, 32);
    game.Start();
    game.TakeSounds();
    QString message, labelDuringDialog;
    QList<int> soundsBeforeDialog;
    game.answers.Expect("SolvedDlg", [&](QDialog& dialog) {
        message = game.ResultMessage();
        labelDuringDialog = game.form->movl->text();
        soundsBeforeDialog = game.TakeSounds();
        dialog.findChild<QPushButton*>("OKBtn")->click();
    });
    Shuffle(game, 99);
    game.Press(1, 2);  // move 199
    QCOMPARE(game.TakeSounds().size(), 199);
    game.Press(1, 1);  // move 200
    QCOMPARE(message, QStringLiteral("Sorry, you needed to many moves."));
    QCOMPARE(soundsBeforeDialog, QList<int>{3});
    QCOMPARE(labelDuringDialog, MovesLabel(199));
    QCOMPARE(game.form->movl->text(), MovesLabel(200));
    QCOMPARE(game.TakeSounds(), QList<int>{});
    // Crosses still move after the limit, in silence, and no question guards the level.
    game.Press(1, 2);
    QCOMPARE(game.form->Session().board().at(1, 2), travoli::EmptyCell);
    QCOMPARE(game.form->movl->text(), MovesLabel(200));
    QCOMPARE(game.TakeSounds(), QList<int>{});
    game.form->RestartBtn->click();
    QCOMPARE(game.form->Session().moveCount(), 0);
    QCOMPARE(game.answers.Seen(), (QStringList{"FreewareDlg", "SolvedDlg"}));
}

void MainFormTest::refusedPressAndSoundSwitch() {
    GameWindow game(0, 1);
    game.Start();
    game.TakeSounds();
    const std::string start = game.form->Session().board().ToString();
    game.Press(0, 0);  // a straight cross diagonal to the hole
    game.Press(1, 1);  // the hole itself
    QCOMPARE(game.TakeSounds(), (QList<int>{3, 3}));
    QCOMPARE(game.form->Session().board().ToString(), start);
    QCOMPARE(game.form->movl->text(), MovesLabel(0));

    QVERIFY(game.form->SoundBtn->Down());
    game.form->SoundBtn->click();
    QVERIFY(!game.form->SoundBtn->Down());
    game.Press(1, 0);
    game.Press(1, 2);  // two cells below the hole now: refused, and silent too
    QCOMPARE(game.TakeSounds(), QList<int>{});
    QCOMPARE(game.form->Session().moveCount(), 1);
    // A secondary button presses like the primary one.
    game.form->SoundBtn->click();
    game.Press(1, 1, Qt::RightButton);
    QCOMPARE(game.form->Session().moveCount(), 2);
    QCOMPARE(game.TakeSounds(), QList<int>{2});
}

void MainFormTest::pressesBesideTheBoardCycleTheBackground() {
    GameWindow game(0, 0, [](travoli::TIniCtrl& ini) { ini.WriteNumber("common", "back", 3); });
    game.Start();
    QCOMPARE(game.form->BackgroundIndex(), 3);
    const QPoint beside[] = {{49, 100}, {284, 100}, {100, 287}, {300, 300}};
    const int expected[] = {4, 5, 0, 1};
    for (int i = 0; i < 4; ++i) {
        game.PressAt(beside[i].x(), beside[i].y());
        QCOMPARE(game.form->BackgroundIndex(), expected[i]);
    }
    QCOMPARE(game.TakeSounds(), QList<int>{});
    QCOMPARE(game.form->Session().moveCount(), 0);
    // The moves label lies over the margin and takes its presses itself.
    QTest::mouseClick(game.form->movl, Qt::LeftButton);
    QCOMPARE(game.form->BackgroundIndex(), 1);
}

void MainFormTest::cellGeometry_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("holeColumn");  // where the hole is after the press; -1 refused
    QTest::addColumn<int>("holeRow");
    QTest::newRow("top left of (1,0)") << QPoint(128, 50) << 1 << 0;
    QTest::newRow("bottom right of (1,0)") << QPoint(205, 128) << 1 << 0;
    QTest::newRow("top left of (0,1)") << QPoint(50, 129) << 0 << 1;
    QTest::newRow("bottom right of (0,1)") << QPoint(127, 207) << 0 << 1;
    QTest::newRow("top left of (2,1)") << QPoint(206, 129) << 2 << 1;
    QTest::newRow("top left of (1,2)") << QPoint(128, 208) << 1 << 2;
    QTest::newRow("(50,50) is (0,0)") << QPoint(50, 50) << -1 << -1;
    QTest::newRow("(127,128) is (0,0)") << QPoint(127, 128) << -1 << -1;
    QTest::newRow("(283,286) is (2,2)") << QPoint(283, 286) << -1 << -1;
}

void MainFormTest::cellGeometry() {
    QFETCH(QPoint, at);
    QFETCH(int, holeColumn);
    QFETCH(int, holeRow);
    GameWindow game(0, 1);
    game.Start();
    game.TakeSounds();
    game.PressAt(at.x(), at.y());
    QCOMPARE(game.form->BackgroundIndex(), 0);
    if (holeColumn < 0) {
        QCOMPARE(game.TakeSounds(), QList<int>{3});
        QCOMPARE(game.form->Session().moveCount(), 0);
    } else {
        const travoli::Cell hole = game.form->Session().board().Hole();
        QCOMPARE(hole.column, holeColumn);
        QCOMPARE(hole.row, holeRow);
    }
}

void MainFormTest::giveUpQuestion_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("goesAhead");
    for (const char* command :
         {"restart", "selector", "prev", "next", "held arrow", "F2", "Ctrl+P", "Ctrl+N", "End"}) {
        QTest::addRow("%s, yes", command) << command << "yes" << true;
        QTest::addRow("%s, no", command) << command << "no" << false;
        QTest::addRow("%s, Escape", command) << command << "escape" << false;
        QTest::addRow("%s, close box", command) << command << "close" << true;
    }
}

void MainFormTest::giveUpQuestion() {
    QFETCH(QString, command);
    QFETCH(QString, answer);
    QFETCH(bool, goesAhead);
    GameWindow game(0, 32);
    game.Start();
    game.Press(1, 2);
    const std::string board = game.form->Session().board().ToString();

    QString question;
    game.answers.Expect("GiveUpDlg", [&](QDialog& dialog) {
        question = dialog.findChild<QLabel*>("Label1")->text();
        if (answer == "yes") {
            dialog.findChild<QPushButton*>("OKBtn")->click();
        } else if (answer == "no") {
            dialog.findChild<QPushButton*>("CancelBtn")->click();
        } else if (answer == "escape") {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            dialog.close();
        }
    });
    int expectedLevel = 32;
    if (command == "restart") {
        game.form->RestartBtn->click();
    } else if (command == "selector") {
        game.form->levelscroll->setValue(40);
        expectedLevel = 40;
    } else if (command == "held arrow") {
        // The repeat stops for the question: one question, one step.
        HoldMouse(game.form->levelscroll, {106, 8}, 2000);
        expectedLevel = 33;
    } else if (command == "prev") {
        game.form->prevbtn->click();
        expectedLevel = 31;
    } else if (command == "next") {
        game.form->nextbtn->click();
        expectedLevel = 33;
    } else {
        // The toolbar's keys, and the selector's own End, typed where the focus is.
        game.form->activateWindow();
        QTRY_VERIFY(game.form->isActiveWindow());
        const QKeySequence key(command);
        QTest::keyClick(game.form->levelscroll, Qt::Key(key[0].key()), key[0].keyboardModifiers());
        expectedLevel = command == "F2"       ? 32
                        : command == "Ctrl+P" ? 31
                        : command == "End"    ? 225
                                              : 33;
    }
    QTRY_COMPARE(game.answers.Pending(), 0);
    QCOMPARE(game.answers.Seen(), (QStringList{"FreewareDlg", "GiveUpDlg"}));
    QCOMPARE(question, QStringLiteral("Do you really want to give up the level?"));
    if (goesAhead) {
        QCOMPARE(game.form->Session().level(), expectedLevel);
        QCOMPARE(game.form->Session().moveCount(), 0);
        QCOMPARE(game.form->movl->text(), MovesLabel(0));
    } else {
        QCOMPARE(game.form->Session().level(), 32);
        QCOMPARE(game.form->Session().moveCount(), 1);
        QCOMPARE(game.form->Session().board().ToString(), board);
        QCOMPARE(game.form->movl->text(), MovesLabel(1));
    }
    // The selector always shows the level being played.
    QCOMPARE(game.form->levelscroll->value(), game.form->Session().level());
    QTRY_COMPARE(game.form->windowTitle(),
                 QStringLiteral("Travoli - level %1: unsolved").arg(game.form->Session().level()));
}

void MainFormTest::noQuestionWithoutAnAttempt() {
    GameWindow game(0, 32);
    game.Start();
    // Held like any scroll bar, the arrow and the groove beside the thumb keep stepping.
    HoldMouse(game.form->levelscroll, {106, 8}, 2000);
    QVERIFY2(game.form->Session().level() >= 42, "the held arrow stopped repeating");
    const int afterArrow = game.form->Session().level();
    HoldMouse(game.form->levelscroll, {95, 8}, 1500);
    QVERIFY2(game.form->Session().level() >= afterArrow + 20, "the held groove stopped repeating");
    QCOMPARE(game.form->levelscroll->value(), game.form->Session().level());
    game.form->levelscroll->setValue(50);  // 0 moves
    QCOMPARE(game.form->Session().level(), 50);
    game.form->levelscroll->setValue(32);
    QString message;
    ExpectResult(game, message);
    PlayLevel32(game);  // solved
    game.form->nextbtn->click();
    QCOMPARE(game.form->Session().level(), 33);
    QCOMPARE(game.answers.Seen(), (QStringList{"FreewareDlg", "SolvedDlg"}));
    // The keyboard moves the selector too.
    game.form->levelscroll->setFocus();
    QTest::keyClick(game.form->levelscroll, Qt::Key_End);
    QCOMPARE(game.form->Session().level(), 225);
    QTest::keyClick(game.form->levelscroll, Qt::Key_PageUp);
    QCOMPARE(game.form->Session().level(), 215);
    QTest::keyClick(game.form->levelscroll, Qt::Key_Home);
    QCOMPARE(game.form->Session().level(), 1);
    QTest::keyClick(game.form->levelscroll, Qt::Key_Right);
    QTest::keyClick(game.form->levelscroll, Qt::Key_Right);
    QTest::keyClick(game.form->levelscroll, Qt::Key_Left);
    QTest::keyClick(game.form->levelscroll, Qt::Key_PageDown);
    QCOMPARE(game.form->Session().level(), 12);
}

void MainFormTest::nextAndPreviousUnsolved() {
    // Every level solved in 30 moves but level 1.
    const auto allButOne = [](travoli::TIniCtrl& ini) {
        ini.WriteText("common", "solution", " " + std::string(224, char(30 + 32)));
    };
    GameWindow game(0, 225, allButOne);
    game.Start();
    QCOMPARE(game.form->windowTitle(), QStringLiteral("Travoli - level 225: 30 moves"));
    game.form->nextbtn->click();
    QCOMPARE(game.form->Session().level(), 1);
    QCOMPARE(game.form->levelscroll->value(), 1);
    game.Press(1, 0);
    // Only the current level is unsolved: both buttons change nothing and ask nothing.
    game.form->prevbtn->click();
    game.form->nextbtn->click();
    QCOMPARE(game.form->Session().level(), 1);
    QCOMPARE(game.form->Session().moveCount(), 1);
    QCOMPARE(game.answers.Seen(), QStringList{"FreewareDlg"});
}

void MainFormTest::languageButton() {
    GameWindow game(0, 17, [](travoli::TIniCtrl& ini) {
        ini.WriteText("common", "solution", std::string(16, ' ') + char(23 + 32));
    });
    game.Start();
    QCOMPARE(game.form->windowTitle(), QStringLiteral("Travoli - level 17: 23 moves"));
    game.answers.ExpectButton("TongueDlg", "GermanBtn");
    game.form->TongueBtn->click();
    QCOMPARE(game.form->Language(), 1);
    QCOMPARE(game.form->RestartBtn->toolTip(), QString::fromUtf8("Ich probier's nochmal."));
    QCOMPARE(game.form->levelscroll->toolTip(),
             QString::fromUtf8("Ich probier eine andere Stufe."));
    QCOMPARE(game.form->TongueBtn->toolTip(), QStringLiteral("Sprache/Language"));
    QVERIFY(game.form->vemScroll->Lines().value(0).startsWith("Klicke hier"));
    QCOMPARE(game.form->windowTitle(), QString::fromUtf8("Travoli - Stufe 17: 23 Züge"));
    QTRY_COMPARE(game.form->movl->text(), QString::fromUtf8(" Züge: 0 "));

    // The dialogs speak German now.
    QStringList buttons;
    game.answers.Expect("GiveUpDlg", [&](QDialog& dialog) {
        buttons << dialog.findChild<QPushButton*>("OKBtn")->text()
                << dialog.findChild<QPushButton*>("CancelBtn")->text()
                << dialog.findChild<QLabel*>("Label1")->text();
        dialog.findChild<QPushButton*>("CancelBtn")->click();
    });
    game.Press(1, 0);
    game.form->RestartBtn->click();
    QCOMPARE(buttons, (QStringList{"Ja", "Nein", "Willst Du die Stufe wirklich aufgeben?"}));

    // Escape does nothing in the language dialog; its close box keeps the language.
    game.answers.ExpectKey("TongueDlg", Qt::Key_Escape);
    game.answers.ExpectCloseBox("TongueDlg");
    game.form->TongueBtn->click();
    QCOMPARE(game.form->Language(), 1);
    QCOMPARE(game.answers.Pending(), 0);
    QCOMPARE(game.form->HintBtn->toolTip(), QString::fromUtf8("Worum geht's da eigentlich?"));
}

void MainFormTest::quitQuestion() {
    GameWindow game(0, 12);
    game.Start();
    game.Press(1, 2);
    // No, Escape and the close box all keep the game going, and nothing is saved.
    game.answers.ExpectButton("EndGameDlg", "CancelBtn");
    game.answers.ExpectKey("EndGameDlg", Qt::Key_Escape);
    game.answers.ExpectCloseBox("EndGameDlg");
    game.form->ExitBtn->click();
    game.form->close();
    game.form->ExitBtn->click();
    QVERIFY(game.form->isVisible());
    QCOMPARE(game.form->Session().moveCount(), 1);
    {
        travoli::TIniCtrl ini(game.HiveStore());
        QCOMPARE(ini.ReadText("common", "solution", "none"), std::string("none"));
    }
    // Yes ends it: the info dialog once more, then the values are written.
    bool savedBeforeInfo = true;
    game.answers.ExpectButton("EndGameDlg", "OKBtn");
    game.answers.Expect("FreewareDlg", [&](QDialog& dialog) {
        travoli::TIniCtrl ini(game.HiveStore());
        savedBeforeInfo = ini.ReadText("common", "solution", "none") != "none";
        dialog.findChild<QPushButton*>("OKBtn")->click();
    });
    game.form->ExitBtn->click();
    QVERIFY(!game.form->isVisible());
    QVERIFY(!savedBeforeInfo);
    QCOMPARE(game.answers.Seen(), (QStringList{"FreewareDlg", "EndGameDlg", "EndGameDlg",
                                               "EndGameDlg", "EndGameDlg", "FreewareDlg"}));
    travoli::TIniCtrl ini(game.HiveStore());
    QCOMPARE(ini.ReadNumber("common", "level", 0), 12);
    QCOMPARE(ini.ReadText("common", "solution", ""), std::string(225, ' '));
}

void MainFormTest::placeOverMainWindow() {
    QCOMPARE(travoli::TDialogForm::PlaceOver(QRect(100, 100, 343, 416), 385, QSize(267, 129)),
             QPoint(138, 259));
    QCOMPARE(travoli::TDialogForm::PlaceOver(QRect(-300, 0, 343, 416), 385, QSize(268, 130)),
             QPoint(-300 + 37, 0 + 416 - 257));
    GameWindow game(0, 32);
    game.Start();
    game.form->move(200, 150);
    QPoint shownAt;
    game.answers.Expect("GiveUpDlg", [&](QDialog& dialog) {
        shownAt = dialog.windowHandle()->frameGeometry().topLeft();
        dialog.close();
    });
    game.Press(1, 2);
    game.form->RestartBtn->click();
    const QRect main = game.form->windowHandle()->frameGeometry();
    QCOMPARE(shownAt, travoli::TDialogForm::PlaceOver(
                          main, game.form->height(), game.form->GiveUpDlg->frameGeometry().size()));
}

void MainFormTest::layoutAndTooltips() {
    GameWindow game(0);
    const auto* form = game.form.get();
    QCOMPARE(form->size(), QSize(337, 385));
    QCOMPARE(form->windowTitle(), QStringLiteral("Travoli"));  // until the first painting
    QCOMPARE(form->Panel1->geometry(), QRect(0, 0, 337, 33));
    QCOMPARE(form->box->geometry(), QRect(0, 33, 337, 337));
    QCOMPARE(form->vemScroll->geometry(), QRect(0, 370, 337, 15));
    QCOMPARE(form->levelscroll->geometry(), QRect(140, 8, 114, 16));
    QCOMPARE(form->levelscroll->minimum(), 1);
    QCOMPARE(form->levelscroll->maximum(), 225);
    QCOMPARE(form->levelscroll->pageStep(), 10);
    QCOMPARE(form->nextbtn->geometry(), QRect(255, 8, 17, 17));
    QCOMPARE(form->TongueBtn->geometry(), QRect(306, 4, 25, 25));
    QCOMPARE(form->movl->y(), 42);
    const auto labelLeft = [form] {
        return (form->frameGeometry().width() - form->movl->width()) / 2 - 4;
    };
    QCOMPARE(form->movl->x(), labelLeft());
    QCOMPARE(form->minimumSize(), form->maximumSize());  // what tiling compositors float
    // A desktop that maximizes or fullscreens the fixed window gets it back at its size.
    for (const Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
        game.form->setWindowState(state);
        QTRY_COMPARE(form->windowState(), Qt::WindowStates(Qt::WindowNoState));
        QTRY_COMPARE(form->size(), QSize(337, 385));
    }
    // The desktop stretched the window, a repaint placed the label by that width, and the
    // size came back: the resize alone puts the label back.
    game.form->movl->move(302, 42);
    QResizeEvent back(QSize(337, 385), QSize(700, 700));
    QApplication::sendEvent(game.form.get(), &back);
    QCOMPARE(form->movl->x(), labelLeft());
    const QList<QPair<QWidget*, const char*>> hints = {
        {form->RestartBtn, "I try it again."},
        {form->HintBtn, "What's to do here?"},
        {form->SoundBtn, "I dont like the sound always."},
        {form->ExitBtn, "I have enough!"},
        {form->prevbtn, "Previous unsolved level"},
        {form->levelscroll, "I try another level."},
        {form->nextbtn, "Next unsolved level"},
        {form->InfoBtn, "Who did these ZANFIR GAME?"},
        {form->TongueBtn, "Sprache/Language"},
    };
    for (const auto& [control, hint] : hints) {
        QCOMPARE(control->toolTip(), QLatin1String(hint));
    }
    QVERIFY(form->vemScroll->Lines().value(0).startsWith("Click here do visit"));
    QVERIFY(form->vemScroll->Scroll());
    // The pictures came with the program: the window's icon and the dialogs' buttons.
    QVERIFY(!form->windowIcon().isNull());
    QVERIFY(!form->GiveUpDlg->OKBtn->icon().isNull());
    QCOMPARE(form->GiveUpDlg->OKBtn->iconSize(), QSize(18, 18));
}

void MainFormTest::failedSoundStillRecordsTheSolution() {
    GameWindow game(0, 32);
    game.Start();
    QString message;
    ExpectResult(game, message);
    for (int i = 0; i < 17; ++i) {
        game.Press(Level32[i].column, Level32[i].row);
    }
    game.TakeSounds();
    game.sound.RefuseNextPlay("The sound output refused to play.");
    game.Press(Level32[17].column, Level32[17].row);
    QCOMPARE(game.errors, QStringList{"The sound output refused to play."});
    QCOMPARE(game.TakeSounds(), QList<int>{1});
    QCOMPARE(message, QStringLiteral("Hurrah, you did it! You've found a solution."));
    QCOMPARE(game.form->Progress().BestMoves(32), 18);
    QCOMPARE(game.form->windowTitle(), QStringLiteral("Travoli - level 32: 18 moves"));
}

namespace {
// Throws from its event handler, as a window's handler does when the platform refuses.
class ThrowingObject : public QObject {
  public:
    int handled = 0;
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) {
            return QObject::event(event);
        }
        ++handled;
        if (handled == 1) {
            throw std::runtime_error("Schl\u00FCssel kaputt");
        }
        if (handled == 2) {
            throw 42;
        }
        return true;
    }
};

void PutValue(travoli::SqliteHive& hive, const char* name, std::uint32_t type,
              const std::string& data) {
    travoli::HKEY key = 0;
    QCOMPARE(
        hive.CreateKey(travoli::HKEY_CURRENT_USER, "Software\\ZanfirGames\\Travoli\\V2\\common",
                       travoli::KeyAccess::AllAccess, key),
        travoli::HiveStatus::Ok);
    QCOMPARE(hive.SetValue(key, name, type, data), travoli::HiveStatus::Ok);
    QCOMPARE(hive.CloseKey(key), travoli::HiveStatus::Ok);
}

// The settings file replaced by a folder: every open of it fails.
void BlockHive(const std::string& path) {
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
}
}  // namespace

void MainFormTest::errorsReachTheTopLevelHandler() {
    travoli::test::RecordingErrors recorded;
    const QStringList& shown = recorded.shown;
    auto& app = static_cast<travoli::TApplication&>(*QCoreApplication::instance());
    app.ShowEscapedErrors(&recorded, [] { return travoli::EnglishLanguage; });
    const auto restore = qScopeGuard([&app] { app.ShowEscapedErrors(nullptr, {}); });
    ThrowingObject target;
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    }
    QTRY_COMPARE(target.handled, 3);  // the loop went on after each error
    QCOMPARE(shown, (QStringList{QString::fromUtf8("Schlüssel kaputt"),
                                 QStringLiteral("An unexpected error occurred.")}));
}

// One error of each path the player can meet, read as shown: umlauts intact, said once.
void MainFormTest::errorTextsKeepTheirUmlauts() {
    const QString settingsMessage = travoli::TextFor(travoli::TextId::SettingsUnreadable, 0);
    {  // start-up load: a value of another type
        GameWindow game(0, 5, {}, [](travoli::SqliteHive& hive) {
            PutValue(hive, "back", travoli::REG_DWORD, std::string("\x02\0\0\0", 4));
        });
        game.Start();
        QCOMPARE(
            game.errors,
            QStringList{settingsMessage.arg(QString::fromUtf8("Ungültiger Datentyp für 'back'"))});
        QCOMPARE(game.form->Session().level(), 5);  // the rest still loaded
    }
    {  // placement restore, through the top-level handler
        GameWindow game(0, 0, {}, [](travoli::SqliteHive& hive) {
            PutValue(hive, "MainForm", travoli::REG_BINARY, "\x01");
        });
        game.Start();
        QCOMPARE(game.errors, QStringList{QString::fromUtf8("Ungültiger Datentyp für 'MainForm'")});
    }
    {  // a settings file that cannot be read: said once, the placement not asked again; the
       // save that cannot be made either keeps the window open
        GameWindow game(1, 0, {}, [](travoli::SqliteHive& hive) { BlockHive(hive.Path()); });
        game.Start("EnglishBtn");
        QCOMPARE(game.errors.size(), 1);
        QVERIFY2(game.errors[0].startsWith(settingsMessage.arg(
                     QString::fromUtf8("Fehler beim Öffnen von Schlüssel Software\\ZanfirGames"))),
                 qPrintable(game.errors[0]));
        QCOMPARE(game.form->Language(), 0);
        game.errors.clear();
        QString asked;
        game.answers.ExpectButton("EndGameDlg", "OKBtn");
        game.answers.ExpectButton("FreewareDlg", "OKBtn");
        game.answers.Expect("SaveFailedDlg", [&](QDialog& dialog) {
            asked = static_cast<QMessageBox&>(dialog).text();
            dialog.findChild<QPushButton*>("BackBtn")->click();
        });
        game.form->ExitBtn->click();
        QVERIFY(game.errors.isEmpty());
        QVERIFY2(asked.contains(QString::fromUtf8(
                     "(Erzeugung von Schlüssel Software\\ZanfirGames\\Travoli\\V2\\ misslungen (")),
                 qPrintable(asked));
        QVERIFY(game.form->isVisible());
    }
    {  // sound
        GameWindow game(0, 32);
        game.Start();
        game.sound.RefuseNextPlay("Tonausgabe verweigert: Gerät belegt");
        game.Press(0, 0);
        QCOMPARE(game.errors,
                 QStringList{QString::fromUtf8("Tonausgabe verweigert: Gerät belegt")});
    }
}

namespace {
// What lies at a path, to see that a failed save left it as it was.
std::string Snapshot(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    const fs::file_status link = fs::symlink_status(path);
    if (fs::is_symlink(link)) {
        return "link to " + fs::read_symlink(path).string();
    }
    if (fs::is_regular_file(link)) {
        return "file " + travoli::test::ReadFileBytes(path.string());
    }
    return "kind " + std::to_string(static_cast<int>(link.type()));
}
}  // namespace

void MainFormTest::saveFailureChoice_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("cause");
    using travoli::TextId;
    QTest::newRow("read-only file") << "read-only file" << 0 << int(TextId::SaveCauseReadOnlyFile);
    QTest::newRow("read-only folder")
        << "read-only folder" << 1 << int(TextId::SaveCauseReadOnlyFolder);
    QTest::newRow("directory") << "directory" << 1 << int(TextId::SaveCauseNotAFile);
    QTest::newRow("FIFO") << "FIFO" << 0 << int(TextId::SaveCauseNotAFile);
    QTest::newRow("link to a device") << "link to a device" << 1 << int(TextId::SaveCauseNotAFile);
    QTest::newRow("link to nowhere") << "link to nowhere" << 0 << int(TextId::SaveCauseNotAFile);
}

// A save at the end that cannot be made: the player is told the file and the cause in their
// language, may go back (the choice with the focus) and try again, or end without saving;
// either way the stored file stays exactly as it was.
void MainFormTest::saveFailureChoice() {
    QFETCH(QString, kind);
    QFETCH(int, language);
    QFETCH(int, cause);
    const bool modes = kind.startsWith("read-only");
    if (modes && ::geteuid() == 0) {
        QSKIP("root ignores file modes: ui.main_form.unprivileged runs this as another user");
    }
    namespace fs = std::filesystem;
    fs::path hive;
    auto block = [&](travoli::SqliteHive& store) {
        hive = store.Path();
        if (kind == "read-only file") {
            ::chmod(hive.c_str(), 0444);
        } else if (kind == "read-only folder") {
            ::chmod(hive.parent_path().c_str(), 0555);
        } else {
            fs::remove(hive);
        }
        if (kind == "directory") {
            fs::create_directory(hive);
        } else if (kind == "FIFO") {
            QCOMPARE(::mkfifo(hive.c_str(), 0600), 0);
        } else if (kind == "link to a device") {
            fs::create_symlink("/dev/null", hive);
        } else if (kind == "link to nowhere") {
            fs::create_symlink(hive.parent_path() / "gone" / "hive", hive);
        }
    };
    const QString causeText = travoli::TextFor(travoli::TextId(cause), language);
    GameWindow game(language, 12, {}, block);
    const std::string stored = Snapshot(hive);
    // Where nothing could be read, the language is asked again.
    game.Start(modes ? nullptr : language == 1 ? "GermanBtn" : "EnglishBtn");
    // Never opened, such a hive is one that cannot be read: said once, at the start.
    const bool unreadable = kind != "link to nowhere" && !modes;
    QCOMPARE(game.errors.size(), unreadable ? 1 : 0);
    game.form->levelscroll->setValue(20);

    QString asked;
    bool backHasFocus = false;
    auto answer = [&](const char* button) {
        game.answers.ExpectButton("EndGameDlg", "OKBtn");
        game.answers.ExpectButton("FreewareDlg", "OKBtn");
        game.answers.Expect("SaveFailedDlg", [&, button](QDialog& dialog) {
            asked = static_cast<QMessageBox&>(dialog).text();
            backHasFocus = dialog.focusWidget() == dialog.findChild<QPushButton*>("BackBtn");
            dialog.findChild<QPushButton*>(button)->click();
        });
        game.form->ExitBtn->click();
        QTRY_COMPARE_WITH_TIMEOUT(game.answers.Pending(), 0, 5000);
    };
    answer("BackBtn");
    QVERIFY2(asked.contains(QString::fromStdString(hive.string())), qPrintable(asked));
    QVERIFY2(asked.contains(causeText), qPrintable(asked));
    QVERIFY(backHasFocus);
    QVERIFY(game.form->isVisible());
    QCOMPARE(game.form->Session().level(), 20);
    QCOMPARE(Snapshot(hive), stored);

    answer("EndBtn");
    QVERIFY(!game.form->isVisible());
    QCOMPARE(game.errors.size(), unreadable ? 1 : 0);
    game.form.reset();  // the position is not written either
    QCOMPARE(Snapshot(hive), stored);
    QVERIFY(!fs::exists(hive.parent_path() / "gone"));
    QVERIFY(!fs::exists(hive.string() + "-journal"));
    ::chmod(hive.parent_path().c_str(), 0700);
}

void MainFormTest::rulesDialog() {
    GameWindow game(0);
    game.Start();
    bool englishShown = false;
    game.answers.Expect("HintDlg", [&](QDialog& dialog) {
        auto* english = dialog.findChild<QPlainTextEdit*>("TipE");
        englishShown = english->isVisible() && !dialog.findChild<QWidget*>("tipD")->isVisible();
        english->setFocus();
        english->moveCursor(QTextCursor::Start);
        QTest::keyClicks(english, "xy");
        QTest::keyClick(english, Qt::Key_Return);  // Enter closes; it inserts no line break
    });
    game.form->HintBtn->click();
    QVERIFY(englishShown);
    QCOMPARE(game.form->HintDlg->OKBtn->text(), QStringLiteral("OK"));
    QCOMPARE(game.answers.Pending(), 0);
    const QString text = game.form->HintDlg->TipE->toPlainText();
    QVERIFY(text.startsWith("xyThe aim of the game"));
    QCOMPARE(text.count('\n'), 27);
}

void MainFormTest::boardPixels() {
    GameWindow game(0, 1);
    game.Start();
    const QImage shot = game.form->box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (game.form->box->devicePixelRatioF() == 1.0) {
        // Pixel for pixel from the sheets: texture 0 in the corner, level 1's blue straight
        // cross (kind 2) on the red field of row 0 in cell (0, 0).
        const QImage tiles =
            travoli::SheetImage(game.form->bitmaps, 0).convertToFormat(QImage::Format_RGB32);
        const QImage textures =
            travoli::SheetImage(game.form->bitmaps, 1).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shot.size(), QSize(337, 337));
        QCOMPARE(shot.copy(50, 50, 78, 79), tiles.copy(78 * 2, 0, 78, 79));
        QCOMPARE(shot.copy(0, 0, 40, 40), textures.copy(0, 0, 40, 40));
        QCOMPARE(shot.copy(128, 0, 40, 40), textures.copy(0, 0, 40, 40));
        QCOMPARE(shot.copy(0, 256, 40, 40), textures.copy(0, 0, 40, 40));
        return;
    }
    // On a dense screen the board keeps its logical size but is drawn at full resolution:
    // in a cell, many 2 x 2 blocks of pixels are not one colour, as a doubled picture's are.
    QCOMPARE(shot.size(), QSize(674, 674));
    int mixed = 0;
    for (int y = 100; y < 256; y += 2) {
        for (int x = 100; x < 254; x += 2) {
            const QRgb p = shot.pixel(x, y);
            mixed += shot.pixel(x + 1, y) != p || shot.pixel(x, y + 1) != p ||
                     shot.pixel(x + 1, y + 1) != p;
        }
    }
    QVERIFY2(mixed > 200, qPrintable(QStringLiteral("only %1 mixed blocks").arg(mixed)));
}

namespace {
QString AccessibleName(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face != nullptr ? face->text(QAccessible::Name) : QStringLiteral("<none>");
}
}  // namespace

void MainFormTest::accessibility() {
    GameWindow game(0, 12);
    game.Start();
    auto* form = game.form.get();
    QCOMPARE(form->focusWidget(), form->levelscroll);
    QCOMPARE(QAccessible::queryAccessibleInterface(form)->role(), QAccessible::Window);
    QCOMPARE(QAccessible::queryAccessibleInterface(form->Panel1)->role(), QAccessible::ToolBar);
    // Each toolbar control: the tooltip as its name, its key as its description.
    const struct {
        QWidget* control;
        const char* description;
    } controls[] = {
        {form->RestartBtn, "Key: F2"},
        {form->HintBtn, "Key: F1"},
        {form->ExitBtn, "Key: Ctrl+Q"},
        {form->prevbtn, "Key: Ctrl+P"},
        {form->nextbtn, "Key: Ctrl+N"},
        {form->InfoBtn, "Key: Ctrl+I"},
        {form->TongueBtn, "Key: Ctrl+L"},
        {form->levelscroll,
         "Arrow keys, Page Up, Page Down, Home and End choose the level. "
         "The digit keys press the board's cells as laid out on the "
         "numeric keypad: 7 8 9 the top row, 4 5 6 the middle row, 1 2 3 "
         "the bottom row."},
    };
    for (const auto& c : controls) {
        QVERIFY(!c.control->toolTip().isEmpty());
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(c.control);
        QCOMPARE(face->text(QAccessible::Name), c.control->toolTip());
        QCOMPARE(face->text(QAccessible::Description), QLatin1String(c.description));
    }
    // The sound switch is checked exactly while the sound is on, and says so by its name.
    QAccessibleInterface* sound = QAccessible::queryAccessibleInterface(form->SoundBtn);
    QCOMPARE(sound->text(QAccessible::Name), QStringLiteral("Sound"));
    QCOMPARE(sound->text(QAccessible::Description), QStringLiteral("Key: Ctrl+M"));
    QCOMPARE(sound->state().checked, form->SoundBtn->Down());
    form->activateWindow();
    QTRY_VERIFY(form->isActiveWindow());
    QTest::keyClick(form->levelscroll, Qt::Key_M, Qt::ControlModifier);
    QTRY_VERIFY(!form->SoundBtn->Down());
    QVERIFY(!sound->state().checked);

    // The board: nine buttons in reading order, each pressed by its action or its digit.
    // Level 12 has diagonal blue crosses at (0,0) and (1,0), a diagonal white one at (0,1).
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(form->box);
    QCOMPARE(board->text(QAccessible::Name), QStringLiteral("Board"));
    QCOMPARE(board->childCount(), 9);
    const char* names[] = {
        "row 1, column 1: blue diagonal cross", "row 1, column 2: blue diagonal cross",
        "row 1, column 3: blue straight cross", "row 2, column 1: white diagonal cross",
        "row 2, column 2: empty cell",          "row 2, column 3: white straight cross",
        "row 3, column 1: red straight cross",  "row 3, column 2: red straight cross",
        "row 3, column 3: red straight cross"};
    const char* keys[] = {"7", "8", "9", "4", "5", "6", "1", "2", "3"};
    for (int i = 0; i < 9; ++i) {
        QAccessibleInterface* cell = board->child(i);
        QCOMPARE(cell->role(), QAccessible::Button);
        QCOMPARE(cell->text(QAccessible::Name), QLatin1String(names[i]));
        QCOMPARE(cell->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
        QCOMPARE(cell->actionInterface()->keyBindingsForAction(
                     QAccessibleActionInterface::pressAction()),
                 QStringList{QLatin1String(keys[i])});
    }
    QCOMPARE(form->Announcer()->LastSaid(), QString());  // the start says nothing
    game.PressBy(GameWindow::By::Accessible, 1, 2);      // the red straight cross moves up
    QCOMPARE(board->child(4)->text(QAccessible::Name),
             QStringLiteral("row 2, column 2: red straight cross"));
    QCOMPARE(board->child(7)->text(QAccessible::Name),
             QStringLiteral("row 3, column 2: empty cell"));
    QTRY_COMPARE(form->Announcer()->LastSaid(), QStringLiteral("Moves: 1"));
    QCOMPARE(QAccessible::queryAccessibleInterface(form->Announcer())->role(),
             QAccessible::Notification);
    // A held key presses once (its repeats would press the hole); a digit with Ctrl or Alt
    // presses nothing.
    QTest::keyClick(form->levelscroll, Qt::Key_5);  // the cross goes back down
    QKeyEvent held(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"), true);
    QApplication::sendEvent(form->levelscroll, &held);
    QTest::keyClick(form->levelscroll, Qt::Key_8, Qt::ControlModifier);
    QTest::keyClick(form->levelscroll, Qt::Key_8, Qt::AltModifier);
    QTRY_COMPARE(form->Announcer()->LastSaid(), QStringLiteral("Moves: 2"));
    QCOMPARE(form->Session().moveCount(), 2);
    QCOMPARE(form->levelscroll->value(), 12);

    // Links and pictures carry names.
    QAccessibleInterface* marquee = QAccessible::queryAccessibleInterface(form->vemScroll);
    QCOMPARE(marquee->role(), QAccessible::Link);
    QCOMPARE(marquee->text(QAccessible::Name), QStringLiteral("Zanfir Bytes homepage"));
    QStringList infoNames;
    game.answers.Expect("FreewareDlg", [&](QDialog& dialog) {
        for (const char* name : {"Image4", "Image1", "Image5", "SimpleLabel1", "SimpleLabel2"}) {
            QAccessibleInterface* face =
                QAccessible::queryAccessibleInterface(dialog.findChild<QWidget*>(name));
            infoNames
                << QStringLiteral("%1 %2").arg(face->role()).arg(face->text(QAccessible::Name));
        }
        dialog.findChild<QPushButton*>("OKBtn")->click();
    });
    form->InfoBtn->click();
    QCOMPARE(infoNames, (QStringList{"40 Travoli", "40 Zanfir Bytes logo", "40 VUSA logo",
                                     "30 zb@zanfir.example", "30 http://zanfir.example/"}));

    // Dialog buttons carry their captions, in the current language.
    QStringList buttons;
    game.answers.Expect("GiveUpDlg", [&](QDialog& dialog) {
        for (const char* button : {"OKBtn", "CancelBtn"}) {
            buttons << AccessibleName(dialog.findChild<QPushButton*>(button));
        }
        dialog.findChild<QPushButton*>("CancelBtn")->click();
    });
    game.form->RestartBtn->click();
    QCOMPARE(buttons, (QStringList{"Yes", "No"}));

    game.answers.ExpectButton("TongueDlg", "GermanBtn");
    game.form->TongueBtn->click();
    QCOMPARE(AccessibleName(form->RestartBtn), QString::fromUtf8("Ich probier's nochmal."));
    QCOMPARE(sound->text(QAccessible::Name), QString::fromUtf8("Geräusche"));
    QCOMPARE(sound->text(QAccessible::Description), QStringLiteral("Taste: Strg+M"));
    QTRY_COMPARE(board->child(7)->text(QAccessible::Name),
                 QString::fromUtf8("Zeile 3, Spalte 2: rotes gerades Kreuz"));
}

// The game's own application object, so that its top-level error handler is the one tested.
int main(int argc, char** argv) {
    travoli::TApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    MainFormTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "main_form_test.moc"
