// The context menu of the real program: where it opens, and commands chosen from it.
#include "driver.h"

using namespace kalvo_e2e;

namespace {

HWND OpenMenu(Kalvo& app) {
  HWND menu = nullptr;
  WaitFor([&] {
    auto w = WindowsOf(app.Pid(), L"#32768");
    if (!w.empty()) menu = w[0];
    return menu != nullptr;
  });
  return menu;
}

bool MenuClosed(Kalvo& app) {
  return WaitFor([&] { return WindowsOf(app.Pid(), L"#32768").empty(); });
}

void Click(POINT screen, DWORD down, DWORD up) {
  ::SetCursorPos(screen.x, screen.y);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = down;
  in[1].mi.dwFlags = up;
  ::SendInput(2, in, sizeof(INPUT));
}

void Press(WORD vk, int times = 1) {
  for (int i = 0; i < times; ++i) SendKeys({vk});
}

// Starts the program, gives it a text, and brings it to the front with the caret inside.
HWND Ready(Kalvo& app, const wchar_t* text) {
  HWND w = app.Window();
  if (!w) return nullptr;
  HWND edit = app.Edit();
  ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  // The pointer away from where menus open: an item under it would take the highlight
  // from keyboard navigation.
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
  ::SetForegroundWindow(w);
  WaitFor([&] { return ::GetForegroundWindow() == w; });
  return edit;
}

TEST(ContextMenu, OpensAtThePointerOnARightClickAndAtTheCornerOnShiftF10) {
  Kalvo app;
  HWND edit = Ready(app, L"abc");
  ASSERT_NE(edit, nullptr);
  POINT inside{30, 20};
  ::ClientToScreen(edit, &inside);
  Click(inside, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  HWND menu = OpenMenu(app);
  ASSERT_NE(menu, nullptr);
  RECT r{};
  ::GetWindowRect(menu, &r);
  EXPECT_EQ(r.left, inside.x);
  EXPECT_EQ(r.top, inside.y);
  Press(VK_ESCAPE);
  ASSERT_TRUE(MenuClosed(app));

  SendKeys({VK_SHIFT, VK_F10});
  menu = OpenMenu(app);
  ASSERT_NE(menu, nullptr);
  POINT corner{0, 0};
  ::ClientToScreen(edit, &corner);
  ::GetWindowRect(menu, &r);
  EXPECT_EQ(r.left, corner.x);
  EXPECT_EQ(r.top, corner.y);
  Press(VK_ESCAPE);
  ASSERT_TRUE(MenuClosed(app));
  ::SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  ::PostMessageW(app.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(app.ExitCode(), 0u);
}

TEST(ContextMenu, CopyAllPutsTheWholeTextOnTheClipboard) {
  Kalvo app;
  HWND edit = Ready(app, L"一行目\r\n二行目");
  ASSERT_NE(edit, nullptr);
  SendKeys({VK_SHIFT, VK_F10});
  ASSERT_NE(OpenMenu(app), nullptr);
  // Home highlights the first item whatever was highlighted before; keyboard navigation
  // passes over separators, so six steps down is "すべてをコピー".
  Press(VK_HOME);
  Press(VK_DOWN, 6);
  Press(VK_RETURN);
  ASSERT_TRUE(MenuClosed(app));
  std::wstring clip;
  EXPECT_TRUE(WaitFor([&] {
    if (!::OpenClipboard(nullptr)) return false;
    if (HANDLE h = ::GetClipboardData(CF_UNICODETEXT)) {
      clip = static_cast<const wchar_t*>(::GlobalLock(h));
      ::GlobalUnlock(h);
    }
    ::CloseClipboard();
    return clip == L"一行目\r\n二行目";
  }));
  DWORD start = 0, end = 0;
  ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 8u);
  ::SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  ::PostMessageW(app.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(app.ExitCode(), 0u);
}

TEST(ContextMenu, VersionMessageIsCaptionedWithTheProgramFileName) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"kalvo-e2e-title";
  ::CreateDirectoryW(dir.c_str(), nullptr);
  struct Case {
    const wchar_t* file;
    const wchar_t* title;
  } cases[] = {{L"KALVO.EXE", L"Kalvo"}, {L"kalvo.old.exe", L"kalvo"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.title[0]));
    const std::wstring exe = dir + L"\\" + c.file;
    ASSERT_TRUE(::CopyFileW(KalvoPath().c_str(), exe.c_str(), FALSE));
    Kalvo app(L"", 0, exe);
    ASSERT_NE(Ready(app, L""), nullptr);
    SendKeys({VK_SHIFT, VK_F10});
    ASSERT_NE(OpenMenu(app), nullptr);
    Press(VK_END);  // the last item: "バージョン情報"
    Press(VK_RETURN);
    HWND box = app.Box();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), c.title);
    EXPECT_NE(BoxText(box).find(L"0.05"), std::wstring::npos);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return WindowsOf(app.Pid(), L"#32770").empty(); }));
    ::PostMessageW(app.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app.ExitCode(), 0u);
    ::DeleteFileW(exe.c_str());
  }
  ::RemoveDirectoryW(dir.c_str());
}

}  // namespace
