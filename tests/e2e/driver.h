// The end-to-end driver: starts kalvo.exe as a person would, finds its windows, types with
// SendInput, reads and answers message boxes, and collects the exit code.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace kalvo_e2e {

inline bool WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::Sleep(20);
  }
  return true;
}

// The path of kalvo.exe under Wine (the build passes its Unix path).
inline std::wstring KalvoPath() {
  const char* unixPath = std::getenv("KALVO_EXE");
  std::string p = unixPath ? unixPath : "kalvo.exe";
  std::wstring w;
  if (!p.empty() && p[0] == '/') w = L"Z:";
  for (char c : p) w += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return w;
}

struct TopWindows {
  DWORD pid;
  const wchar_t* cls;
  std::vector<HWND> found;
};

inline std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* cls) {
  TopWindows t{pid, cls, {}};
  ::EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* self = reinterpret_cast<TopWindows*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        wchar_t name[64] = {};
        ::GetClassNameW(h, name, 64);
        if (owner == self->pid && ::IsWindowVisible(h) && std::wstring(name) == self->cls) self->found.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&t));
  return t.found;
}

inline std::wstring WindowText(HWND h) {
  wchar_t buf[4096] = {};
  ::SendMessageTimeoutW(h, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
  return buf;
}

// The window that has the keyboard focus in the thread of the given window.
inline HWND FocusOf(HWND window) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &gui)) return nullptr;
  return gui.hwndFocus;
}

// The static text of a message box (the control with id 0xFFFF).
inline std::wstring BoxText(HWND box) {
  HWND text = ::GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : L"";
}

// One running kalvo.exe.
class Kalvo {
 public:
  // Starts the program with arguments; extra STARTUPINFO flags may ask for a show command.
  explicit Kalvo(const std::wstring& arguments = L"", WORD showCommand = 0, const std::wstring& exe = KalvoPath()) {
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!arguments.empty()) cmd += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (showCommand) {
      si.dwFlags = STARTF_USESHOWWINDOW;
      si.wShowWindow = showCommand;
    }
    started_ = ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) != FALSE;
  }
  ~Kalvo() {
    if (!started_) return;
    if (::WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) ::TerminateProcess(pi_.hProcess, 99);
    ::CloseHandle(pi_.hThread);
    ::CloseHandle(pi_.hProcess);
  }
  Kalvo(const Kalvo&) = delete;
  Kalvo& operator=(const Kalvo&) = delete;

  bool Started() const { return started_; }
  DWORD Pid() const { return pi_.dwProcessId; }

  // The main window once it is shown.
  HWND Window(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    HWND h = nullptr;
    WaitFor([&] {
      auto w = WindowsOf(Pid(), L"TFKalvo");
      if (!w.empty()) h = w[0];
      return h != nullptr;
    }, timeout);
    return h;
  }
  HWND Edit() {
    HWND w = Window();
    return w ? ::FindWindowExW(w, nullptr, L"Edit", nullptr) : nullptr;
  }
  // The first message box (#32770) of the program, once one is shown.
  HWND Box(std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    HWND h = nullptr;
    WaitFor([&] {
      auto w = WindowsOf(Pid(), L"#32770");
      if (!w.empty()) h = w[0];
      return h != nullptr;
    }, timeout);
    return h;
  }
  // Waits for the process to end and returns its exit code (or 259 while it runs).
  DWORD ExitCode(DWORD timeoutMs = 20000) {
    ::WaitForSingleObject(pi_.hProcess, timeoutMs);
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};

// Real keyboard input to the foreground window.
inline void SendKeys(std::initializer_list<WORD> down) {
  std::vector<INPUT> in;
  for (WORD vk : down) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    in.push_back(i);
  }
  for (auto it = std::rbegin(down); it != std::rend(down); ++it) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = *it;
    i.ki.dwFlags = KEYEVENTF_KEYUP;
    in.push_back(i);
  }
  ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

inline void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = c;
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    ::SendInput(2, in, sizeof(INPUT));
  }
}

}  // namespace kalvo_e2e
