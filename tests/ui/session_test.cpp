// A long scripted session on the real game window: hundreds of moves and dozens of level
// changes through every level command, the give-up question answered both ways, the move
// limit and solutions. The window's state is checked against a model session after every
// action; the sanitizer build's leak checker looks at what the session left behind.
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <cstdint>
#include <vector>

#include "game/game_session.h"
#include "tests/ui/game_window.h"
#include "ui/give_up_dlg.h"
#include "ui/solved_dlg.h"

using travoli::Board;
using travoli::Cell;
using travoli::GameSession;
using travoli::MoveOutcome;
using travoli::test::GameWindow;

namespace {

constexpr int SessionMoves = 500;
constexpr int SessionLevelChanges = 50;

// The shortest solution of level 32.
const Cell Level32[] = {{1, 2}, {0, 1}, {1, 0}, {1, 1}, {0, 0}, {1, 0}, {2, 1}, {2, 2}, {1, 1},
                        {2, 0}, {2, 1}, {1, 2}, {0, 1}, {0, 2}, {1, 1}, {0, 1}, {1, 0}, {1, 1}};

// A fixed pseudo-random sequence, so every run plays the same session.
class Script {
  public:
    int Next(int bound) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(bound));
    }

  private:
    std::uint64_t state_ = 20240611;
};

// The cells whose press the rules accept on `board`.
std::vector<Cell> LegalPresses(const Board& board) {
    const Cell hole = board.Hole();
    std::vector<Cell> legal;
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            const int dc = column > hole.column ? column - hole.column : hole.column - column;
            const int dr = row > hole.row ? row - hole.row : hole.row - row;
            const travoli::PieceKind kind = board.at(column, row);
            if ((dc + dr == 1 && travoli::IsStraight(kind)) ||
                (dc == 1 && dr == 1 && travoli::IsDiagonal(kind))) {
                legal.push_back({column, row});
            }
        }
    }
    return legal;
}

// How the level is left for another one.
enum class Change { SelectorRight, SelectorPageLeft, SelectorEnd, SelectorHome, Drag, Next, Prev };

class Session {
  public:
    explicit Session(GameWindow& game) : game_(game) {
        model_.StartLevel(game.form->Session().level());
    }

    // A press on a cell, with the result dialog answered when the model says it shows.
    void Press(Cell cell) {
        GameSession after = model_;
        const MoveOutcome outcome = after.PressCell(cell.column, cell.row);
        const bool dialog = outcome.limitReached || outcome.solvedNow;
        if (dialog) {
            game_.answers.ExpectButton("SolvedDlg", "OKBtn");
        }
        game_.Press(cell.column, cell.row);
        model_ = after;
        moves_ += outcome.accepted ? 1 : 0;
        refused_ += outcome.accepted ? 0 : 1;
        results_ += dialog ? 1 : 0;
        Check("press");
    }

    void PressBeside() {
        background_ = (background_ + 1) % 6;
        game_.PressAt(300, 300);
        Check("press beside the board");
        QCOMPARE(game_.form->BackgroundIndex(), background_);
    }

    // Leaves the level by `how`; with an attempt under way the question is first answered
    // no (nothing may change) and the command then repeated with yes. False when the
    // command had nowhere to go.
    bool ChangeLevel(Change how) {
        const int target = Target(how);
        if (target == model_.level()) {
            return false;
        }
        if (model_.NeedsGiveUpConfirmation()) {
            game_.answers.ExpectButton("GiveUpDlg", "CancelBtn");
            Perform(how);
            ++declined_;
            Check("give-up answered no");
            game_.answers.ExpectButton("GiveUpDlg", "OKBtn");
        }
        Perform(how);
        model_.StartLevel(target);
        ++changes_;
        Check("level change");
        CheckFullRepaintAgrees();
        return true;
    }

    void Restart() {
        if (model_.NeedsGiveUpConfirmation()) {
            game_.answers.ExpectButton("GiveUpDlg", "OKBtn");
        }
        QTest::mouseClick(game_.form->RestartBtn, Qt::LeftButton);
        model_.StartLevel(model_.level());
        ++restarts_;
        Check("restart");
    }

    // A move the rules accept, if the board has one.
    bool Move(Script& script) {
        const std::vector<Cell> legal = LegalPresses(model_.board());
        if (legal.empty()) {
            return false;
        }
        Press(legal[static_cast<std::size_t>(script.Next(static_cast<int>(legal.size())))]);
        return true;
    }

    // A press the rules refuse: a cross that cannot move, or the hole.
    void Refused(Script& script) {
        const std::vector<Cell> legal = LegalPresses(model_.board());
        for (;;) {
            const Cell cell{script.Next(3), script.Next(3)};
            bool isLegal = false;
            for (const Cell& l : legal) {
                isLegal = isLegal || l == cell;
            }
            if (!isLegal) {
                Press(cell);
                return;
            }
        }
    }

    const GameSession& Model() const { return model_; }
    int dragTo_ = 1;  // where Change::Drag puts the selector
    int moves_ = 0;
    int refused_ = 0;
    int results_ = 0;
    int changes_ = 0;
    int declined_ = 0;
    int restarts_ = 0;

  private:
    int Target(Change how) const {
        const int level = model_.level();
        const auto clamp = [](int l) { return l < 1 ? 1 : l > 225 ? 225 : l; };
        switch (how) {
            case Change::SelectorRight:
                return clamp(level + 1);
            case Change::SelectorPageLeft:
                return clamp(level - 10);
            case Change::SelectorEnd:
                return 225;
            case Change::SelectorHome:
                return 1;
            case Change::Drag:
                return dragTo_;
            case Change::Next:
                return game_.form->Progress().FindNextUnsolved(level);
            case Change::Prev:
                return game_.form->Progress().FindPreviousUnsolved(level);
        }
        return level;
    }

    void Perform(Change how) {
        auto* selector = game_.form->levelscroll;
        selector->setFocus();
        switch (how) {
            case Change::SelectorRight:
                QTest::keyClick(selector, Qt::Key_Right);
                break;
            case Change::SelectorPageLeft:
                QTest::keyClick(selector, Qt::Key_PageUp);
                break;
            case Change::SelectorEnd:
                QTest::keyClick(selector, Qt::Key_End);
                break;
            case Change::SelectorHome:
                QTest::keyClick(selector, Qt::Key_Home);
                break;
            case Change::Drag:
                selector->setValue(dragTo_);
                break;
            case Change::Next:
                QTest::mouseClick(game_.form->nextbtn, Qt::LeftButton);
                break;
            case Change::Prev:
                QTest::mouseClick(game_.form->prevbtn, Qt::LeftButton);
                break;
        }
    }

    // The window shows what the model holds; every dialog came when it was expected.
    void Check(const char* what) {
        const auto& shown = game_.form->Session();
        if (!(shown.board() == model_.board()) || shown.moveCount() != model_.moveCount() ||
            shown.level() != model_.level()) {
            QFAIL(qPrintable(QStringLiteral("after %1 (move %2): window at level %3, %4 moves, "
                                            "board %5; expected level %6, %7 moves, board %8")
                                 .arg(what)
                                 .arg(moves_)
                                 .arg(shown.level())
                                 .arg(shown.moveCount())
                                 .arg(QString::fromStdString(shown.board().ToString()))
                                 .arg(model_.level())
                                 .arg(model_.moveCount())
                                 .arg(QString::fromStdString(model_.board().ToString()))));
        }
        QCOMPARE(game_.form->levelscroll->value(), model_.level());
        QCOMPARE(game_.form->movl->text(), QStringLiteral(" Moves: %1 ").arg(model_.moveCount()));
        QCOMPARE(game_.answers.Pending(), 0);
        for (const QString& seen : game_.answers.Seen()) {
            QVERIFY2(!seen.startsWith('!'),
                     qPrintable(QStringLiteral("unexpected dialog %1 after %2")
                                    .arg(seen, QLatin1String(what))));
        }
    }

    // After many two-cell updates the surface must look exactly like a full painting.
    void CheckFullRepaintAgrees() {
        QApplication::processEvents();
        const QImage drawn = game_.form->box->grab().toImage();
        game_.form->boxPaint();
        const QImage full = game_.form->box->grab().toImage();
        QVERIFY2(drawn == full, "the board drawn cell by cell differs from a full painting");
    }

    GameWindow& game_;
    GameSession model_;
    int background_ = 0;
};

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT
  private slots:
    void scriptedSession();
};

void SessionTest::scriptedSession() {
    GameWindow game(0, 1, [](travoli::TIniCtrl& ini) { ini.WriteNumber("common", "back", 0); });
    game.Start();
    const auto widgetsBefore = QApplication::allWidgets().size();
    const auto objectsBefore = game.form->findChildren<QObject*>().size();

    Session session(game);
    Script script;
    const Change changes[] = {
        Change::SelectorRight, Change::Drag,        Change::Next, Change::SelectorPageLeft,
        Change::Prev,          Change::SelectorEnd, Change::Drag, Change::SelectorHome,
        Change::Next};
    int round = 0;
    bool solve32 = false;
    while (session.changes_ < SessionLevelChanges || session.moves_ < SessionMoves) {
        // One level: moves, a few refused presses and background changes, at times a restart.
        const int remainingLevels = SessionLevelChanges - session.changes_ + 1;
        int quota = (SessionMoves - session.moves_) / (remainingLevels > 0 ? remainingLevels : 1);
        if (round == 0) {
            quota = 205;  // the first level runs into the move limit and on past it
        }
        if (solve32) {
            solve32 = false;
            QCOMPARE(session.Model().level(), 32);
            for (const Cell& press : Level32) {
                session.Press(press);
            }
            QVERIFY(session.Model().solved());
        }
        for (int i = 0; i < quota && session.moves_ < SessionMoves; ++i) {
            if (!session.Move(script)) {
                break;
            }
            if (script.Next(8) == 0) {
                session.Refused(script);
            }
            if (script.Next(25) == 0) {
                session.PressBeside();
            }
            if (QTest::currentTestFailed()) {
                return;
            }
        }
        if (round % 7 == 3) {
            session.Restart();
        }
        if (session.changes_ < SessionLevelChanges) {
            // Level 32 comes up twice, to be solved for the first time and then again.
            if ((round == 4 || round == 30) && session.Model().level() != 32) {
                session.dragTo_ = 32;
                QVERIFY(session.ChangeLevel(Change::Drag));
                solve32 = true;
            } else {
                session.dragTo_ = 1 + script.Next(225);
                int tries = 0;
                while (!session.ChangeLevel(changes[(round + tries) % std::size(changes)])) {
                    ++tries;
                    QVERIFY(tries < static_cast<int>(std::size(changes)));
                }
            }
        }
        if (QTest::currentTestFailed()) {
            return;
        }
        ++round;
    }

    QCOMPARE(session.moves_, SessionMoves);
    QCOMPARE(session.changes_, SessionLevelChanges);
    QVERIFY(session.declined_ > 0);
    QVERIFY(session.refused_ > 0);
    QVERIFY(session.restarts_ > 0);
    // The move limit once, and level 32 solved twice.
    QCOMPARE(session.results_, 3);
    QCOMPARE(game.form->Progress().BestMoves(32), std::uint8_t{18});
    QVERIFY(game.errors.isEmpty());

    // Nothing the session did stays behind as a widget or child object.
    QApplication::processEvents();
    QCOMPARE(QApplication::allWidgets().size(), widgetsBefore);
    QCOMPARE(game.form->findChildren<QObject*>().size(), objectsBefore);
}

QTEST_MAIN(SessionTest)
#include "session_test.moc"
