#include "ui/save_failed_dlg.h"

#include <QMessageBox>
#include <QPushButton>

#include "texts/error_message.h"
#include "texts/texts.h"

namespace travoli {

bool AskToEndWithoutSaving(QWidget* owner, Language language, const std::string& file,
                           const std::exception& error) {
    const QString text = TextFor(TextId::SaveFailedQuestion, language)
                             .arg(QString::fromStdString(file), SaveFailureCause(error, language),
                                  ErrorMessage(error, language));
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
