// Fuzzes the command-line splitter and checks what holds for every command line: no
// argument is empty or holds a quote or NUL, arguments keep the order of their characters,
// quoting them gives them back, and a line without quotes splits at separators only.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/cmdline.h"

namespace {

using kalvo::text::SplitCommandLine;

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// Most bytes become the code unit of the same value, so quotes and separators are common;
// a byte from F0 on takes the next two bytes as a whole unit.
std::u16string UnitsFromBytes(const std::uint8_t* data, std::size_t size) {
  std::u16string line;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] < 0xF0 || i + 2 >= size) {
      line += static_cast<char16_t>(data[i]);
    } else {
      line += static_cast<char16_t>(data[i + 1] | data[i + 2] << 8);
      i += 2;
    }
  }
  return line;
}

bool IsSeparator(char16_t c) { return c >= 1 && c <= 0x20; }

std::vector<std::u16string> Words(std::u16string_view line) {
  std::vector<std::u16string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSeparator(line[i])) {
      ++i;
    }
    const std::size_t start = i;
    while (i < line.size() && !IsSeparator(line[i])) {
      ++i;
    }
    if (i != start) {
      words.emplace_back(line.substr(start, i - start));
    }
  }
  return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string input = UnitsFromBytes(data, size);
  const std::vector<std::u16string> args = SplitCommandLine(input);
  const std::u16string_view line = std::u16string_view(input).substr(0, input.find(u'\0'));

  std::u16string unquoted;
  for (const char16_t c : line) {
    if (c != u'"') {
      unquoted += c;
    }
  }
  std::size_t at = 0;
  std::u16string requoted = u"kalvo";
  for (const std::u16string& arg : args) {
    Check(!arg.empty());
    Check(arg.find(u'"') == std::u16string::npos);
    Check(arg.find(u'\0') == std::u16string::npos);
    // The arguments' characters come from the line, in order, with the quotes left out.
    for (const char16_t c : arg) {
      at = unquoted.find(c, at);
      Check(at != std::u16string::npos);
      ++at;
    }
    requoted += u" \"" + arg + u"\"";
  }
  Check(SplitCommandLine(requoted) == args);

  if (line.find(u'"') == std::u16string_view::npos) {
    std::vector<std::u16string> words = Words(line);
    if (!words.empty()) {
      words.erase(words.begin());  // the program name
    }
    Check(words == args);
  }
  return 0;
}
