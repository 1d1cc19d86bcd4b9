#pragma once

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

namespace travoli::test {

// Answers the modal dialogs of a test the way a player would, in the order they are
// expected. A dialog nobody expected is closed at once and noted, so no test can hang.
class ModalAnswerer : public QObject {
  public:
    using Answer = std::function<void(QDialog&)>;

    ModalAnswerer() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start();
    }

    void Expect(const QString& dialogName, Answer answer) {
        expected_.push_back({dialogName, std::move(answer)});
    }
    // Shorthands: press a named button, type a key, or use the close box.
    void ExpectButton(const QString& dialogName, const char* button) {
        Expect(dialogName, [button](QDialog& d) { d.findChild<QPushButton*>(button)->click(); });
    }
    void ExpectKey(const QString& dialogName, Qt::Key key) {
        Expect(dialogName, [key](QDialog& d) { QTest::keyClick(&d, key); });
    }
    void ExpectCloseBox(const QString& dialogName) {
        Expect(dialogName, [](QDialog& d) { d.close(); });
    }

    // What was shown, in order; "!name" marks a dialog that nobody expected.
    const QStringList& Seen() const { return seen_; }
    int Pending() const { return static_cast<int>(expected_.size()); }
    void Reset() {
        expected_.clear();
        seen_.clear();
    }

  private:
    struct Expected {
        QString name;
        Answer answer;
    };

    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible() || answering_ == dialog) {
            return;
        }
        answering_ = dialog;
        if (expected_.empty() || expected_.front().name != dialog->objectName()) {
            seen_ << QStringLiteral("!") + dialog->objectName();
            dialog->done(0);
        } else {
            Expected next = std::move(expected_.front());
            expected_.pop_front();
            seen_ << dialog->objectName();
            next.answer(*dialog);
        }
        // The same dialog may be shown again later; only this showing is answered.
        QTimer::singleShot(0, this, [this] { answering_ = nullptr; });
    }

    QTimer timer_;
    std::deque<Expected> expected_;
    QStringList seen_;
    QDialog* answering_ = nullptr;
};

}  // namespace travoli::test
