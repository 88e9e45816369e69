// The in-process tests' entry point: the application is prepared as kalvo.exe prepares it.
// Started with --hold-clipboard READY RELEASE, the program instead holds the clipboard open
// until the RELEASE event is set: the other process that tests need for clipboard errors.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "ui/application.h"

namespace {

int HoldClipboard(const wchar_t* ready, const wchar_t* release) {
  HANDLE readyEvent = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, ready);
  HANDLE releaseEvent = ::OpenEventW(SYNCHRONIZE, FALSE, release);
  // Wine lets another process open a clipboard that was opened without a window.
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!readyEvent || !releaseEvent || !owner || !::OpenClipboard(owner)) return 1;
  ::SetEvent(readyEvent);
  ::WaitForSingleObject(releaseEvent, 60000);
  ::CloseClipboard();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int wargc = 0;
  LPWSTR* wargv = ::CommandLineToArgvW(::GetCommandLineW(), &wargc);
  if (wargv && wargc == 4 && std::wcscmp(wargv[1], L"--hold-clipboard") == 0) return HoldClipboard(wargv[2], wargv[3]);
  ::LocalFree(wargv);
  ::testing::InitGoogleTest(&argc, argv);
  ui::Application->Initialize();
  const int result = RUN_ALL_TESTS();
  ui::Application->Finalize();
  return result;
}
