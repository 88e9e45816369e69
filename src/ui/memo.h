// TMemo: the multi-line edit control holding the note, with its text, selection, modified
// flag, font, scroll bars and word wrap, and the re-creation of its window when those two change.
#pragma once

#include <windows.h>

#include <string>

#include "ui/component.h"
#include "ui/win32.h"

namespace ui {

class TPopupMenu;

enum class TScrollStyle { ssNone, ssBoth };

struct MemoSettings {
  std::wstring fontName;
  int fontHeight;  // pixels; negative is the character height without internal leading
  BYTE fontCharset;
};

class TMemo : public TComponent {
 public:
  TMemo(std::wstring name, MemoSettings settings);
  ~TMemo() override;

  HWND Handle() const noexcept { return handle_; }
  // The memo whose edit control is this window, if any.
  static TMemo* FromHandle(HWND hwnd) noexcept;

  void CreateHandle(HWND parent);
  void SetBounds(const RECT& r);
  bool Focused() const noexcept;
  void SetFocus();

  // The text. SetText replaces it whole (the control takes it up to its first NUL, empties
  // its undo record and clears the modified flag); it raises when the control refuses it.
  std::wstring Text() const;
  std::size_t TextLength() const;
  void SetText(const std::wstring& text);

  // For whole-text replacements: the most units the control takes, and its redrawing
  // switched off and on again (Repaint then draws it afresh).
  std::size_t MaxLength() const;
  void SetRedraw(bool redraw);
  void Repaint();

  std::size_t SelStart() const;
  std::size_t SelLength() const;
  std::wstring SelText() const;
  void SetSelection(std::size_t start, std::size_t length);
  void ScrollCaret();
  // Replaces the selection (or inserts at the caret) in one step; with canUndo false the
  // step is not recorded and the undo record is emptied.
  void ReplaceSelection(const std::wstring& text, bool canUndo = false);

  bool Modified() const;
  void SetModified(bool modified);

  bool CanUndo() const;
  void Undo();
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  void ClearSelection();
  void SelectAll();

  // The formatting rectangle and tab stops (dialog template units).
  RECT ClientRect() const;
  void SetFormattingRect(const RECT& r);
  void SetTabStops(int interval);

  // The font's height in pixels; setting it changes only the size.
  int FontHeight() const noexcept { return logFont_.lfHeight; }
  void SetFontHeight(int height);
  void ScaleFont(int numerator, int denominator);

  TScrollStyle ScrollBars() const noexcept { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool WordWrap() const noexcept { return wordWrap_; }
  void SetWordWrap(bool value);

  TPopupMenu* PopupMenu = nullptr;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  bool HandleContextMenu(LPARAM lp);
  DWORD Style() const;
  void CreateWindowWithStyle(HWND parent);
  // A new edit control with the current style, subclassed, without text or font.
  HWND NewEditWindow(HWND parent);
  void RecreateWnd();
  void ApplyFont();

  HWND handle_ = nullptr;
  LOGFONTW logFont_{};
  UniqueFont font_;
  TScrollStyle scrollBars_ = TScrollStyle::ssNone;
  bool wordWrap_ = false;
};

}  // namespace ui
