// The main window: size, caption, layout refresh, focus, and the error report.
#include "support.h"

#include "ui/exception.h"

using namespace kalvo_test;

namespace {

class WindowTest : public KalvoTest {};

RECT FormattingRect(HWND edit) {
  RECT r{};
  ::SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

void ExpectMargins(HWND edit) {
  RECT client{};
  ::GetClientRect(edit, &client);
  const RECT r = FormattingRect(edit);
  EXPECT_EQ(r.left, client.left + 4);
  EXPECT_EQ(r.top, client.top + 2);
  EXPECT_EQ(r.right, client.right - 4);
  // The edit control keeps only whole lines inside the rectangle, so the bottom may stand
  // higher than asked; it never goes past the 2-pixel margin.
  EXPECT_LE(r.bottom, client.bottom - 2);
}

TEST_F(WindowTest, StartsAsAnEmptyUnmodifiedNoteWithItsCaptionAndFocus) {
  Start();
  wchar_t cls[64] = {};
  ::GetClassNameW(form->Handle(), cls, 64);
  EXPECT_STREQ(cls, L"TFKalvo");
  EXPECT_EQ(form->Caption(), L"Kalvo");
  EXPECT_EQ(form->ClientWidth(), 205);
  EXPECT_EQ(form->ClientHeight(), 69);
  RECT memoRect{};
  ::GetWindowRect(memo(), &memoRect);
  EXPECT_EQ(memoRect.right - memoRect.left, 205);
  EXPECT_EQ(memoRect.bottom - memoRect.top, 69);
  EXPECT_EQ(Text(), L"");
  EXPECT_FALSE(Modified());
  EXPECT_EQ(::GetFocus(), memo());
  const LONG style = ::GetWindowLongW(memo(), GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & ES_AUTOHSCROLL);
  EXPECT_FALSE(style & (WS_HSCROLL | WS_VSCROLL | WS_BORDER | ES_NOHIDESEL));
  EXPECT_EQ(form->MemoOut->FontHeight(), -15);
  // No limit of its own: far beyond the control's default of 30000 units.
  EXPECT_GT(static_cast<DWORD>(::SendMessageW(memo(), EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);
}

TEST_F(WindowTest, MarginsHoldAfterResizeMaximiseAndRestore) {
  Start();
  ExpectMargins(memo());
  ::SetWindowPos(form->Handle(), nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  ExpectMargins(memo());
  RECT client{};
  ::GetClientRect(form->Handle(), &client);
  RECT memoClient{};
  ::GetClientRect(memo(), &memoClient);
  EXPECT_EQ(memoClient.right, client.right);
  EXPECT_EQ(memoClient.bottom, client.bottom);
  ::ShowWindow(form->Handle(), SW_MAXIMIZE);
  Pump();
  ExpectMargins(memo());
  ::ShowWindow(form->Handle(), SW_RESTORE);
  Pump();
  ExpectMargins(memo());
}

TEST_F(WindowTest, TypedTextStartsInsideTheMarginsAndATabSpansFourAverageCharacters) {
  Start();
  Type(L"\tX");
  EXPECT_EQ(Text(), L"\tX");
  const LRESULT first = ::SendMessageW(memo(), EM_POSFROMCHAR, 0, 0);
  EXPECT_EQ(static_cast<short>(LOWORD(first)), 4);
  EXPECT_EQ(static_cast<short>(HIWORD(first)), 2);
  // The average character width as dialog units measure it for this font.
  HDC dc = ::GetDC(memo());
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(memo(), WM_GETFONT, 0, 0)));
  SIZE size{};
  const wchar_t* alphabet = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  ::GetTextExtentPoint32W(dc, alphabet, 52, &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(memo(), dc);
  const int average = (size.cx / 26 + 1) / 2;
  const LRESULT afterTab = ::SendMessageW(memo(), EM_POSFROMCHAR, 1, 0);
  EXPECT_EQ(static_cast<short>(LOWORD(afterTab)) - 4, 4 * average);
}

TEST_F(WindowTest, ErrorReportAddsAFullStopAfterLettersAndShowsTheTitleAndErrorIcon) {
  struct Case {
    const wchar_t* message;
    const wchar_t* shown;
  } cases[] = {
      {L"ファイルがありません", L"ファイルがありません."},
      {L"終わり。", L"終わり。."},
      {L"done.", L"done."},
      {L"ends in blank ", L"ends in blank "},
      {L"", L""},
  };
  for (const Case& c : cases) {
    script.boxes.clear();
    EXPECT_FALSE(ui::Guard([&] { throw ui::Exception(c.message); }));
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0].text, c.shown);
    EXPECT_EQ(script.boxes[0].caption, ui::Application->Title());
    EXPECT_EQ(script.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
  }
  EXPECT_EQ(ui::Application->Title(), L"win_tests");
}

}  // namespace
