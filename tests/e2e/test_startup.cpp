// Start-up and shut-down of the real program.
#include "driver.h"

using namespace kalvo_e2e;

TEST(Startup, ShowsTheMemoWithFocusTakesTypingAndExitsWithZero) {
  Kalvo app;
  ASSERT_TRUE(app.Started());
  HWND w = app.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(WindowText(w), L"Kalvo");
  RECT client{};
  ::GetClientRect(w, &client);
  EXPECT_EQ(client.right, 205);
  EXPECT_EQ(client.bottom, 69);
  HWND edit = app.Edit();
  ASSERT_NE(edit, nullptr);
  ::SetForegroundWindow(w);
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  ASSERT_TRUE(WaitFor([&] {
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(w, nullptr), &gui) && gui.hwndFocus == edit;
  }));
  EXPECT_EQ(gui.hwndCaret, edit);
  TypeText(L"メモ abc");
  EXPECT_TRUE(WaitFor([&] { return WindowText(edit) == L"メモ abc"; })) << "text: " << WindowText(edit).size();
  // Closing an unmodified note asks nothing.
  ::SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  ::PostMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.ExitCode(), 0u);
}

TEST(Startup, OpensMaximisedWhenStartedSo) {
  Kalvo app(L"", SW_SHOWMAXIMIZED);
  HWND w = app.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(WaitFor([&] { return ::IsZoomed(w) != FALSE; }));
  ::PostMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.ExitCode(), 0u);
}
