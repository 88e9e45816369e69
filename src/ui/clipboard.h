// The clipboard as the window code reads it.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

class TClipboard {
 public:
  // Whether the clipboard offers a format; does not open the clipboard.
  static bool HasFormat(UINT format);
  // The clipboard's Unicode text up to its first NUL (empty when there is none), with the
  // clipboard open only for the read; raises when it cannot be opened.
  static std::wstring AsText();
  // The error raised when the clipboard cannot be opened, from GetLastError().
  [[noreturn]] static void RaiseOpenError();
};

}  // namespace ui
