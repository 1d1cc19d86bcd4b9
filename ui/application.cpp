#include "ui/application.h"

#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "ui/texts.h"

namespace travoli {

namespace {
std::function<void(const QString&)>& Presenter() {
    static std::function<void(const QString&)> presenter;
    return presenter;
}
}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Travoli"));
    // No display name: Qt would append it to every caption the window manager shows.
    setApplicationVersion(QStringLiteral("2.1"));
    setOrganizationName(QStringLiteral("ZanfirGames"));
    setDesktopFileName(QStringLiteral("example.zanfir.Travoli"));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowError(QStringLiteral("An unexpected error occurred."));
    }
    return false;
}

void ShowError(const QString& text) {
    if (Presenter()) {
        Presenter()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, TextFor(TextId::ProgramName, 0), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void ReportErrorQuietly(const QString& text) {
    std::fprintf(stderr, "travoli: %s\n", text.toLocal8Bit().constData());
}

void SetErrorPresenter(std::function<void(const QString&)> presenter) {
    Presenter() = std::move(presenter);
}

}  // namespace travoli
