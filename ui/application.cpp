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

int quietErrors = 0;
}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Travoli"));
    // No display name: Qt would append it to every caption the window manager shows.
    setApplicationVersion(QStringLiteral(TRAVOLI_VERSION));
    setOrganizationName(QStringLiteral("ZanfirGames"));
    setDesktopFileName(QStringLiteral("example.zanfir.Travoli"));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(ErrorText(error));
    } catch (...) {
        ShowError(QStringLiteral("An unexpected error occurred."));
    }
    return false;
}

QString ErrorText(const std::exception& error) {
    return QString::fromUtf8(error.what());
}

void ShowError(const QString& text) {
    if (Presenter()) {
        Presenter()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, TextFor(TextId::ProgramName, EnglishLanguage), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void ReportErrorQuietly(const QString& text) {
    ++quietErrors;
    std::fprintf(stderr, "travoli: %s\n", text.toUtf8().constData());
}

int QuietErrorCount() {
    return quietErrors;
}

void SetErrorPresenter(std::function<void(const QString&)> presenter) {
    Presenter() = std::move(presenter);
}

}  // namespace travoli
