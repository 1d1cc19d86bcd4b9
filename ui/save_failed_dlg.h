#pragma once

#include <exception>
#include <string>

#include "game/language.h"

class QWidget;

namespace travoli {

// Asked when the values could not be saved at the end of a run: which file, why in plain
// words, and what the store said, all from `error`. True: end without saving; false (the
// choice that has the focus, and Escape): back to the game, to put the cause right and quit
// again.
bool AskToEndWithoutSaving(QWidget* owner, Language language, const std::string& file,
                           const std::exception& error);

}  // namespace travoli
