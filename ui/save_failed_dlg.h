#pragma once

#include <QString>

#include "game/language.h"

class QWidget;

namespace travoli {

class RegistryHive;

// Asked when the values could not be saved at the end of a run: which file, why in plain
// words, and what the store said (`detail`). True: end without saving; false (the choice
// that has the focus, and Escape): back to the game, to put the cause right and quit again.
bool AskToEndWithoutSaving(QWidget* owner, Language language, const RegistryHive& hive,
                           const QString& detail);

}  // namespace travoli
