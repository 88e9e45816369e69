// System error texts and message formatting for ui::Exception.
#include "ui/exception.h"

#include "text/names.h"
#include "ui/win32.h"

namespace ui {

std::wstring SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) ::LocalFree(buffer);
  return ToWide(kalvo::text::CleanSystemErrorText(ToU16(text)));
}

void RaiseLastOSError() {
  const DWORD code = ::GetLastError();
  throw Exception(SystemErrorText(code));
}

std::wstring Format(std::wstring_view pattern, std::initializer_list<std::wstring_view> args) {
  std::wstring out;
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] == L's') {
      if (next != args.end()) out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace ui
