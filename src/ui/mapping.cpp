// The character conversions over LCMapStringW.
#include "ui/mapping.h"

#include <windows.h>

#include <limits>

#include "ui/exception.h"

namespace ui {
namespace {

DWORD MappingFlags(TCharConversion conversion) {
  switch (conversion) {
    case TCharConversion::Upper: return LCMAP_UPPERCASE;
    case TCharConversion::Lower: return LCMAP_LOWERCASE;
    case TCharConversion::HalfWidth: return LCMAP_HALFWIDTH;
    case TCharConversion::FullWidthHiragana: return LCMAP_FULLWIDTH | LCMAP_HIRAGANA;
    case TCharConversion::FullWidthKatakana: return LCMAP_FULLWIDTH | LCMAP_KATAKANA;
  }
  return 0;
}

}  // namespace

std::optional<TCharConversion> CharConversionFromTag(int tag) {
  if (tag < static_cast<int>(TCharConversion::Upper) || tag > static_cast<int>(TCharConversion::FullWidthKatakana))
    return std::nullopt;
  return static_cast<TCharConversion>(tag);
}

std::wstring ConvertCharacters(std::wstring_view text, TCharConversion conversion) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw Exception(SystemErrorText(ERROR_INSUFFICIENT_BUFFER));
  const DWORD flags = MappingFlags(conversion);
  const int length = static_cast<int>(text.size());
  // The text is passed with its length, not as a terminated string, so the mapping writes
  // no terminator. Asked first with no output, it tells the size of the whole result:
  // half-width kana can double the length, full-width joining can shrink it.
  const int needed = ::LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, text.data(), length, nullptr, 0);
  if (needed <= 0) RaiseLastOSError();
  std::wstring result(static_cast<std::size_t>(needed), L'\0');
  const int written = ::LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, text.data(), length, result.data(), needed);
  if (written <= 0) RaiseLastOSError();
  result.resize(static_cast<std::size_t>(written));
  return result;
}

}  // namespace ui
