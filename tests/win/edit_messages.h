// Test support: records the text-changing messages that reach the edit area, so a test can
// tell one replace-selection step from several steps or a whole-text rewrite.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

namespace kalvo_test {

class EditMessageLog {
 public:
  struct Entry {
    UINT message;
    WPARAM wParam;
  };

  explicit EditMessageLog(HWND edit) : edit_(edit) {
    ::SetWindowSubclass(edit_, &Proc, kId, reinterpret_cast<DWORD_PTR>(this));
  }
  ~EditMessageLog() {
    if (::IsWindow(edit_)) ::RemoveWindowSubclass(edit_, &Proc, kId);
  }
  EditMessageLog(const EditMessageLog&) = delete;
  EditMessageLog& operator=(const EditMessageLog&) = delete;

  const std::vector<Entry>& Entries() const { return entries_; }

  // Whether the only text change was one replacement of the selection that cannot be undone.
  bool OneReplaceSelectionWithoutUndo() const {
    return entries_.size() == 1 && entries_[0].message == EM_REPLACESEL && entries_[0].wParam == FALSE;
  }
  bool OnlyOwnPaste() const { return entries_.size() == 1 && entries_[0].message == WM_PASTE; }

 private:
  static constexpr UINT_PTR kId = 0x4B4C;

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<EditMessageLog*>(data);
    switch (msg) {
      case EM_REPLACESEL:
      case WM_SETTEXT:
      case WM_PASTE:
      case WM_CHAR:
      case WM_CLEAR:
      case WM_CUT:
      case WM_UNDO:
        self->entries_.push_back({msg, wp});
        break;
      default:
        break;
    }
    return ::DefSubclassProc(hwnd, msg, wp, lp);
  }

  HWND edit_;
  std::vector<Entry> entries_;
};

}  // namespace kalvo_test
