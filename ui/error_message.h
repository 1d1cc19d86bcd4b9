#pragma once

#include <QString>
#include <cstddef>
#include <exception>
#include <stdexcept>

#include "game/language.h"

namespace travoli {

// An image of the game's own list that is no picture; its message is the English row.
class EBrokenPicture : public std::runtime_error {
  public:
    explicit EBrokenPicture(std::size_t index);
    std::size_t Index() const { return index_; }

  private:
    std::size_t index_;
};

// An error raised below the windows as the player reads it, in `language`: its kind picks a
// row of the text table and its variable parts (a key, a path, what a library said) fill it
// in. An error of no known kind shows its own text, which is UTF-8.
QString ErrorMessage(const std::exception& error, Language language);

}  // namespace travoli
