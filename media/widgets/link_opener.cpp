#include "media/widgets/link_opener.h"

#include <QProcess>
#include <QString>

#include <memory>
#include <utility>

namespace travoli {

void XdgLinkOpener::Open(const std::string& target, std::function<void(bool ok)> done) {
    // No parent: the desktop's opener may outlive us (some stay with the browser), and a
    // QProcess destroyed with the application would kill it.
    auto* process = new QProcess;
    process->setProgram(QStringLiteral("xdg-open"));
    process->setArguments({QString::fromStdString(target)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());

    auto report = std::make_shared<std::function<void(bool)>>(std::move(done));
    auto finish = [process, report](bool ok) {
        if (*report) {
            auto callback = std::move(*report);
            *report = nullptr;
            callback(ok);
        }
        process->deleteLater();
    };
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [finish](QProcess::ProcessError error) {
                         // Every other error is followed by finished().
                         if (error == QProcess::FailedToStart) {
                             finish(false);
                         }
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [finish](int exitCode, QProcess::ExitStatus status) {
                         finish(status == QProcess::NormalExit && exitCode == 0);
                     });
    process->start();
}

}  // namespace travoli
