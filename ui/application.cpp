#include "ui/application.h"

#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "texts/error_message.h"
#include "texts/texts.h"

namespace travoli {

void MessageBoxPresenter::Show(const QString& text) {
    QMessageBox box(QMessageBox::Critical, TextFor(TextId::ProgramName, EnglishLanguage), text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void MessageBoxPresenter::Report(const QString& text) {
    ++reported_;
    std::fprintf(stderr, "travoli: %s\n", text.toUtf8().constData());
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Travoli"));
    // No display name: Qt would append it to every caption the window manager shows.
    setApplicationVersion(QStringLiteral(TRAVOLI_VERSION));
    setOrganizationName(QStringLiteral("ZanfirGames"));
    setDesktopFileName(QStringLiteral("example.zanfir.Travoli"));
}

void TApplication::ShowEscapedErrors(ErrorPresenter* presenter,
                                     std::function<Language()> language) {
    presenter_ = presenter != nullptr ? presenter : &messageBox_;
    language_ = std::move(language);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        presenter_->Show(ErrorMessage(error, CurrentLanguage()));
    } catch (...) {
        presenter_->Show(TextFor(TextId::UnexpectedError, CurrentLanguage()));
    }
    return false;
}

}  // namespace travoli
