// The bytes that Save As writes for a text: the mark FF FE, then UTF-16 little-endian.
#pragma once

#include <cstdint>
#include <string>

#include "files_support.h"

namespace kalvo_test {

inline Bytes Utf16LeWithMark(const std::wstring& text) {
  Bytes out{0xFF, 0xFE};
  for (wchar_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
  }
  return out;
}

}  // namespace kalvo_test
