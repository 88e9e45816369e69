// Text file encodings: recognising how a file's bytes are encoded, decoding them into
// UTF-16 with every line break turned into CR LF, and the bytes a saved file consists of.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo::text {

enum class TextEncoding { Utf16LE, Utf16BE, Utf8, Ansi };

struct EncodingGuess {
  TextEncoding encoding;
  std::size_t markLength;  // bytes of byte-order mark at the start of the file
};

// Byte-order marks are tested in the order FF FE, FE FF, EF BB BF. Without a mark, a file
// whose bytes are all valid UTF-8 and include one above 0x7F is UTF-8; anything else
// (pure ASCII and the empty file included) is in the ANSI code page.
EncodingGuess DetectEncoding(std::span<const std::uint8_t> bytes);

// True when the bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing
// above U+10FFFF and no sequence cut short by the end.
bool IsValidUtf8(std::span<const std::uint8_t> bytes);

// Converts bytes in the system's ANSI code page to UTF-16; the platform supplies it.
using AnsiDecoder = std::function<std::u16string(std::span<const std::uint8_t>)>;

// The text of a whole file: the encoding is detected, the mark skipped, the rest decoded
// and its line breaks normalised. UTF-16 keeps every unit as it is and drops a lone last
// byte; UTF-8 turns each invalid sequence into U+FFFD; ANSI goes through `ansi`. A text
// too large to hold throws std::bad_alloc or std::length_error.
std::u16string DecodeText(std::span<const std::uint8_t> fileBytes, const AnsiDecoder& ansi);

// CR LF stays, a lone CR and a lone LF become CR LF; every other unit is kept.
std::u16string NormalizeLineBreaks(std::u16string_view text);

// The bytes of a saved file: FF FE, then each code unit low byte first, nothing else.
std::vector<std::uint8_t> EncodeUtf16LEWithMark(std::u16string_view text);

}  // namespace kalvo::text
