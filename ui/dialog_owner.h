#pragma once

#include "game/language.h"

class QWidget;

namespace travoli {

// What a dialog needs of the window that owns it: the language its texts are set in, the one
// way the language changes, and the window it is placed over and that outlives it.
class DialogOwner {
  public:
    virtual travoli::Language Language() const = 0;
    // The language dialog's two buttons and the loading of the saved values call it. Texts
    // follow at their next setting.
    virtual void SetLanguage(travoli::Language language) = 0;
    virtual QWidget* OwnerWindow() = 0;

  protected:
    ~DialogOwner() = default;
};

}  // namespace travoli
