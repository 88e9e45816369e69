// TMemo over the system edit control.
#include "ui/memo.h"

#include <windowsx.h>

#include <utility>

#include "ui/application.h"
#include "ui/exception.h"
#include "ui/menu.h"

namespace ui {
namespace {

constexpr wchar_t kMemoProperty[] = L"Kalvo.TMemo";
WNDPROC g_editProc = nullptr;  // the system edit control's own window procedure

}  // namespace

TMemo::TMemo(std::wstring name, MemoSettings settings) : TComponent(std::move(name)) {
  logFont_.lfHeight = settings.fontHeight;
  logFont_.lfWeight = FW_NORMAL;
  logFont_.lfCharSet = settings.fontCharset;
  logFont_.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont_.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont_.lfQuality = DEFAULT_QUALITY;
  logFont_.lfPitchAndFamily = DEFAULT_PITCH;
  settings.fontName.copy(logFont_.lfFaceName, LF_FACESIZE - 1);
}

TMemo::~TMemo() {
  if (handle_) ::DestroyWindow(handle_);
}

TMemo* TMemo::FromHandle(HWND hwnd) noexcept {
  return hwnd ? static_cast<TMemo*>(::GetPropW(hwnd, kMemoProperty)) : nullptr;
}

DWORD TMemo::Style() const {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (!wordWrap_) style |= ES_AUTOHSCROLL;
  if (scrollBars_ == TScrollStyle::ssBoth) style |= WS_HSCROLL | WS_VSCROLL;
  return style;
}

void TMemo::CreateHandle(HWND parent) { CreateWindowWithStyle(parent); }

void TMemo::CreateWindowWithStyle(HWND parent) {
  handle_ = NewEditWindow(parent);
  ApplyFont();
}

HWND TMemo::NewEditWindow(HWND parent) {
  RECT client{};
  ::GetClientRect(parent, &client);
  HWND hwnd = ::CreateWindowExW(0, L"EDIT", L"", Style(), 0, 0, client.right, client.bottom, parent,
                                reinterpret_cast<HMENU>(1), ::GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) RaiseLastOSError();
  ::SetPropW(hwnd, kMemoProperty, this);
  WNDPROC previous = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TMemo::SubclassProc)));
  if (!g_editProc) g_editProc = previous;
  // No limit of our own: the control's largest (the default would be 30000 units).
  ::SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
  return hwnd;
}

void TMemo::ApplyFont() {
  UniqueFont font(::CreateFontIndirectW(&logFont_));
  if (!font) RaiseLastOSError();
  if (handle_) ::SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  font_ = std::move(font);  // the old font is released only after the control let go of it
}

void TMemo::SetFontHeight(int height) {
  if (height == logFont_.lfHeight) return;
  logFont_.lfHeight = height;
  ApplyFont();
}

void TMemo::ScaleFont(int numerator, int denominator) {
  logFont_.lfHeight = ::MulDiv(logFont_.lfHeight, numerator, denominator);
  if (handle_) ApplyFont();
}

void TMemo::SetBounds(const RECT& r) {
  ::MoveWindow(handle_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

bool TMemo::Focused() const noexcept { return handle_ && ::GetFocus() == handle_; }

void TMemo::SetFocus() { ::SetFocus(handle_); }

std::wstring TMemo::Text() const {
  const int n = ::GetWindowTextLengthW(handle_);
  std::wstring s(static_cast<std::size_t>(n), L'\0');
  if (n > 0) {
    const int got = ::GetWindowTextW(handle_, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  }
  return s;
}

std::size_t TMemo::TextLength() const {
  return static_cast<std::size_t>(::GetWindowTextLengthW(handle_));
}

void TMemo::SetText(const std::wstring& text) {
  if (!::SendMessageW(handle_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
    throw Exception(L"文字列の大きさがメモの制限を越えました");
}

std::size_t TMemo::MaxLength() const {
  return static_cast<std::size_t>(static_cast<DWORD>(::SendMessageW(handle_, EM_GETLIMITTEXT, 0, 0)));
}

void TMemo::SetRedraw(bool redraw) { ::SendMessageW(handle_, WM_SETREDRAW, redraw ? TRUE : FALSE, 0); }

void TMemo::Repaint() {
  ::InvalidateRect(handle_, nullptr, TRUE);
  ::UpdateWindow(handle_);
}

std::size_t TMemo::SelStart() const {
  DWORD start = 0, end = 0;
  ::SendMessageW(handle_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start;
}

std::size_t TMemo::SelLength() const {
  DWORD start = 0, end = 0;
  ::SendMessageW(handle_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return end > start ? end - start : 0;
}

std::wstring TMemo::SelText() const {
  DWORD start = 0, end = 0;
  ::SendMessageW(handle_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (end <= start) return {};
  const std::wstring text = Text();
  if (start >= text.size()) return {};
  return text.substr(start, end - start);
}

void TMemo::SetSelection(std::size_t start, std::size_t length) {
  ::SendMessageW(handle_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
}

void TMemo::ScrollCaret() { ::SendMessageW(handle_, EM_SCROLLCARET, 0, 0); }

void TMemo::ReplaceSelection(const std::wstring& text, bool canUndo) {
  ::SendMessageW(handle_, EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

bool TMemo::Modified() const { return ::SendMessageW(handle_, EM_GETMODIFY, 0, 0) != 0; }

void TMemo::SetModified(bool modified) { ::SendMessageW(handle_, EM_SETMODIFY, modified ? TRUE : FALSE, 0); }

bool TMemo::CanUndo() const { return ::SendMessageW(handle_, EM_CANUNDO, 0, 0) != 0; }
void TMemo::Undo() { ::SendMessageW(handle_, WM_UNDO, 0, 0); }
void TMemo::CutToClipboard() { ::SendMessageW(handle_, WM_CUT, 0, 0); }
void TMemo::CopyToClipboard() { ::SendMessageW(handle_, WM_COPY, 0, 0); }
void TMemo::PasteFromClipboard() { ::SendMessageW(handle_, WM_PASTE, 0, 0); }
void TMemo::ClearSelection() { ::SendMessageW(handle_, WM_CLEAR, 0, 0); }
void TMemo::SelectAll() { ::SendMessageW(handle_, EM_SETSEL, 0, -1); }

RECT TMemo::ClientRect() const {
  RECT r{};
  ::GetClientRect(handle_, &r);
  return r;
}

void TMemo::SetFormattingRect(const RECT& r) {
  ::SendMessageW(handle_, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

void TMemo::SetTabStops(int interval) {
  ::SendMessageW(handle_, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&interval));
  ::InvalidateRect(handle_, nullptr, TRUE);
}

void TMemo::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_) return;
  const TScrollStyle previous = std::exchange(scrollBars_, value);
  try {
    RecreateWnd();
  } catch (...) {
    scrollBars_ = previous;  // the old window is still there, with the old style
    throw;
  }
}

void TMemo::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  const bool previous = std::exchange(wordWrap_, value);
  try {
    RecreateWnd();
  } catch (...) {
    wordWrap_ = previous;
    throw;
  }
}

void TMemo::RecreateWnd() {
  if (!handle_) return;
  // The edit control takes scroll bars and wrapping only at creation: build a new window
  // with the new style and carry over what the user sees as the document. The old window
  // goes only once the new one holds the text, so a failure leaves the note as it was.
  const std::wstring text = Text();
  const bool modified = Modified();
  const std::size_t start = SelStart();
  const std::size_t length = SelLength();
  const bool hadFocus = Focused();
  HWND old = handle_;
  HWND parent = ::GetParent(old);
  RECT bounds{};
  ::GetWindowRect(old, &bounds);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
  HWND fresh = NewEditWindow(parent);
  handle_ = fresh;
  // The same font object: the old window keeps using it until it is destroyed.
  ::SendMessageW(fresh, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  SetBounds(bounds);
  try {
    SetText(text);
  } catch (...) {
    handle_ = old;
    ::DestroyWindow(fresh);
    throw;
  }
  SetModified(modified);
  SetSelection(start, length);
  if (hadFocus) SetFocus();
  ::DestroyWindow(old);
  ScrollCaret();
}

bool TMemo::HandleContextMenu(LPARAM lp) {
  if (!PopupMenu) return false;
  POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (pt.x == -1 && pt.y == -1) {
    // From the keyboard: at the top-left corner of the client area.
    pt = POINT{0, 0};
    ::ClientToScreen(handle_, &pt);
  } else {
    POINT client = pt;
    ::ScreenToClient(handle_, &client);
    RECT r = ClientRect();
    // Outside the client area (a scroll bar): the control's own handling.
    if (!::PtInRect(&r, client)) return false;
  }
  SetFocus();
  PopupMenu->Popup(::GetParent(handle_), pt);
  return true;
}

LRESULT CALLBACK TMemo::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  TMemo* self = FromHandle(hwnd);
  if (self) {
    if (msg == WM_CONTEXTMENU) {
      bool handled = false;
      Guard([&] { handled = self->HandleContextMenu(lp); });
      // The window may be gone (a command re-created it): touch nothing of it then.
      if (handled) return 0;
    } else if (msg == WM_NCDESTROY) {
      ::RemovePropW(hwnd, kMemoProperty);
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_editProc));
      if (self->handle_ == hwnd) self->handle_ = nullptr;
    }
  }
  return ::CallWindowProcW(g_editProc, hwnd, msg, wp, lp);
}

}  // namespace ui
