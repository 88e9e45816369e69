// Tests of encoding detection, decoding with line-break normalisation, and the saved bytes.
#include "text/encoding.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kalvo::text {
namespace {

using namespace std::string_literals;
using Bytes = std::vector<std::uint8_t>;

Bytes B(std::initializer_list<int> values) {
  Bytes bytes;
  for (const int v : values) {
    bytes.push_back(static_cast<std::uint8_t>(v));
  }
  return bytes;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Ascii(std::string_view s) { return Bytes(s.begin(), s.end()); }

// Stands in for the ANSI code page: each byte is the character of the same number.
std::u16string Latin1(std::span<const std::uint8_t> bytes) { return std::u16string(bytes.begin(), bytes.end()); }

std::u16string Decode(const Bytes& bytes) { return DecodeText(bytes, Latin1); }

// The UTF-8 form of a code point, written out from the definition.
void AppendUtf8(Bytes& out, char32_t c) {
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

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
}

Bytes Utf8(std::u16string_view text) {
  Bytes out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    AppendUtf8(out, c);
  }
  return out;
}

Bytes Utf16(std::u16string_view text, bool bigEndian) {
  Bytes out = bigEndian ? B({0xFE, 0xFF}) : B({0xFF, 0xFE});
  for (const char16_t u : text) {
    const auto low = static_cast<std::uint8_t>(u & 0xFF);
    const auto high = static_cast<std::uint8_t>(u >> 8);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  }
  return out;
}

const Bytes kUtf8Mark = B({0xEF, 0xBB, 0xBF});

TEST(DetectEncoding, MarksAndContent) {
  struct Case {
    const char* name;
    Bytes bytes;
    TextEncoding encoding;
    std::size_t markLength;
  };
  const Case cases[] = {
      {"empty", {}, TextEncoding::Ansi, 0},
      {"single FF", B({0xFF}), TextEncoding::Ansi, 0},
      {"single FE", B({0xFE}), TextEncoding::Ansi, 0},
      {"single EF", B({0xEF}), TextEncoding::Ansi, 0},
      {"start of UTF-8 mark only", B({0xEF, 0xBB}), TextEncoding::Ansi, 0},
      {"FF FE", B({0xFF, 0xFE}), TextEncoding::Utf16LE, 2},
      {"FE FF", B({0xFE, 0xFF}), TextEncoding::Utf16BE, 2},
      {"EF BB BF", B({0xEF, 0xBB, 0xBF}), TextEncoding::Utf8, 3},
      {"FF FE 00 00 is still UTF-16LE", B({0xFF, 0xFE, 0x00, 0x00}), TextEncoding::Utf16LE, 2},
      {"UTF-16LE with text", B({0xFF, 0xFE, 0x41, 0x00}), TextEncoding::Utf16LE, 2},
      {"UTF-16BE with text", B({0xFE, 0xFF, 0x00, 0x41}), TextEncoding::Utf16BE, 2},
      {"UTF-8 mark with text", B({0xEF, 0xBB, 0xBF, 0x41}), TextEncoding::Utf8, 3},
      {"FF FF", B({0xFF, 0xFF}), TextEncoding::Ansi, 0},
      {"FE FE", B({0xFE, 0xFE}), TextEncoding::Ansi, 0},
      {"EF BB BE is valid UTF-8 but no mark", B({0xEF, 0xBB, 0xBE}), TextEncoding::Utf8, 0},
      {"ASCII", Ascii("memo\r\nline\n"), TextEncoding::Ansi, 0},
      {"ASCII with NUL and controls", B({0x41, 0x00, 0x01, 0x7F}), TextEncoding::Ansi, 0},
      {"UTF-8 Japanese", Utf8(u"日本語\r\n"), TextEncoding::Utf8, 0},
      {"UTF-8 after long ASCII", Utf8(u"0123456789abcdefghij é"), TextEncoding::Utf8, 0},
      {"UTF-8 4-byte", B({0xF0, 0x9F, 0x98, 0x80}), TextEncoding::Utf8, 0},
      {"smallest 2-byte U+0080", B({0xC2, 0x80}), TextEncoding::Utf8, 0},
      {"U+D7FF below surrogates", B({0xED, 0x9F, 0xBF}), TextEncoding::Utf8, 0},
      {"U+E000 above surrogates", B({0xEE, 0x80, 0x80}), TextEncoding::Utf8, 0},
      {"U+FFFF", B({0xEF, 0xBF, 0xBF}), TextEncoding::Utf8, 0},
      {"U+10FFFF", B({0xF4, 0x8F, 0xBF, 0xBF}), TextEncoding::Utf8, 0},
      {"Shift_JIS", B({0x93, 0xFA, 0x96, 0x7B}), TextEncoding::Ansi, 0},
      {"Latin-1 at end", Ascii("caf\xE9"), TextEncoding::Ansi, 0},
      {"overlong 2-byte", B({0xC0, 0xAF}), TextEncoding::Ansi, 0},
      {"overlong C1", B({0xC1, 0xBF}), TextEncoding::Ansi, 0},
      {"overlong 3-byte", B({0xE0, 0x80, 0xAF}), TextEncoding::Ansi, 0},
      {"overlong 4-byte", B({0xF0, 0x80, 0x80, 0xAF}), TextEncoding::Ansi, 0},
      {"surrogate D800", B({0xED, 0xA0, 0x80}), TextEncoding::Ansi, 0},
      {"surrogate DFFF", B({0xED, 0xBF, 0xBF}), TextEncoding::Ansi, 0},
      {"above U+10FFFF", B({0xF4, 0x90, 0x80, 0x80}), TextEncoding::Ansi, 0},
      {"F5 lead", B({0xF5, 0x80, 0x80, 0x80}), TextEncoding::Ansi, 0},
      {"truncated at end", Concat(Utf8(u"日本"), B({0xE8, 0xAA})), TextEncoding::Ansi, 0},
      {"lone continuation", Concat(Ascii("0123456789"), B({0x80})), TextEncoding::Ansi, 0},
      {"valid then one bad byte", Concat(Utf8(u"日本"), B({0xFF})), TextEncoding::Ansi, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EncodingGuess guess = DetectEncoding(c.bytes);
    EXPECT_EQ(guess.encoding, c.encoding);
    EXPECT_EQ(guess.markLength, c.markLength);
  }
}

TEST(DecodeText, Utf16BothOrders) {
  struct Case {
    const char* name;
    Bytes bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"LE mark only", B({0xFF, 0xFE}), u""},
      {"BE mark only", B({0xFE, 0xFF}), u""},
      {"LE mark and a lone byte", B({0xFF, 0xFE, 0x41}), u""},
      {"LE odd length drops the last byte", B({0xFF, 0xFE, 0x41, 0x00, 0x42}), u"A"},
      {"BE odd length drops the last byte", B({0xFE, 0xFF, 0x00, 0x41, 0x00}), u"A"},
      {"LE NUL first is kept", B({0xFF, 0xFE, 0x00, 0x00, 0x41, 0x00}), u"\0A"s},
      {"BE NUL in the middle", B({0xFE, 0xFF, 0x00, 0x41, 0x00, 0x00, 0x00, 0x42}), u"A\0B"s},
      {"LE Japanese", B({0xFF, 0xFE, 0xE5, 0x65, 0x2C, 0x67}), u"日本"},
      {"BE Japanese", B({0xFE, 0xFF, 0x65, 0xE5, 0x67, 0x2C}), u"日本"},
      {"LE surrogate pair", B({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}), u"😀"},
      {"LE lone high surrogate", B({0xFF, 0xFE, 0x00, 0xD8, 0x41, 0x00}), {0xD800, u'A'}},
      {"BE lone low surrogate", B({0xFE, 0xFF, 0xDC, 0x00}), {0xDC00}},
      {"LE reversed pair", B({0xFF, 0xFE, 0x00, 0xDC, 0x00, 0xD8}), {0xDC00, 0xD800}},
      {"LE mark repeated is text", B({0xFF, 0xFE, 0xFF, 0xFE}), {0xFEFF}},
      {"LE lone LF", B({0xFF, 0xFE, 0x61, 0x00, 0x0A, 0x00, 0x62, 0x00}), u"a\r\nb"},
      {"BE lone CR at end", B({0xFE, 0xFF, 0x00, 0x61, 0x00, 0x0D}), u"a\r\n"},
      {"LE CR as dropped odd byte", B({0xFF, 0xFE, 0x61, 0x00, 0x0D}), u"a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Decode(c.bytes), c.text);
  }
}

// Units whose bytes include 0D or 0A are not line breaks, in either byte order and
// whether they fall inside a block of four units or at the tail.
TEST(DecodeText, Utf16UnitsContainingBreakBytesAreNotBreaks) {
  const std::u16string text = {0x0D00, 0x0A00, 0x0D0A, 0x0A0D, 0x010D, 0x0D0D, 0x0A0A, 0x0D01, 0x0A00, 0x0D00, 0x0D0A};
  EXPECT_EQ(Decode(Utf16(text, false)), text);
  EXPECT_EQ(Decode(Utf16(text, true)), text);
}

TEST(DecodeText, LenientUtf8) {
  struct Case {
    const char* name;
    Bytes body;  // follows the UTF-8 mark
    std::u16string text;
  };
  const Case cases[] = {
      {"mark only", {}, u""},
      {"Japanese", Utf8(u"日本語"), u"日本語"},
      {"a second mark is text", kUtf8Mark, u"\uFEFF"},
      {"NUL kept", B({0x41, 0x00, 0x42}), u"A\0B"s},
      {"bad byte in the middle keeps the rest", B({0x61, 0x62, 0xFF, 0x63, 0x64}), u"ab\uFFFDcd"},
      {"Unicode's maximal-subpart example",
       B({0x61, 0xF1, 0x80, 0x80, 0xE1, 0x80, 0xC2, 0x62, 0x80, 0x63, 0x80, 0xBF, 0x64}),
       u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
      {"truncated 3-byte at end", B({0x61, 0xE3, 0x81}), u"a\uFFFD"},
      {"truncated 4-byte at end", B({0xF0, 0x9F, 0x98}), u"\uFFFD"},
      {"truncated lead at end", B({0x61, 0xC3}), u"a\uFFFD"},
      {"truncated before ASCII", B({0xE3, 0x81, 0x41}), u"\uFFFDA"},
      {"truncated before a line break", B({0xE3, 0x0D, 0x0A}), u"\uFFFD\r\n"},
      {"truncated before a new lead", B({0xE3, 0x81, 0xE3, 0x81, 0x82}), u"\uFFFDあ"},
      {"lone continuation bytes", B({0x80, 0xBF}), u"\uFFFD\uFFFD"},
      {"overlong C0 AF", B({0xC0, 0xAF}), u"\uFFFD\uFFFD"},
      {"overlong C1 BF", B({0xC1, 0xBF}), u"\uFFFD\uFFFD"},
      {"overlong 3-byte", B({0xE0, 0x80, 0xAF}), u"\uFFFD\uFFFD\uFFFD"},
      {"overlong 4-byte", B({0xF0, 0x8F, 0xBF, 0xBF}), u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"surrogate D800", B({0xED, 0xA0, 0x80}), u"\uFFFD\uFFFD\uFFFD"},
      {"surrogate pair as two 3-byte forms", B({0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}),
       u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", B({0xF4, 0x90, 0x80, 0x80}), u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"F5 to FF", B({0xF5, 0xF8, 0xFC, 0xFE, 0xFF}), u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"4-byte character", B({0xF0, 0x9F, 0x98, 0x80}), u"😀"},
      {"first 4-byte U+10000", B({0xF0, 0x90, 0x80, 0x80}), {0xD800, 0xDC00}},
      {"last 4-byte U+10FFFF", B({0xF4, 0x8F, 0xBF, 0xBF}), {0xDBFF, 0xDFFF}},
      {"range edges",
       B({0xC2, 0x80, 0xDF, 0xBF, 0xE0, 0xA0, 0x80, 0xED, 0x9F, 0xBF, 0xEE, 0x80, 0x80, 0xEF, 0xBF, 0xBF}),
       u"\u0080\u07FF\u0800\uD7FF\uE000\uFFFF"},
      {"U+FFFD itself", B({0xEF, 0xBF, 0xBD}), u"\uFFFD"},
      {"line breaks", B({0x61, 0x0A, 0x62, 0x0D, 0x63, 0x0D, 0x0A}), u"a\r\nb\r\nc\r\n"},
      {"bad byte after a long valid stretch", Concat(Utf8(u"0123456789abcdef日本\n0123456789abcdef"), B({0xFF, 0x78})),
       u"0123456789abcdef日本\r\n0123456789abcdef\uFFFDx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Decode(Concat(kUtf8Mark, c.body)), c.text);
  }
}

// Length of a sequence from the bit pattern of its first byte; 0 when it cannot begin one.
std::size_t SequenceLength(std::uint8_t lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// Whether the n bytes from b[i] on begin some well-formed sequence of the given length:
// some code point that the missing bytes could complete is neither overlong, nor a
// surrogate, nor above U+10FFFF.
bool CanBegin(const Bytes& b, std::size_t i, std::size_t n, std::size_t length) {
  constexpr char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
  char32_t value = b[i] & (0x7F >> length);
  for (std::size_t k = 1; k < n; ++k) {
    if ((b[i + k] & 0xC0) != 0x80) {
      return false;
    }
    value = value << 6 | (b[i + k] & 0x3F);
  }
  const std::size_t missing = length - n;
  const char32_t low = value << (6 * missing);
  const char32_t high = low | ((char32_t{1} << (6 * missing)) - 1);
  const char32_t from = std::max(low, minimum[length]);
  const char32_t to = std::min(high, char32_t{0x10FFFF});
  return from <= to && !(from >= 0xD800 && to <= 0xDFFF);
}

std::u16string ReferenceDecode(const Bytes& b) {
  std::u16string out;
  std::size_t i = 0;
  while (i < b.size()) {
    const std::size_t length = SequenceLength(b[i]);
    if (length == 1) {
      out += static_cast<char16_t>(b[i++]);
      continue;
    }
    std::size_t n = 0;
    while (n < length && i + n < b.size() && CanBegin(b, i, n + 1, length)) {
      ++n;
    }
    if (length == 0 || n < length) {
      out += u'\uFFFD';
      i += std::max<std::size_t>(n, 1);
      continue;
    }
    char32_t value = b[i] & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      value = value << 6 | (b[i + k] & 0x3F);
    }
    AppendUtf16(out, value);
    i += length;
  }
  return out;
}

// The lenient decoding, said once more from the definitions: at each position either a
// well-formed sequence, or one U+FFFD for the longest start that some well-formed
// sequence has (at least one byte). Checked on every sequence of up to four bytes drawn
// from the bytes at the edges of the UTF-8 ranges.
TEST(DecodeText, LenientUtf8MatchesDefinitionOnEdgeBytes) {
  const std::uint8_t edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF,
                                0xE0, 0xE1, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFF};
  const std::size_t n = std::size(edges);
  Bytes file = kUtf8Mark;
  for (std::size_t length = 1; length <= 4; ++length) {
    std::size_t combinations = 1;
    for (std::size_t k = 0; k < length; ++k) {
      combinations *= n;
    }
    for (std::size_t index = 0; index < combinations; ++index) {
      Bytes body;
      for (std::size_t k = 0, rest = index; k < length; ++k, rest /= n) {
        body.push_back(edges[rest % n]);
      }
      file.resize(3);
      file.insert(file.end(), body.begin(), body.end());
      const std::u16string expected = ReferenceDecode(body);
      const std::u16string actual = Decode(file);
      if (actual != expected) {
        ADD_FAILURE() << "bytes " << ::testing::PrintToString(body);
        EXPECT_EQ(actual, expected);
        return;
      }
    }
  }
}

// Every scalar value except CR and LF, with and without the mark.
TEST(DecodeText, Utf8AllScalarValues) {
  Bytes body;
  std::u16string expected;
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if (c == 0x0D || c == 0x0A || (c >= 0xD800 && c <= 0xDFFF)) {
      continue;
    }
    AppendUtf8(body, c);
    AppendUtf16(expected, c);
  }
  EXPECT_EQ(DetectEncoding(body).encoding, TextEncoding::Utf8);
  EXPECT_TRUE(Decode(body) == expected);
  EXPECT_TRUE(Decode(Concat(kUtf8Mark, body)) == expected);
}

// Without a mark, only well-formed UTF-8 with a byte above 0x7F is read as UTF-8; the
// rest goes to the ANSI decoder whole, also when it fails only near its end.
TEST(DecodeText, WithoutMarkUtf8OnlyWhenWellFormed) {
  const std::u16string longText = u"0123456789abcdef\nメモ帳 0123456789abcdef";
  struct Case {
    const char* name;
    Bytes bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"well-formed", Utf8(longText), NormalizeLineBreaks(longText)},
      {"line break first", Utf8(u"\n日本"), u"\r\n日本"},
      {"CR LF first", Utf8(u"\r\n日本\r"), u"\r\n日本\r\n"},
      {"bad byte near the end", Concat(Utf8(longText), B({0xFF})),
       NormalizeLineBreaks(Latin1(Concat(Utf8(longText), B({0xFF}))))},
      {"cut short at the end", Concat(Utf8(longText), B({0xE3, 0x81})),
       NormalizeLineBreaks(Latin1(Concat(Utf8(longText), B({0xE3, 0x81}))))},
      {"overlong, leads and trails balanced", B({0x41, 0xC0, 0xAF}), u"A\u00C0\u00AF"},
      {"surrogate, leads and trails balanced", B({0xED, 0xA0, 0x80}), u"\u00ED\u00A0\u0080"},
      {"above U+10FFFF, balanced", B({0xF4, 0x90, 0x80, 0x80}), u"\u00F4\u0090\u0080\u0080"},
      {"Shift_JIS", B({0x83, 0x81, 0x83, 0x82}), u"\u0083\u0081\u0083\u0082"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Decode(c.bytes), c.text);
  }
}

TEST(DecodeText, AnsiGetsTheWholeFile) {
  struct Case {
    const char* name;
    Bytes bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"empty", {}, u""},
      {"ASCII with LF", Ascii("a\nb"), u"a\r\nb"},
      {"ASCII with CR LF unchanged", Ascii("a\r\nb\r\n"), u"a\r\nb\r\n"},
      {"NUL passes", B({0x41, 0x00, 0x0A}), u"A\0\r\n"s},
      {"Shift_JIS bytes", B({0x93, 0xFA, 0x0D, 0x96, 0x7B}), u"\u0093\u00FA\r\n\u0096\u007B"},
      {"single FF", B({0xFF}), u"\u00FF"},
      {"short of a mark", B({0xEF, 0xBB}), u"\u00EF\u00BB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Bytes> seen;
    const AnsiDecoder recording = [&seen](std::span<const std::uint8_t> bytes) {
      seen.emplace_back(bytes.begin(), bytes.end());
      return Latin1(bytes);
    };
    EXPECT_EQ(DecodeText(c.bytes, recording), c.text);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], c.bytes);
  }
}

TEST(DecodeText, AnsiDecoderUnusedForOtherEncodings) {
  const AnsiDecoder failing = [](std::span<const std::uint8_t>) {
    ADD_FAILURE() << "ANSI decoder called";
    return std::u16string();
  };
  for (const Bytes& bytes :
       {B({0xFF, 0xFE, 0x41, 0x00}), B({0xFE, 0xFF, 0x00, 0x41}), Concat(kUtf8Mark, Ascii("A")), Utf8(u"é")}) {
    DecodeText(bytes, failing);
  }
}

TEST(NormalizeLineBreaks, Table) {
  struct Case {
    std::u16string in;
    std::u16string out;
  };
  const Case cases[] = {
      {u"", u""},
      {u"abc", u"abc"},
      {u"\r", u"\r\n"},
      {u"\n", u"\r\n"},
      {u"\r\n", u"\r\n"},
      {u"\n\r", u"\r\n\r\n"},
      {u"\r\r\n", u"\r\n\r\n"},
      {u"\r\n\n", u"\r\n\r\n"},
      {u"\r\r", u"\r\n\r\n"},
      {u"\n\n", u"\r\n\r\n"},
      {u"a\r", u"a\r\n"},
      {u"a\n", u"a\r\n"},
      {u"\rb", u"\r\nb"},
      {u"a\r\nb\nc\rd", u"a\r\nb\r\nc\r\nd"},
      {u"a\0b\nc"s, u"a\0b\r\nc"s},
      {u"\r\0\n"s, u"\r\n\0\r\n"s},
      {u"\0"s, u"\0"s},
      {u"\u2028\u0085\v\f", u"\u2028\u0085\v\f"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.in));
    EXPECT_EQ(NormalizeLineBreaks(c.in), c.out);
  }
}

// Each kind of break at every offset of a longer text, through every decoding path, so
// that a break in any place of a block read at once is found. The fillers include units
// with the top bit set, right before and after the break.
TEST(NormalizeLineBreaks, EveryOffsetEveryPath) {
  struct Break {
    std::u16string in;
    std::u16string out;
  };
  const Break breaks[] = {
      {u"\r", u"\r\n"}, {u"\n", u"\r\n"}, {u"\r\n", u"\r\n"}, {u"\n\r", u"\r\n\r\n"}, {u"\r\r\n", u"\r\n\r\n"},
  };
  const std::u16string fillers[][2] = {{u"x", u"y"}, {u"\uFFFF", u"\u8000"}, {u"é", u"日"}};
  for (const auto& filler : fillers) {
    for (const Break& br : breaks) {
      for (std::size_t offset = 0; offset <= 20; ++offset) {
        std::u16string head;
        std::u16string tail;
        for (std::size_t k = 0; k < 20; ++k) {
          (k < offset ? head : tail) += filler[k < offset ? 0 : 1];
        }
        const std::u16string in = head + br.in + tail;
        const std::u16string out = head + br.out + tail;
        SCOPED_TRACE(::testing::PrintToString(in));
        EXPECT_EQ(NormalizeLineBreaks(in), out);
        EXPECT_EQ(Decode(Utf16(in, false)), out);
        EXPECT_EQ(Decode(Utf16(in, true)), out);
        EXPECT_EQ(Decode(Concat(kUtf8Mark, Utf8(in))), out);
        // Without a mark: UTF-8 thanks to the non-ASCII start.
        EXPECT_EQ(Decode(Utf8(u"日本" + in)), u"日本" + out);
      }
    }
  }
  // ASCII without a mark takes the ANSI path.
  EXPECT_EQ(Decode(Ascii("0123456789abcdef\n0123456789abcdef\r")), u"0123456789abcdef\r\n0123456789abcdef\r\n");
}

TEST(EncodeUtf16LEWithMark, Bytes) {
  struct Case {
    const char* name;
    std::u16string text;
    Bytes bytes;
  };
  const Case cases[] = {
      {"empty", u"", B({0xFF, 0xFE})},
      {"ASCII", u"A", B({0xFF, 0xFE, 0x41, 0x00})},
      {"Japanese low byte first", u"あ", B({0xFF, 0xFE, 0x42, 0x30})},
      {"line breaks as they are", u"\r\n\n", B({0xFF, 0xFE, 0x0D, 0x00, 0x0A, 0x00, 0x0A, 0x00})},
      {"unpaired surrogate", {0xD800}, B({0xFF, 0xFE, 0x00, 0xD8})},
      {"surrogate pair", u"😀", B({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE})},
      {"NUL", u"\0"s, B({0xFF, 0xFE, 0x00, 0x00})},
      {"mark in the text", u"\uFEFF", B({0xFF, 0xFE, 0xFF, 0xFE})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(EncodeUtf16LEWithMark(c.text), c.bytes);
  }
}

// Views and spans made without any storage.
TEST(DecodeText, EmptyWithoutStorage) {
  EXPECT_EQ(DecodeText(std::span<const std::uint8_t>(), Latin1), u"");
  EXPECT_EQ(NormalizeLineBreaks(std::u16string_view()), u"");
  EXPECT_EQ(EncodeUtf16LEWithMark(std::u16string_view()), B({0xFF, 0xFE}));
  EXPECT_EQ(DetectEncoding(std::span<const std::uint8_t>()).encoding, TextEncoding::Ansi);
  EXPECT_TRUE(IsValidUtf8(std::span<const std::uint8_t>()));
}

TEST(EncodeUtf16LEWithMark, ReadsBackUnchanged) {
  const std::u16string text = u"メモ\r\n\uFEFF😀\r\n"s + char16_t{0xDC00} + u"\0end"s;
  EXPECT_EQ(Decode(EncodeUtf16LEWithMark(text)), text);
}

}  // namespace
}  // namespace kalvo::text
