// The only way text reaches or leaves a file: reading a text file into a memo and writing
// a memo's text to a file as UTF-16 little-endian with a byte-order mark.
#pragma once

#include <string>

namespace ui {

class TMemo;

// Reads the file and replaces the memo's whole text with it (left untouched when the text
// would not change). Raises with the message the user sees when the file cannot be
// opened or read, or when the memo cannot hold the text.
void LoadTextFile(TMemo& memo, const std::wstring& fileName);

// Writes the memo's whole text to the file. The old content of an existing file survives
// any failure. Raises with the message the user sees.
void SaveTextFile(TMemo& memo, const std::wstring& fileName);

}  // namespace ui
