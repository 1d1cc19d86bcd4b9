#pragma once

#include "ui/question_dlg.h"

namespace travoli {

// Asks before an unfinished level is left: yes 6, no (and Escape) 7, close box 2.
class TGiveUpDlg : public TQuestionDlg {
    Q_OBJECT
  public:
    explicit TGiveUpDlg(DialogOwner& owner)
        : TQuestionDlg(owner,
                       {"GiveUpDlg", {56, 20, 189, 26}, "bomb", mrNo, TextId::GiveUpQuestion}) {}
};

}  // namespace travoli
