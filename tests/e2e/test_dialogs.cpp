// The real question box and file dialogs: opening a typed path, saving from the close
// question, and the stay-on-top state through a dialog.
#include "driver.h"

#include <optional>

using namespace kalvo_e2e;

namespace {

// The file-name field: edt1 in the older dialogs; in the Explorer-style ones (what Wine
// shows for these settings) the edit control inside the combo box cmb13.
constexpr int kOldFileNameField = 1152;
constexpr int kFileNameCombo = 1148;
constexpr int kReadOnlyBox = 1040;    // chx1
constexpr int kFileTypes = 1136;      // cmb1

// A private folder for the journey's files, removed with them afterwards.
class Folder {
 public:
  Folder() {
    wchar_t base[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, base);
    for (unsigned n = ::GetTickCount();; ++n) {
      path_ = std::wstring(base) + L"kalvo-e2e-" + std::to_wstring(n);
      if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
  }
  ~Folder() {
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        ::DeleteFileW((path_ + L"\\" + found.cFileName).c_str());
      } while (::FindNextFileW(find, &found));
      ::FindClose(find);
    }
    ::RemoveDirectoryW(path_.c_str());
  }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

std::optional<std::string> ReadBytes(const std::wstring& path) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string out;
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  ::CloseHandle(h);
  return out;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD put = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  ::CloseHandle(h);
}

std::string Utf16File(const std::wstring& text) {
  std::string out = "\xFF\xFE";
  for (wchar_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>((c >> 8) & 0xFF);
  }
  return out;
}

bool IsTopMost(HWND w) { return (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

HWND FileNameField(HWND dialog) {
  if (HWND old = ::GetDlgItem(dialog, kOldFileNameField)) return old;
  HWND combo = ::GetDlgItem(dialog, kFileNameCombo);
  if (!combo) return nullptr;
  // ComboBoxEx32 > ComboBox > Edit, or ComboBox > Edit.
  for (HWND h = combo; h;) {
    HWND edit = ::FindWindowExW(h, nullptr, L"Edit", nullptr);
    if (edit) return edit;
    h = ::FindWindowExW(h, nullptr, L"ComboBox", nullptr);
  }
  return nullptr;
}

// The program's dialog that has a file-name field (a file dialog, not a message box).
HWND WaitForFileDialog(DWORD pid) {
  HWND found = nullptr;
  WaitFor([&] {
    for (HWND h : WindowsOf(pid, L"#32770"))
      if (FileNameField(h)) found = h;
    return found != nullptr;
  });
  return found;
}

// Types a path into the dialog's file-name field and accepts it with Enter.
void AcceptFileName(HWND dialog, const std::wstring& path) {
  HWND field = FileNameField(dialog);
  ASSERT_NE(field, nullptr);
  ::SetForegroundWindow(dialog);
  if (FocusOf(dialog) != field) ::PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  ASSERT_TRUE(WaitFor([&] { return FocusOf(dialog) == field; }));
  // Replace whatever the field shows.
  ::SendMessageW(field, EM_SETSEL, 0, -1);
  TypeText(path);
  ASSERT_TRUE(WaitFor([&] { return WindowText(field) == path; })) << "field: " << WindowText(field).size();
  SendKeys({VK_RETURN});
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
}

// The main window, in front, with the keyboard focus in its edit area.
HWND ReadyWindow(Kalvo& app) {
  HWND w = app.Window();
  if (!w) return nullptr;
  HWND edit = app.Edit();
  ::SetForegroundWindow(w);
  if (!WaitFor([&] { return FocusOf(w) == edit; })) return nullptr;
  return w;
}

TEST(Dialogs, CtrlOOpensATypedPathWithTheDialogsSettings) {
  Folder dir;
  const std::wstring path = dir.File(L"b.txt");
  WriteBytes(path, Utf16File(L"読み込んだ\r\ntext"));
  Kalvo app;
  HWND w = ReadyWindow(app);
  ASSERT_NE(w, nullptr);
  SendKeys({VK_CONTROL, 'O'});
  HWND dialog = WaitForFileDialog(app.Pid());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(::GetWindow(dialog, GW_OWNER), w);
  EXPECT_FALSE(::IsWindowEnabled(w)) << "modal to the main window";
  EXPECT_TRUE(::GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME) << "resizable";
  HWND readOnly = ::GetDlgItem(dialog, kReadOnlyBox);
  EXPECT_TRUE(!readOnly || !::IsWindowVisible(readOnly)) << "no read-only box";
  HWND types = ::GetDlgItem(dialog, kFileTypes);
  if (types) {
    EXPECT_EQ(::SendMessageW(types, CB_GETCOUNT, 0, 0), 0) << "no file-type list";
  }
  EXPECT_EQ(WindowText(FileNameField(dialog)), L"") << "nothing accepted yet";
  AcceptFileName(dialog, path);
  HWND edit = app.Edit();
  EXPECT_TRUE(WaitFor([&] { return WindowText(edit) == L"読み込んだ\r\ntext"; }));
  EXPECT_TRUE(WaitFor([&] { return WindowText(w) == L"b.txt"; })) << "caption: " << WindowText(w).size();
  EXPECT_TRUE(::IsWindowEnabled(w));
  EXPECT_TRUE(WaitFor([&] { return FocusOf(w) == edit; })) << "the focus is back in the edit area";
  // The note equals the file: closing asks nothing.
  ::PostMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.ExitCode(), 0u);
}

// Closing a changed note: Yes (the default, taken with Enter) runs Save As; a name typed
// without extension gets ".txt", and an existing file is replaced without a question.
TEST(Dialogs, YesOnTheCloseQuestionSavesAsUtf16AndTheProgramEnds) {
  struct Case {
    const char* name;
    std::wstring typed, written;
    std::optional<std::string> existing;
  } cases[] = {
      {"new name without extension", L"memo", L"memo.txt", std::nullopt},
      {"existing file", L"old.txt", L"old.txt", Utf16File(L"an older and much longer content")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Folder dir;
    if (c.existing) WriteBytes(dir.File(c.written), *c.existing);
    Kalvo app;
    HWND w = ReadyWindow(app);
    ASSERT_NE(w, nullptr);
    TypeText(L"メモ abc");
    HWND edit = app.Edit();
    ASSERT_TRUE(WaitFor([&] { return WindowText(edit) == L"メモ abc"; }));
    ::PostMessageW(w, WM_CLOSE, 0, 0);
    HWND box = app.Box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), L"【Kalvo】  保存しますか？");
    EXPECT_EQ(WindowText(box), L"Kalvo");
    EXPECT_EQ(::GetWindow(box, GW_OWNER), w);
    EXPECT_TRUE(::GetDlgItem(box, IDYES) && ::GetDlgItem(box, IDNO) && ::GetDlgItem(box, IDCANCEL));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(box) == ::GetDlgItem(box, IDYES); })) << "Yes is the default";
    ::SetForegroundWindow(box);
    SendKeys({VK_RETURN});
    HWND dialog = WaitForFileDialog(app.Pid());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), w);
    AcceptFileName(dialog, dir.File(c.typed));
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_EQ(ReadBytes(dir.File(c.written)), Utf16File(L"メモ abc"));
  }
}

TEST(Dialogs, EscapeAndTheBoxCloseButtonCountAsCancel) {
  Kalvo app;
  HWND w = ReadyWindow(app);
  ASSERT_NE(w, nullptr);
  TypeText(L"keep");
  HWND edit = app.Edit();
  ASSERT_TRUE(WaitFor([&] { return WindowText(edit) == L"keep"; }));
  const std::function<void(HWND)> cancels[] = {
      [](HWND box) {
        ::SetForegroundWindow(box);
        SendKeys({VK_ESCAPE});
      },
      [](HWND box) { ::PostMessageW(box, WM_CLOSE, 0, 0); },
  };
  for (const auto& cancel : cancels) {
    ::PostMessageW(w, WM_CLOSE, 0, 0);
    HWND box = app.Box();
    ASSERT_NE(box, nullptr);
    cancel(box);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    EXPECT_TRUE(::IsWindow(w));
    EXPECT_EQ(WindowText(edit), L"keep");
    EXPECT_EQ(app.ExitCode(0), static_cast<DWORD>(STILL_ACTIVE));
  }
  // No closes without saving.
  ::PostMessageW(w, WM_CLOSE, 0, 0);
  HWND box = app.Box();
  ASSERT_NE(box, nullptr);
  ::PostMessageW(box, WM_COMMAND, IDNO, 0);
  EXPECT_EQ(app.ExitCode(), 0u);
}

TEST(Dialogs, StartedOnTopCtrlTMakesTheWindowOrdinaryAndItStaysSoAfterADialog) {
  Kalvo app(L"-t");
  HWND w = ReadyWindow(app);
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IsTopMost(w); })) << "-t starts the window on top";
  SendKeys({VK_CONTROL, 'T'});
  EXPECT_TRUE(WaitFor([&] { return !IsTopMost(w); }));
  SendKeys({VK_CONTROL, 'O'});
  HWND dialog = WaitForFileDialog(app.Pid());
  ASSERT_NE(dialog, nullptr);
  ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
  HWND edit = app.Edit();
  ASSERT_TRUE(WaitFor([&] { return FocusOf(w) == edit; }));
  EXPECT_FALSE(IsTopMost(w));
  SendKeys({VK_CONTROL, 'T'});
  EXPECT_TRUE(WaitFor([&] { return IsTopMost(w); }));
  EXPECT_EQ(WindowText(edit), L"") << "the shortcuts type nothing";
  ::PostMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.ExitCode(), 0u);
}

}  // namespace

namespace {

// A typical use from start to end: katakana selected with the mouse's menu made half-width,
// then closing, answering Yes and saving under a typed name.
TEST(Journey, ConvertSelectedKatakanaCloseAnswerYesAndSave) {
  Folder dir;
  Kalvo app;
  HWND w = ReadyWindow(app);
  ASSERT_NE(w, nullptr);
  HWND edit = app.Edit();
  TypeText(L"メモ カタカナ です");
  ASSERT_TRUE(WaitFor([&] { return WindowText(edit) == L"メモ カタカナ です"; }));
  ::SendMessageW(edit, EM_SETSEL, 3, 7);
  POINT inside{20, 8};
  ::ClientToScreen(edit, &inside);
  ::SetCursorPos(inside.x, inside.y);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  ::SendInput(2, click, sizeof(INPUT));
  ASSERT_TRUE(WaitFor([&] { return !WindowsOf(app.Pid(), L"#32768").empty(); }));
  // Away from the menu, so that only the keys choose: Home highlights the first item and
  // "半角に変換" is nine items further down.
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  SendKeys({VK_HOME});
  for (int i = 0; i < 9; ++i) SendKeys({VK_DOWN});
  SendKeys({VK_RETURN});
  ASSERT_TRUE(WaitFor([&] { return WindowText(edit) == L"メモ ｶﾀｶﾅ です"; })) << "text: " << WindowText(edit).size();
  DWORD start = 0, end = 0;
  ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 7u);
  EXPECT_EQ(end, 7u);

  ::PostMessageW(w, WM_CLOSE, 0, 0);
  HWND box = app.Box();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), L"【Kalvo】  保存しますか？");
  ASSERT_TRUE(WaitFor([&] { return FocusOf(box) == ::GetDlgItem(box, IDYES); }));
  ::SetForegroundWindow(box);
  SendKeys({VK_RETURN});
  HWND dialog = WaitForFileDialog(app.Pid());
  ASSERT_NE(dialog, nullptr);
  AcceptFileName(dialog, dir.File(L"journey"));
  EXPECT_EQ(app.ExitCode(), 0u);
  EXPECT_EQ(ReadBytes(dir.File(L"journey.txt")), Utf16File(L"メモ ｶﾀｶﾅ です"));
}

}  // namespace
