// Test support: clipboard contents built byte by byte (file lists as the shell writes them,
// or malformed ones), put on the clipboard by a window of the test's own.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace kalvo_test {

// The bytes of a DROPFILES block with its names after the header, as the shell writes it:
// each name ends with a zero character and an empty name ends the list. Wide names are
// UTF-16; otherwise they are written in code page 932.
inline std::string DropFilesBlock(const std::vector<std::wstring>& names, bool wide = true) {
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = wide;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
  for (const std::wstring& name : names) {
    if (wide) {
      bytes.append(reinterpret_cast<const char*>(name.c_str()), (name.size() + 1) * sizeof(wchar_t));
    } else {
      const int n = ::WideCharToMultiByte(932, 0, name.c_str(), -1, nullptr, 0, nullptr, nullptr);
      std::string ansi(static_cast<std::size_t>(n), '\0');
      ::WideCharToMultiByte(932, 0, name.c_str(), -1, ansi.data(), n, nullptr, nullptr);
      bytes += ansi;  // with its terminating zero
    }
  }
  bytes.append(wide ? 2 : 1, '\0');
  return bytes;
}

// A hidden window that owns what the tests put on the clipboard (a clipboard emptied
// without an owner window refuses new data on Windows).
inline HWND ClipboardOwnerWindow() {
  static HWND owner = ::CreateWindowExW(0, L"STATIC", L"kalvo test clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
  return owner;
}

// Replaces the clipboard's contents with these blocks, each exactly as given, in its format.
inline bool SetClipboardBlocks(const std::vector<std::pair<UINT, std::string>>& blocks) {
  bool opened = false;
  for (int attempt = 0; attempt < 500 && !opened; ++attempt) {
    opened = ::OpenClipboard(ClipboardOwnerWindow()) != FALSE;
    if (!opened) ::Sleep(10);  // another window may have it open for a moment
  }
  if (!opened) return false;
  bool ok = ::EmptyClipboard() != FALSE;
  for (const auto& [format, bytes] : blocks) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) {
      ok = false;
      continue;
    }
    std::memcpy(::GlobalLock(block), bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    if (!::SetClipboardData(format, block)) {
      ::GlobalFree(block);
      ok = false;
    }
  }
  ::CloseClipboard();
  return ok;
}

inline std::string TextBlock(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

}  // namespace kalvo_test
