#pragma once

#include <QString>
#include <exception>

#include "game/language.h"
#include "settings/registry_hive.h"

namespace travoli {

// An error raised below the windows as the player reads it, in `language`: its kind picks a
// row of the text table and its variable parts (a key, a path, what a library said) fill it
// in. An error of no known kind shows its own text, which is UTF-8.
QString ErrorMessage(const std::exception& error, Language language);
// The same for an error kept for later; empty for none, or for one that is no std::exception.
QString ErrorMessage(const std::exception_ptr& error, Language language);

// What the player could do about a save that failed with `error`, in plain words: the cause
// the hive found, or that it is not known.
QString SaveFailureCause(const std::exception& error, Language language);

// What the settings hive met, in `language`: the file and the cause; empty when nothing is
// known.
QString HiveFailureMessage(const HiveFailure& failure, Language language);

}  // namespace travoli
