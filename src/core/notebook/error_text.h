#pragma once
// What the user reads about a failure, in the interface language: a header, the file concerned
// and the reason, the system's own words after it in parentheses.

#include <exception>
#include <string>

#include "core/i18n/strings.h"

namespace qw::notebook {

// A failure met by a command, in the language of `strings`.
std::string errorText(const std::exception& error, const i18n::StringTable& strings);

// A failure of the start-up load, told before any language is known: in French, then in
// English.
std::string startFailureText(const std::exception& error);

}  // namespace qw::notebook
