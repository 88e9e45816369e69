// Fuzzes the decoding of a whole file and checks what holds for every file: only CR LF
// breaks come out, normalising again changes nothing, and apart from the line breaks the
// text is the file's content in the detected encoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/encoding.h"

namespace {

using namespace kalvo::text;

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

std::u16string Latin1(std::span<const std::uint8_t> bytes) { return std::u16string(bytes.begin(), bytes.end()); }

std::u16string WithoutBreaks(std::u16string_view text) {
  std::u16string out;
  for (const char16_t c : text) {
    if (c != u'\r' && c != u'\n') {
      out += c;
    }
  }
  return out;
}

// The number of line breaks in a text before normalisation: CR LF counts once.
std::size_t BreakCount(std::u16string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))) {
      ++count;
    }
  }
  return count;
}

bool IsWellFormedUtf16(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= 0xD800 && text[i] <= 0xDBFF) {
      if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
        return false;
      }
      ++i;
    } else if (text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

std::vector<std::uint8_t> Utf8FromUtf16(std::u16string_view text) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
    }
    if (c < 0x80) {
      out.push_back(static_cast<std::uint8_t>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<std::uint8_t>(0xC0 | c >> 6));
      out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<std::uint8_t>(0xE0 | c >> 12));
      out.push_back(static_cast<std::uint8_t>(0x80 | (c >> 6 & 0x3F)));
      out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<std::uint8_t>(0xF0 | c >> 18));
      out.push_back(static_cast<std::uint8_t>(0x80 | (c >> 12 & 0x3F)));
      out.push_back(static_cast<std::uint8_t>(0x80 | (c >> 6 & 0x3F)));
      out.push_back(static_cast<std::uint8_t>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::vector<std::uint8_t> BytesWithoutBreaks(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> out;
  for (const std::uint8_t b : bytes) {
    if (b != 0x0D && b != 0x0A) {
      out.push_back(b);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const std::u16string text = DecodeText(file, Latin1);

  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r') {
      Check(i + 1 < text.size() && text[i + 1] == u'\n');
    } else if (text[i] == u'\n') {
      Check(i > 0 && text[i - 1] == u'\r');
    }
  }
  Check(NormalizeLineBreaks(text) == text);

  const EncodingGuess guess = DetectEncoding(file);
  const std::span<const std::uint8_t> body = file.subspan(guess.markLength);
  switch (guess.encoding) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
      const bool little = guess.encoding == TextEncoding::Utf16LE;
      std::u16string units(body.size() / 2, u'\0');
      for (std::size_t i = 0; i < units.size(); ++i) {
        const unsigned first = body[2 * i];
        const unsigned second = body[2 * i + 1];
        units[i] = static_cast<char16_t>(little ? first | second << 8 : first << 8 | second);
      }
      Check(text.size() >= units.size() && text.size() <= 2 * units.size());
      Check(WithoutBreaks(text) == WithoutBreaks(units));
      Check(BreakCount(text) == BreakCount(units));
      break;
    }
    case TextEncoding::Utf8:
      Check(text.size() <= 2 * body.size());
      Check(IsWellFormedUtf16(text));
      if (IsValidUtf8(body)) {
        Check(Utf8FromUtf16(WithoutBreaks(text)) == BytesWithoutBreaks(body));
      } else {
        Check(guess.markLength == 3);
      }
      break;
    case TextEncoding::Ansi: {
      const std::u16string decoded = Latin1(file);
      Check(WithoutBreaks(text) == WithoutBreaks(decoded));
      Check(BreakCount(text) == BreakCount(decoded));
      break;
    }
  }
  return 0;
}
