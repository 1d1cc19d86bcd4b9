#pragma once

#include <QApplication>
#include <QString>
#include <functional>

#include "game/language.h"

namespace travoli {

// Where the errors a player must learn of go. main() gives the windows a MessageBoxPresenter,
// tests a recorder.
class ErrorPresenter {
  public:
    virtual ~ErrorPresenter() = default;
    // In a message box over the active window.
    virtual void Show(const QString& text) = 0;
    // For errors met when no dialog may be shown (the session is ending): stderr only.
    virtual void Report(const QString& text) = 0;
};

class MessageBoxPresenter : public ErrorPresenter {
  public:
    void Show(const QString& text) override;
    void Report(const QString& text) override;
    // How many errors went to stderr so far; the exit status tells of them.
    int Reported() const { return reported_; }

  private:
    int reported_ = 0;
};

// The program's application object: an exception that escapes an event handler is shown
// through the presenter, and the event loop goes on with the next event.
class TApplication : public QApplication {
    Q_OBJECT
  public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Where escaped errors are shown, and in which language; without a presenter in a message
    // box, without a language in English.
    void ShowEscapedErrors(ErrorPresenter* presenter, std::function<Language()> language);

  private:
    Language CurrentLanguage() const { return language_ ? language_() : NoLanguageChosen; }

    MessageBoxPresenter messageBox_;
    ErrorPresenter* presenter_ = &messageBox_;
    std::function<Language()> language_;
};

}  // namespace travoli
