// A helper for the scripts that show the program: starts it, waits for its window,
// optionally opens its context menu, lets the script take a picture, then closes it.
//   winctl show FLAGDIR SECONDS MENU PROGRAM [ARGS...]
// Once the window is shown (and, with MENU 1, the first characters are selected and the
// menu opened with Shift+F10) it creates FLAGDIR\shown, waits for FLAGDIR\taken, posts
// WM_CLOSE and prints "exit code N". Starting the program itself keeps both in the same
// Wine desktop.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
  DWORD pid;
  HWND found;
};

HWND MainWindow(DWORD pid) {
  Search s{pid, nullptr};
  ::EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* self = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        wchar_t name[64] = {};
        ::GetClassNameW(h, name, 64);
        if (owner == self->pid && ::IsWindowVisible(h) && std::wcscmp(name, L"TFKalvo") == 0) {
          self->found = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

void OpenMenu(HWND window) {
  HWND edit = ::FindWindowExW(window, nullptr, L"Edit", nullptr);
  ::SendMessageW(edit, EM_SETSEL, 0, 4);
  ::SetForegroundWindow(window);
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  INPUT in[4] = {};
  const WORD keys[4] = {VK_SHIFT, VK_F10, VK_F10, VK_SHIFT};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i];
    in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  ::SendInput(4, in, sizeof(INPUT));
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 6 || std::wcscmp(argv[1], L"show") != 0) {
    std::fwprintf(stderr, L"usage: winctl show FLAGDIR SECONDS MENU PROGRAM [ARGS...]\n");
    return 2;
  }
  const std::wstring flags = argv[2];
  const DWORD limit = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) * 1000;
  const bool menu = std::wcscmp(argv[4], L"1") == 0;
  std::wstring cmd = L"\"" + std::wstring(argv[5]) + L"\"";
  for (int i = 6; i < argc; ++i) cmd += L" \"" + std::wstring(argv[i]) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fwprintf(stderr, L"winctl: cannot start %ls (error %lu)\n", argv[5], ::GetLastError());
    return 1;
  }
  const DWORD start = ::GetTickCount();
  auto expired = [&] { return ::GetTickCount() - start > limit; };
  HWND window = nullptr;
  while (!(window = MainWindow(pi.dwProcessId))) {
    if (expired() || ::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) {
      std::fwprintf(stderr, L"winctl: the window did not appear\n");
      return 1;
    }
  }
  if (menu) OpenMenu(window);
  ::Sleep(1000);  // the first paint (and the menu's) before the picture
  ::CloseHandle(::CreateFileW((flags + L"\\shown").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  while (!Exists(flags + L"\\taken") && !expired()) ::Sleep(50);
  if (menu) {
    INPUT esc[2] = {};
    esc[0].type = esc[1].type = INPUT_KEYBOARD;
    esc[0].ki.wVk = esc[1].ki.wVk = VK_ESCAPE;
    esc[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, esc, sizeof(INPUT));
    ::Sleep(200);
  }
  // A shown picture of an unchanged note closes without a question.
  ::SendMessageW(::FindWindowExW(window, nullptr, L"Edit", nullptr), EM_SETMODIFY, FALSE, 0);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
    std::fwprintf(stderr, L"winctl: the program did not end\n");
    return 1;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(pi.hProcess, &code);
  std::printf("exit code %lu\n", code);
  std::fflush(stdout);
  return 0;
}
