// The application object and the error report.
#include "ui/application.h"

#include <ole2.h>

#include "text/names.h"
#include "ui/dialogs.h"
#include "ui/exception.h"
#include "ui/form.h"
#include "ui/win32.h"

namespace ui {

namespace {
TApplication g_application;
}
TApplication* Application = &g_application;

void TApplication::Initialize() {
  wchar_t path[257] = {};
  ::GetModuleFileNameW(nullptr, path, 256);
  title_ = ToWide(kalvo::text::ApplicationTitle(ToU16(path), [](char16_t c) {
    // CharLowerW lower-cases a single character passed in the low word of the pointer.
    auto lowered = reinterpret_cast<UINT_PTR>(::CharLowerW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c))));
    return static_cast<char16_t>(lowered & 0xFFFF);
  }));
  oleInitialized_ = SUCCEEDED(::OleInitialize(nullptr));
  icon_ = ::LoadIconW(::GetModuleHandleW(nullptr), L"MAINICON");
  HDC screen = ::GetDC(nullptr);
  if (screen) {
    pixelsPerInch_ = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
  }
}

void TApplication::Finalize() noexcept {
  if (oleInitialized_) ::OleUninitialize();
  oleInitialized_ = false;
}

std::wstring TApplication::CommandLine() const {
  return commandLine_.empty() ? std::wstring(::GetCommandLineW()) : commandLine_;
}

bool TApplication::IsShortCut(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  return MainForm && MainForm->IsShortCut(msg);
}

void TApplication::ProcessMessage(MSG& msg) {
  bool claimed = false;
  Guard([&] { claimed = IsShortCut(msg); });
  if (claimed) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

void TApplication::Run() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ProcessMessage(msg);
}

void TApplication::HandleException(std::exception_ptr error) noexcept {
  std::wstring text;
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    text = e.Message();
  } catch (const std::bad_alloc&) {
    text = SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);
  } catch (const std::exception& e) {
    for (const char* c = e.what(); *c; ++c) text += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  } catch (...) {
    // Not an error object: an empty report.
  }
  try {
    text = ToWide(kalvo::text::ErrorReportText(ToU16(text)));
    ShowMessageBox(::GetActiveWindow(), text, title_, MB_OK | MB_ICONERROR);
  } catch (...) {
    // Nothing is left to report with; the program goes on.
  }
}

bool Guard(const std::function<void()>& fn) noexcept {
  try {
    fn();
    return true;
  } catch (...) {
    Application->HandleException(std::current_exception());
    return false;
  }
}

}  // namespace ui
