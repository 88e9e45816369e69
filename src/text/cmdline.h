// The program's own reading of its command line: splitting it into arguments and
// recognising the options "-c" and "-t".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kalvo::text {

// Arguments 1 to N of the command line; the program name, the first argument found, is
// left out. Characters U+0001 to U+0020 separate arguments, double quotes enclose
// stretches kept as they are, an empty pair of quotes where an argument would begin is
// skipped, and a backslash is an ordinary character. The line ends at its first U+0000.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

// Whether the whole argument is "-" followed by `letter` (a lower-case ASCII letter),
// after lower-casing the argument's ASCII letters A to Z and nothing else.
bool IsOption(std::u16string_view argument, char16_t letter);

}  // namespace kalvo::text
