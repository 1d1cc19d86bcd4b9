#pragma once

#include <memory>

#include "media/widgets/link_opener.h"
#include "ui/dialog_form.h"
#include "ui/memo.h"

namespace travoli {

class TSimpleLabel;

// Who made the game, the terms of use, and the maker's links.
class TFreewareDlg : public TDialogForm {
    Q_OBJECT
  public:
    // `opener` takes the maker's links when they are followed.
    TFreewareDlg(DialogOwner& owner, std::shared_ptr<LinkOpener> opener);

    QWidget* Bevel1;
    QLabel* Image4;
    QLabel* progname;
    QWidget* Bevel3;
    QLabel* Image1;
    QLabel* Label4;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label13;
    TSimpleLabel* SimpleLabel1;
    QLabel* Label8;
    TSimpleLabel* SimpleLabel2;
    QWidget* Bevel2;
    QLabel* Image5;
    QLabel* savelabel;
    TMemo* Memodeu;
    TMemo* Memoeng;
    QPushButton* OKBtn;

  protected:
    void FormActivate() override;

  private:
    QLabel* AddPicture(const char* name, QPoint at, const char* picture);
    TSimpleLabel* AddLink(const char* name, const QRect& place, const QString& caption,
                          const QString& jump);

    std::shared_ptr<LinkOpener> opener_;
};

}  // namespace travoli
