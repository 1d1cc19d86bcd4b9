#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

namespace travoli {

// The program's application object: an exception that escapes an event handler is shown
// in a message box, and the event loop goes on with the next event.
class TApplication : public QApplication {
    Q_OBJECT
  public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// An exception's text as the player reads it: our messages, and the platform's, are UTF-8.
QString ErrorText(const std::exception& error);

// Shows an error's text in a message box over the active window.
void ShowError(const QString& text);
// For errors met when no dialog may be shown (the session is ending): stderr only.
void ReportErrorQuietly(const QString& text);
// How many errors went to stderr so far; the exit status tells of them.
int QuietErrorCount();

// Tests replace the message box by a recorder; an empty function restores it.
void SetErrorPresenter(std::function<void(const QString&)> presenter);

}  // namespace travoli
