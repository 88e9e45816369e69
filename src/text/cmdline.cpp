// Splitting of the command line and matching of options.
#include "text/cmdline.h"

#include <utility>

namespace kalvo::text {
namespace {

constexpr char16_t kQuote = u'"';

bool IsSeparator(char16_t c) { return c >= 0x0001 && c <= 0x0020; }

// Scans one argument from `pos` on and leaves `pos` after it. The result is empty only
// when nothing but separators, empty quote pairs and perhaps one lone quote is left.
std::u16string NextArgument(std::u16string_view line, std::size_t& pos) {
  const std::size_t size = line.size();
  // Skip separators and, where an argument would begin, empty pairs of quotes.
  while (pos < size) {
    if (IsSeparator(line[pos])) {
      ++pos;
    } else if (line[pos] == kQuote && pos + 1 < size && line[pos + 1] == kQuote) {
      pos += 2;
    } else {
      break;
    }
  }
  std::u16string argument;
  while (pos < size && line[pos] > 0x0020) {
    if (line[pos] != kQuote) {
      argument += line[pos++];
      continue;
    }
    // A quoted stretch runs to the next quote, or to the end when there is none.
    const std::size_t open = pos + 1;
    std::size_t close = line.find(kQuote, open);
    if (close == std::u16string_view::npos) {
      close = size;
    }
    argument.append(line.substr(open, close - open));
    pos = close == size ? size : close + 1;
  }
  return argument;
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine) {
  // The command line comes from a NUL-terminated string; nothing after a NUL is part of it.
  const std::u16string_view line = commandLine.substr(0, commandLine.find(u'\0'));
  std::vector<std::u16string> arguments;
  std::size_t pos = 0;
  if (NextArgument(line, pos).empty()) {
    return arguments;  // not even a program name
  }
  for (;;) {
    std::u16string argument = NextArgument(line, pos);
    if (argument.empty()) {
      return arguments;
    }
    arguments.push_back(std::move(argument));
  }
}

bool IsOption(std::u16string_view argument, char16_t letter) {
  if (argument.size() != 2 || argument[0] != u'-') {
    return false;
  }
  char16_t c = argument[1];
  if (c >= u'A' && c <= u'Z') {
    c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return c == letter;
}

}  // namespace kalvo::text
