// The real message boxes and common file dialogs, unless a test has put its seam in place.
#include "ui/dialogs.h"

#include <commdlg.h>

#include <vector>

namespace ui {
namespace {

DialogSeam g_seam;

std::wstring FromAnsi(const std::string& s) {
  if (s.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

}  // namespace

void SetDialogSeam(DialogSeam seam) { g_seam = std::move(seam); }

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  if (g_seam.messageBox) return g_seam.messageBox({owner, text, caption, type, false});
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

int ShowMessageBoxA(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  if (g_seam.messageBox) return g_seam.messageBox({owner, FromAnsi(text), FromAnsi(caption), type, true});
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

FileDialogResult RunFileDialog(const FileDialogRequest& request) {
  if (g_seam.fileDialog) return g_seam.fileDialog(request);
  // Room for long paths; the field starts with the dialog's last accepted name.
  std::vector<wchar_t> buffer(32768, L'\0');
  request.fileName.copy(buffer.data(), buffer.size() - 1);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = request.owner;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrDefExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  const BOOL ok = request.kind == FileDialogKind::Open ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn);
  if (!ok) return std::nullopt;  // cancelled, or the dialog could not run: nothing chosen
  return std::wstring(buffer.data());
}

}  // namespace ui
