// Questions about paths in the file system that the window code asks.
#pragma once

#include <string>

namespace ui {

// Whether the path names an existing file that is not a directory. A path that cannot be
// asked about directly (access denied, sharing violation) is looked for in its folder.
bool FileExists(const std::wstring& path);

// The part of the path after its last "\" or ":" ("/" does not separate): what the
// caption shows of a file.
std::wstring FileNameWithoutDirectory(const std::wstring& path);

}  // namespace ui
