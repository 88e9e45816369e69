// Reading the clipboard.
#include "ui/clipboard.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <limits>
#include <optional>

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

// File lists (CF_HDROP).

namespace {

// The number of names in a DROPFILES block of `size` bytes, or nothing when the block is
// malformed: too small for its header, names starting in the header or past the end, or
// no empty name ending the list inside the block. Another program wrote the block, so
// nothing past its end is ever read. Names are bytes in the ANSI code page, or UTF-16 when
// the header says fWide.
std::optional<UINT> CountDropFileNames(const void* block, SIZE_T size) {
  DROPFILES header{};
  if (size < sizeof(header)) return std::nullopt;
  std::memcpy(&header, block, sizeof(header));
  if (header.pFiles < sizeof(header) || header.pFiles >= size) return std::nullopt;
  const auto* bytes = static_cast<const unsigned char*>(block);
  const SIZE_T unit = header.fWide ? sizeof(wchar_t) : 1;
  UINT count = 0;
  bool atNameStart = true;
  for (SIZE_T pos = header.pFiles; size - pos >= unit; pos += unit) {
    const bool zero = bytes[pos] == 0 && (unit == 1 || bytes[pos + 1] == 0);
    if (!zero) {
      atNameStart = false;
    } else if (atNameStart) {
      return count;  // the empty name that ends the list
    } else {
      if (count == std::numeric_limits<UINT>::max() - 1) return std::nullopt;
      ++count;
      atNameStart = true;
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::wstring> TClipboard::FileNames() {
  ClipboardGuard clipboard(nullptr);
  if (!clipboard) RaiseOpenError();
  HANDLE data = ::GetClipboardData(CF_HDROP);
  if (!data) return {};
  // Locked for as long as the names are read, so the checked block is the one read.
  GlobalLockGuard lock(data);
  if (!lock.get()) return {};
  const std::optional<UINT> count = CountDropFileNames(lock.get(), lock.size());
  auto* drop = static_cast<HDROP>(data);
  // The shell must see the list as checked; otherwise it is read as nothing.
  if (!count || ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) != *count) return {};
  std::vector<std::wstring> names;
  names.reserve(*count);
  for (UINT i = 0; i < *count; ++i) {
    // Asked with no buffer, the shell tells the name's length (for a list in the ANSI code
    // page, its length in bytes, which is never less than its UTF-16 length).
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
    ::DragQueryFileW(drop, i, name.data(), length + 1);
    name.resize(::wcsnlen(name.data(), name.size()));
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace ui
