// Reading the clipboard.
#include "ui/clipboard.h"

#include <cwchar>

#include "ui/exception.h"
#include "ui/win32.h"

namespace ui {

bool TClipboard::HasFormat(UINT format) { return ::IsClipboardFormatAvailable(format) != FALSE; }

void TClipboard::RaiseOpenError() {
  const DWORD code = ::GetLastError();
  throw Exception(Format(L"クリップボード %s を開けません", {SystemErrorText(code)}));
}

std::wstring TClipboard::AsText() {
  ClipboardGuard clipboard(nullptr);
  if (!clipboard) RaiseOpenError();
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  GlobalLockGuard lock(data);
  const auto* text = static_cast<const wchar_t*>(lock.get());
  if (!text) return {};
  // Another program wrote this block: never read past its end, even without a terminator.
  const std::size_t capacity = lock.size() / sizeof(wchar_t);
  return std::wstring(text, ::wcsnlen(text, capacity));
}

}  // namespace ui
