// The existence test for paths named on the command line, and a path's file name.
#include "ui/files.h"

#include "text/names.h"
#include "ui/win32.h"

namespace ui {

bool FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  const DWORD error = ::GetLastError();
  // Not found, no such folder, or an invalid name (wildcards included): no file.
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
    return false;
  // Any other failure (access denied, sharing violation) says nothing about existence:
  // the folder's listing still shows the entry.
  WIN32_FIND_DATAW found{};
  UniqueFind search(::FindFirstFileW(path.c_str(), &found));
  return search && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring FileNameWithoutDirectory(const std::wstring& path) {
  return ToWide(kalvo::text::FileNameWithoutDirectory(ToU16(path)));
}

}  // namespace ui
