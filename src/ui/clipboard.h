// The clipboard as the window code reads it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

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

  // File lists (CF_HDROP).
  // The full paths of the clipboard's file list in the list's order, each read in UTF-16 at
  // its full length, with the clipboard held open from the first name to the last. Empty
  // when the clipboard delivers no list data or a list without names, and when the list is
  // malformed (its names do not start and end inside the block); raises when the
  // clipboard cannot be opened.
  static std::vector<std::wstring> FileNames();
};

}  // namespace ui
