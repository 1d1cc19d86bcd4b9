#pragma once

#include "ui/question_dlg.h"

namespace travoli {

// Asks before the program ends: only yes (6) lets it end. Its No is the standard cancel
// button (result 2), whose own caption is never seen.
class TEndGameDlg : public TQuestionDlg {
    Q_OBJECT
  public:
    explicit TEndGameDlg(DialogOwner& owner)
        : TQuestionDlg(owner,
                       {"EndGameDlg", {72, 20, 153, 29}, "exit", mrCancel, TextId::QuitQuestion}) {}
};

}  // namespace travoli
