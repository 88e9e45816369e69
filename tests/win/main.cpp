// The in-process tests' entry point: the application is prepared as kalvo.exe prepares it.
// Started with --hold-clipboard READY RELEASE, the program instead holds the clipboard open
// until the RELEASE event is set: the other process that tests need for clipboard errors.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/application.h"

namespace {

int HoldClipboard(const char* ready, const char* release) {
  HANDLE readyEvent = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, ready);
  HANDLE releaseEvent = ::OpenEventA(SYNCHRONIZE, FALSE, release);
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
  if (argc == 4 && std::strcmp(argv[1], "--hold-clipboard") == 0) return HoldClipboard(argv[2], argv[3]);
  ::testing::InitGoogleTest(&argc, argv);
  ui::Application->Initialize();
  const int result = RUN_ALL_TESTS();
  ui::Application->Finalize();
  return result;
}
