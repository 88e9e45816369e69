// Test support for the in-process tests: a shown TFKalvo with scripted boxes and dialogs,
// message pumping, waiting for effects, and real key messages through the shortcut
// pre-dispatch.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <cwchar>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "F01.h"
#include "ui/application.h"
#include "ui/dialogs.h"

namespace kalvo_test {

// Delivers every queued message, through the application's own loop step.
inline void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ui::Application->ProcessMessage(msg);
}

// Pumps messages until pred holds or the timeout passes; returns pred's last value.
inline bool WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (true) {
    Pump();
    if (pred()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Records every message box and file dialog, and answers them from scripts.
struct DialogScript {
  std::vector<ui::MessageBoxRequest> boxes;
  std::vector<ui::FileDialogRequest> fileDialogs;
  std::deque<int> boxAnswers;                      // default: IDOK
  std::deque<ui::FileDialogResult> dialogAnswers;  // default: cancel

  void Install() {
    ui::SetDialogSeam({
        [this](const ui::MessageBoxRequest& r) {
          boxes.push_back(r);
          if (boxAnswers.empty()) return IDOK;
          int a = boxAnswers.front();
          boxAnswers.pop_front();
          return a;
        },
        [this](const ui::FileDialogRequest& r) -> ui::FileDialogResult {
          fileDialogs.push_back(r);
          if (dialogAnswers.empty()) return std::nullopt;
          auto a = dialogAnswers.front();
          dialogAnswers.pop_front();
          return a;
        },
    });
  }
};

// A shown, active main window built with the given command-line arguments.
class KalvoTest : public ::testing::Test {
 protected:
  void SetUp() override { script.Install(); }
  void TearDown() override {
    form.reset();
    ui::Application->MainForm = nullptr;
    ui::SetDialogSeam({});
    Pump();
  }

  // Builds the window as the program does; arguments follow the program name.
  void Start(const std::wstring& arguments = L"") {
    ui::Application->SetCommandLine(L"kalvo.exe " + arguments);
    form = std::make_unique<TFKalvo>();
    ui::Application->MainForm = form.get();
    ::ShowWindow(form->Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(form->Handle());
    ASSERT_TRUE(WaitFor([&] { return ::GetFocus() == memo(); })) << "the edit area never got the focus";
  }

  HWND memo() const { return form->MemoOut->Handle(); }
  std::wstring Text() const { return form->MemoOut->Text(); }
  void SetText(const std::wstring& t) { form->MemoOut->SetText(t); }
  void Select(DWORD start, DWORD end) { ::SendMessageW(memo(), EM_SETSEL, start, end); }
  std::pair<DWORD, DWORD> Selection() const {
    DWORD s = 0, e = 0;
    ::SendMessageW(memo(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    return {s, e};
  }
  bool Modified() const { return ::SendMessageW(memo(), EM_GETMODIFY, 0, 0) != 0; }
  bool CanUndo() const { return ::SendMessageW(memo(), EM_CANUNDO, 0, 0) != 0; }

  // A key press as the message loop sees it, with the given modifiers held: the key-down
  // goes through the shortcut pre-dispatch and, if not claimed, to the edit area.
  // Returns whether a shortcut claimed it.
  bool PressKey(WORD vk, bool ctrl = false, bool shift = false, bool alt = false) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    auto set = [&](int k, bool down) { keys[k] = down ? 0x80 : 0; };
    set(VK_CONTROL, ctrl); set(VK_LCONTROL, ctrl);
    set(VK_SHIFT, shift); set(VK_LSHIFT, shift);
    set(VK_MENU, alt); set(VK_LMENU, alt);
    ::SetKeyboardState(keys);
    MSG msg{};
    msg.hwnd = ::GetFocus();
    msg.message = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    msg.wParam = vk;
    msg.lParam = 1 | (static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16) | (alt ? (1 << 29) : 0);
    const bool claimed = ui::Application->IsShortCut(msg);
    if (!claimed) {
      ui::Application->ProcessMessage(msg);
      MSG up = msg;
      up.message = alt ? WM_SYSKEYUP : WM_KEYUP;
      up.lParam |= (1u << 30) | (1u << 31);
      ui::Application->ProcessMessage(up);
    }
    Pump();
    set(VK_CONTROL, false); set(VK_LCONTROL, false);
    set(VK_SHIFT, false); set(VK_LSHIFT, false);
    set(VK_MENU, false); set(VK_LMENU, false);
    ::SetKeyboardState(keys);
    return claimed;
  }

  // Types text into the edit area as characters.
  void Type(const std::wstring& text) {
    for (wchar_t c : text) ::SendMessageW(memo(), WM_CHAR, c, 1);
  }

  DialogScript script;
  std::unique_ptr<TFKalvo> form;
};

// Puts text on the clipboard (or empties it when text is null).
inline void SetClipboardText(const wchar_t* text) {
  ASSERT_TRUE(WaitFor([] { return ::OpenClipboard(nullptr) != FALSE; }));
  ::EmptyClipboard();
  if (text) {
    const std::size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(::GlobalLock(block), text, bytes);
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_UNICODETEXT, block);
  }
  ::CloseClipboard();
}

inline std::wstring ClipboardText() {
  std::wstring out;
  if (!::OpenClipboard(nullptr)) return L"<clipboard busy>";
  if (HANDLE h = ::GetClipboardData(CF_UNICODETEXT)) {
    out = static_cast<const wchar_t*>(::GlobalLock(h));
    ::GlobalUnlock(h);
  }
  ::CloseClipboard();
  return out;
}

// Puts a file list (CF_HDROP with wide names) on the clipboard.
inline void SetClipboardFiles(const std::vector<std::wstring>& paths) {
  std::wstring names;
  for (const auto& p : paths) names += p + L'\0';
  names += L'\0';
  const std::size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  ::GlobalUnlock(block);
  ASSERT_TRUE(WaitFor([] { return ::OpenClipboard(nullptr) != FALSE; }));
  ::EmptyClipboard();
  ::SetClipboardData(CF_HDROP, block);
  ::CloseClipboard();
}

// Another process holding the clipboard open for as long as this object lives.
class ClipboardHolder {
 public:
  ClipboardHolder() {
    const std::wstring suffix = std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter_);
    const std::wstring heldName = L"Local\\KalvoTestClipboardHeld-" + suffix;
    const std::wstring releaseName = L"Local\\KalvoTestClipboardRelease-" + suffix;
    held_ = ::CreateEventW(nullptr, TRUE, FALSE, heldName.c_str());
    release_ = ::CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str());
    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring cmd = L"\"" + std::wstring(exe) + L"\" --hold-clipboard " + heldName + L" " + releaseName;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_)) {
      holding_ = WaitFor([&] {
        HANDLE both[] = {held_, pi_.hProcess};
        return ::WaitForMultipleObjects(2, both, FALSE, 0) != WAIT_TIMEOUT;
      }) && ::WaitForSingleObject(held_, 0) == WAIT_OBJECT_0;
    }
  }
  ~ClipboardHolder() {
    ::SetEvent(release_);
    if (pi_.hProcess) {
      WaitFor([&] { return ::WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; });
      ::CloseHandle(pi_.hThread);
      ::CloseHandle(pi_.hProcess);
    }
    ::CloseHandle(release_);
    ::CloseHandle(held_);
  }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

  bool Holding() const { return holding_; }

 private:
  static inline int counter_ = 0;
  HANDLE held_ = nullptr;
  HANDLE release_ = nullptr;
  PROCESS_INFORMATION pi_{};
  bool holding_ = false;
};

}  // namespace kalvo_test
