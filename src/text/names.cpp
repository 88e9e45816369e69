// File names, the application title and the texts of error messages.
#include "text/names.h"

namespace kalvo::text {

std::u16string_view FileNameWithoutDirectory(std::u16string_view path) {
  const std::size_t last = path.find_last_of(u"\\:");
  return last == std::u16string_view::npos ? path : path.substr(last + 1);
}

std::u16string ApplicationTitle(std::u16string_view modulePath, const std::function<char16_t(char16_t)>& toLower) {
  std::u16string_view name = modulePath;
  if (const std::size_t slash = name.rfind(u'\\'); slash != std::u16string_view::npos) {
    name.remove_prefix(slash + 1);
  }
  name = name.substr(0, name.find(u'.'));
  std::u16string title(name);
  for (std::size_t i = 1; i < title.size(); ++i) {
    title[i] = toLower(title[i]);
  }
  return title;
}

std::u16string ErrorReportText(std::u16string message) {
  if (!message.empty() && message.back() > u'.') {
    message += u'.';
  }
  return message;
}

std::u16string CleanSystemErrorText(std::u16string text) {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] <= 0x0020 || text[end - 1] == u'.')) {
    --end;
  }
  text.resize(end);
  return text;
}

std::u16string FormatMessageText(std::u16string_view pattern, std::initializer_list<std::u16string_view> args) {
  constexpr std::u16string_view placeholder = u"%s";
  std::u16string text;
  const std::u16string_view* nextArg = args.begin();
  std::size_t pos = 0;
  for (;;) {
    const std::size_t found = pattern.find(placeholder, pos);
    text.append(pattern.substr(pos, found == std::u16string_view::npos ? found : found - pos));
    if (found == std::u16string_view::npos) {
      return text;
    }
    if (nextArg != args.end()) {
      text.append(*nextArg++);
    }
    pos = found + placeholder.size();
  }
}

}  // namespace kalvo::text
