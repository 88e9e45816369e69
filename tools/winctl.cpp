// A small helper for scripts: waits for a top-level window of a class, or closes it with
// WM_CLOSE and prints the exit code of the process that owned it.
//   winctl wait CLASS SECONDS    exit 0 once a visible window of CLASS exists
//   winctl close CLASS SECONDS   post WM_CLOSE, wait for its process, print "exit code N"
//   winctl menu CLASS SECONDS    select the start of the text and open the context menu
//                                with Shift+F10 (for screenshots of the menu)
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fwprintf(stderr, L"usage: winctl wait|close CLASS SECONDS\n");
    return 2;
  }
  const wchar_t* verb = argv[1];
  const wchar_t* cls = argv[2];
  const DWORD deadline = ::GetTickCount() + static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) * 1000;
  HWND hwnd = nullptr;
  while (!(hwnd = ::FindWindowW(cls, nullptr)) || !::IsWindowVisible(hwnd)) {
    if (static_cast<LONG>(::GetTickCount() - deadline) > 0) {
      std::fwprintf(stderr, L"winctl: no window of class %ls\n", cls);
      return 1;
    }
    ::Sleep(50);
  }
  if (std::wcscmp(verb, L"wait") == 0) return 0;
  if (std::wcscmp(verb, L"menu") == 0) {
    HWND edit = ::FindWindowExW(hwnd, nullptr, L"Edit", nullptr);
    ::SendMessageW(edit, EM_SETSEL, 0, 4);
    ::SetForegroundWindow(hwnd);
    INPUT in[4] = {};
    const WORD keys[4] = {VK_SHIFT, VK_F10, VK_F10, VK_SHIFT};
    for (int i = 0; i < 4; ++i) {
      in[i].type = INPUT_KEYBOARD;
      in[i].ki.wVk = keys[i];
      in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    ::SendInput(4, in, sizeof(INPUT));
    return 0;
  }
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
  if (!process) return 0;
  const DWORD left = static_cast<DWORD>(deadline - ::GetTickCount());
  if (::WaitForSingleObject(process, static_cast<LONG>(left) > 0 ? left : 1000) != WAIT_OBJECT_0) {
    std::fwprintf(stderr, L"winctl: the program did not end\n");
    ::CloseHandle(process);
    return 1;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(process, &code);
  ::CloseHandle(process);
  std::printf("exit code %lu\n", code);
  std::fflush(stdout);
  return 0;
}
