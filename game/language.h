#pragma once

#include <cstdint>

namespace travoli {

// The player's language as saved: -1 never chosen, 0 English, 1 German. Any other value
// can only come from old settings and reads as English. The game core carries it for the
// windows and the settings and never reads it.
using Language = std::int32_t;

inline constexpr Language NoLanguageChosen = -1;
inline constexpr Language EnglishLanguage = 0;
inline constexpr Language GermanLanguage = 1;

}  // namespace travoli
