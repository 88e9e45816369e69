// A seam for tests of LoadTextFile and SaveTextFile: the functions that read and write the
// files' bytes, so that a test can make a read come back short or a write fail part-way
// as a full disk would.
#pragma once

#include <windows.h>

namespace ui {

using ReadFileFunction = BOOL(WINAPI*)(HANDLE file, LPVOID data, DWORD size, LPDWORD read,
                                       LPOVERLAPPED overlapped);
using WriteFileFunction = BOOL(WINAPI*)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                        LPOVERLAPPED overlapped);

// An empty member keeps the system's ReadFile or WriteFile.
struct FileIoSeam {
  ReadFileFunction read = nullptr;
  WriteFileFunction write = nullptr;
};

void SetFileIoSeam(FileIoSeam seam) noexcept;

}  // namespace ui
