// TForm: the top-level window and the routing of its messages to events.
#include "ui/form.h"

#include "ui/application.h"
#include "ui/exception.h"
#include "ui/memo.h"
#include "ui/menu.h"
#include "ui/win32.h"

namespace ui {

TForm::TForm(std::wstring name, FormSettings settings)
    : TComponent(std::move(name)), settings_(std::move(settings)) {}

TForm::~TForm() {
  if (handle_) ::DestroyWindow(handle_);
}

void TForm::CreateWindowAndRunOnCreate() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(instance, settings_.className.c_str(), &wc)) {
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TForm::WndProc;
    wc.hInstance = instance;
    wc.hIcon = Application->Icon();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = settings_.className.c_str();
    if (!::RegisterClassExW(&wc)) RaiseLastOSError();
  }
  ScaleToScreen();
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_APPWINDOW;
  RECT r{0, 0, settings_.clientWidth, settings_.clientHeight};
  ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
  // CW_USEDEFAULT lets the system place the window as any new top-level window.
  handle_ = ::CreateWindowExW(exStyle, settings_.className.c_str(), settings_.caption.c_str(), style,
                              CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                              nullptr, nullptr, instance, this);
  if (!handle_) RaiseLastOSError();
  if (clientControl_) {
    clientControl_->CreateHandle(handle_);
    RECT client;
    ::GetClientRect(handle_, &client);
    clientControl_->SetBounds(client);
  }
  // An error in the creation handler is reported and creation goes on.
  if (OnCreate) Guard([this] { OnCreate(this); });
}

void TForm::ScaleToScreen() {
  const int dpi = Application->PixelsPerInch();
  if (dpi == 96) return;
  // The form's font follows the resolution; when its text height no longer matches the
  // design, the client size and the memo's font follow in the same ratio.
  const int fontHeight = ::MulDiv(settings_.fontHeight, dpi, 96);
  UniqueFont font(::CreateFontW(fontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, settings_.fontName.c_str()));
  HDC dc = ::GetDC(nullptr);
  if (!dc || !font) {
    if (dc) ::ReleaseDC(nullptr, dc);
    return;
  }
  HGDIOBJ old = ::SelectObject(dc, font.get());
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  const int textHeight = tm.tmHeight;
  if (textHeight == settings_.designTextHeight || textHeight <= 0) return;
  settings_.clientWidth = ::MulDiv(settings_.clientWidth, textHeight, settings_.designTextHeight);
  settings_.clientHeight = ::MulDiv(settings_.clientHeight, textHeight, settings_.designTextHeight);
  if (clientControl_) clientControl_->ScaleFont(textHeight, settings_.designTextHeight);
}

std::wstring TForm::Caption() const {
  const int n = ::GetWindowTextLengthW(handle_);
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = ::GetWindowTextW(handle_, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return s;
}

void TForm::SetCaption(const std::wstring& caption) { ::SetWindowTextW(handle_, caption.c_str()); }

int TForm::ClientWidth() const {
  RECT r{};
  ::GetClientRect(handle_, &r);
  return r.right - r.left;
}

int TForm::ClientHeight() const {
  RECT r{};
  ::GetClientRect(handle_, &r);
  return r.bottom - r.top;
}

void TForm::SetTopMost(bool topMost, UINT extraFlags) {
  // The result is deliberately not looked at: a failure leaves the window where it was.
  ::SetWindowPos(handle_, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | extraFlags);
}

void TForm::ShowAtStart() {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  ::GetStartupInfoW(&si);
  int show = SW_SHOWNORMAL;
  if (si.dwFlags & STARTF_USESHOWWINDOW) {
    if (si.wShowWindow == SW_SHOWMAXIMIZED) show = SW_SHOWMAXIMIZED;
    else if (si.wShowWindow == SW_SHOWMINNOACTIVE) show = SW_SHOWMINNOACTIVE;
  }
  ::ShowWindow(handle_, show);
  ::UpdateWindow(handle_);
}

bool TForm::IsShortCut(const MSG& msg) {
  if (!clientControl_ || msg.hwnd != clientControl_->Handle() || !clientControl_->PopupMenu) return false;
  return clientControl_->PopupMenu->IsShortCut(ShortCutFromKey(static_cast<WORD>(msg.wParam)));
}

bool TForm::CloseQuery() {
  // The question box and the save dialog run modal loops that still deliver close requests
  // (a second WM_CLOSE, the session's query); the query already running decides, and a
  // second one would ask again and could close the window under the first.
  if (closeQueryRunning_) return false;
  closeQueryRunning_ = true;
  bool canClose = true;
  if (OnCloseQuery) {
    // An error in the close query is reported; the window then closes as the query left it.
    Guard([&] { OnCloseQuery(this, canClose); });
  }
  closeQueryRunning_ = false;
  return canClose;
}

LRESULT CALLBACK TForm::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    auto* self = static_cast<TForm*>(cs->lpCreateParams);
    self->handle_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TForm*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  LRESULT result = 0;
  if (!Guard([&] { result = self->HandleMessage(msg, wp, lp); })) result = ::DefWindowProcW(hwnd, msg, wp, lp);
  return result;
}

LRESULT TForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (clientControl_ && clientControl_->Handle()) {
        clientControl_->SetBounds(RECT{0, 0, LOWORD(lp), HIWORD(lp)});
        if (OnResize) Guard([this] { OnResize(this); });
      }
      return 0;
    case WM_ACTIVATE:
      // Whenever the window is activated the keyboard focus goes to the edit area.
      if (LOWORD(wp) != WA_INACTIVE && clientControl_ && clientControl_->Handle()) {
        ::SetFocus(clientControl_->Handle());
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (clientControl_ && clientControl_->Handle()) ::SetFocus(clientControl_->Handle());
      return 0;
    case WM_CLOSE:
      if (CloseQuery()) ::DestroyWindow(handle_);
      return 0;
    case WM_QUERYENDSESSION:
      endingSession_ = false;
      return CloseQuery() ? TRUE : FALSE;
    case WM_ENDSESSION:
      // Windows goes ahead with the log-off: end at once, without asking again.
      if (wp && !endingSession_) {
        endingSession_ = true;
        ::DestroyWindow(handle_);
      }
      return 0;
    case WM_DESTROY:
      if (Application->MainForm == this) ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(handle_, msg, wp, lp);
}

}  // namespace ui
