// Message boxes and file dialogs, all through one seam that tests can script.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace ui {

struct MessageBoxRequest {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT type;
  bool ansi;  // shown through MessageBoxA (text and caption in the ANSI code page)
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
  FileDialogKind kind;
  HWND owner;
  std::wstring fileName;    // shown in the file-name field
  std::wstring defaultExt;  // added to a name typed without extension
};

// The user's choice: the full path of the accepted file, or nothing when cancelled.
using FileDialogResult = std::optional<std::wstring>;

struct DialogSeam {
  std::function<int(const MessageBoxRequest&)> messageBox;
  std::function<FileDialogResult(const FileDialogRequest&)> fileDialog;
};

// Replaces the real boxes and dialogs (tests); an empty member keeps the real one.
void SetDialogSeam(DialogSeam seam);

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
int ShowMessageBoxA(HWND owner, const std::string& text, const std::string& caption, UINT type);
FileDialogResult RunFileDialog(const FileDialogRequest& request);

}  // namespace ui
