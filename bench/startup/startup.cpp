// Start-up benchmark under Wine: the time from CreateProcess to a visible main window, for
// kalvo.exe and, as the baseline started the same way in the same run, Wine's notepad.exe.
//   startup_bench.exe PATH-TO-KALVO [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

HWND VisibleWindow(DWORD pid, const wchar_t* cls) {
  Search s{pid, cls, nullptr};
  ::EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* self = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        wchar_t name[64] = {};
        ::GetClassNameW(h, name, 64);
        if (owner == self->pid && ::IsWindowVisible(h) && std::wstring(name) == self->cls) {
          self->found = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// Milliseconds to the first visible window of cls, or -1.
double StartOnce(const std::wstring& exe, const wchar_t* cls) {
  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER f, t0, t1;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&t0);
  if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  HWND w = nullptr;
  for (int i = 0; i < 20000 && !(w = VisibleWindow(pi.dwProcessId, cls)); ++i) ::Sleep(1);
  ::QueryPerformanceCounter(&t1);
  if (w) ::PostMessageW(w, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return w ? 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart) : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? -1 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: startup_bench KALVO.EXE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? _wtoi(argv[2]) : 9;
  wchar_t notepad[MAX_PATH] = {};
  ::GetSystemDirectoryW(notepad, MAX_PATH);
  const std::wstring notepadPath = std::wstring(notepad) + L"\\notepad.exe";
  std::vector<double> kalvo, baseline;
  StartOnce(argv[1], L"TFKalvo");  // warm-up: DLLs and fonts in the cache for both
  StartOnce(notepadPath, L"Notepad");
  for (int i = 0; i < runs; ++i) {
    kalvo.push_back(StartOnce(argv[1], L"TFKalvo"));
    baseline.push_back(StartOnce(notepadPath, L"Notepad"));
  }
  const double k = Median(kalvo), n = Median(baseline);
  std::printf("start-up to visible window, median of %d runs: kalvo %.1f ms, notepad %.1f ms, ratio %.2f\n", runs, k,
              n, n > 0 ? k / n : 0.0);
  return 0;
}
