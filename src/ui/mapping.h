// The five character conversions of a text (case, width, kana script), done by the
// platform's locale string mapping.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// The conversions in the order of the menu items' tags, 1 to 5.
enum class TCharConversion { Upper = 1, Lower, HalfWidth, FullWidthHiragana, FullWidthKatakana };

// The conversion a menu item's tag stands for; nothing for any other tag.
std::optional<TCharConversion> CharConversionFromTag(int tag);

// The text as LCMapStringW maps it in the system's default locale: exactly the characters
// the mapping produced, however much longer or shorter than the text. Raises with the
// system error text when the mapping fails.
std::wstring ConvertCharacters(std::wstring_view text, TCharConversion conversion);

}  // namespace ui
