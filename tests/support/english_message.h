#pragma once

#include <exception>
#include <string>

#include "texts/error_message.h"

namespace travoli::test {

// An error of the layers below as the game and the tool say it in English.
inline std::string EnglishMessage(const std::exception& error) {
    return ErrorMessage(error, EnglishLanguage).toStdString();
}

inline std::string EnglishMessage(const std::exception_ptr& error) {
    return ErrorMessage(error, EnglishLanguage).toStdString();
}

}  // namespace travoli::test
