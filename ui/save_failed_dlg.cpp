#include "ui/save_failed_dlg.h"

#include <QMessageBox>
#include <QPushButton>

#include "settings/registry_hive.h"
#include "texts/texts.h"

namespace travoli {

namespace {

TextId CauseText(HiveProblem problem) {
    switch (problem) {
        case HiveProblem::ReadOnlyFile:
            return TextId::SaveCauseReadOnlyFile;
        case HiveProblem::ReadOnlyFolder:
            return TextId::SaveCauseReadOnlyFolder;
        case HiveProblem::ReadOnlyDisk:
            return TextId::SaveCauseReadOnlyDisk;
        case HiveProblem::DiskFull:
            return TextId::SaveCauseDiskFull;
        case HiveProblem::NotAFile:
            return TextId::SaveCauseNotAFile;
        case HiveProblem::Locked:
            return TextId::SaveCauseLocked;
        case HiveProblem::NotAHive:
            return TextId::SaveCauseNotAHive;
        case HiveProblem::Unknown:
            break;
    }
    return TextId::SaveCauseUnknown;
}

}  // namespace

bool AskToEndWithoutSaving(QWidget* owner, Language language, const RegistryHive& hive,
                           const QString& detail) {
    const QString text = TextFor(TextId::SaveFailedQuestion, language)
                             .arg(QString::fromStdString(hive.FilePath()),
                                  TextFor(CauseText(hive.LastProblem()), language), detail);
    QMessageBox box(QMessageBox::Warning, TextFor(TextId::ProgramName, language), text,
                    QMessageBox::NoButton, owner);
    box.setObjectName(QStringLiteral("SaveFailedDlg"));
    QPushButton* end =
        box.addButton(TextFor(TextId::SaveFailedEnd, language), QMessageBox::DestructiveRole);
    end->setObjectName(QStringLiteral("EndBtn"));
    QPushButton* back =
        box.addButton(TextFor(TextId::SaveFailedBack, language), QMessageBox::RejectRole);
    back->setObjectName(QStringLiteral("BackBtn"));
    // Going back loses nothing: it is the default, and what Enter and Escape choose.
    box.setDefaultButton(back);
    box.setEscapeButton(back);
    box.exec();
    return box.clickedButton() == end;
}

}  // namespace travoli
