// Names and messages: a file's name without its directory, the application title, the
// error report's text, the cleaned system error text and the filling of message patterns.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kalvo::text {

// The part of the path after its last "\" or ":" (a view into `path`); "/" does not separate.
std::u16string_view FileNameWithoutDirectory(std::u16string_view path);

// The program file's name after its last "\", cut at its first ".", with every unit after
// the first passed through `toLower` (the system's lower-casing of one character).
std::u16string ApplicationTitle(std::u16string_view modulePath, const std::function<char16_t(char16_t)>& toLower);

// The message with "." appended when its last unit is above U+002E ".".
std::u16string ErrorReportText(std::u16string message);

// A system error description without its trailing blanks, control characters and ".".
std::u16string CleanSystemErrorText(std::u16string text);

// The pattern with each "%s" replaced by the next argument, or by nothing when none is
// left. No other "%" sequence means anything, and the arguments are inserted as they are.
std::u16string FormatMessageText(std::u16string_view pattern, std::initializer_list<std::u16string_view> args);

}  // namespace kalvo::text
