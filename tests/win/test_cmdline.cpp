// The command line walked by FormCreate, given through KalvoTest::Start: options, files
// loaded into the real edit area, the warning box for every bad argument before the
// window is shown, and a load error that ends the walk.
#include "files_support.h"
#include "support.h"

using namespace kalvo_test;

namespace {

class CmdLineTest : public KalvoTest {
 protected:
  void SetUp() override {
    KalvoTest::SetUp();
    // Record, with each box, whether the main window was already visible.
    ui::SetDialogSeam({[this](const ui::MessageBoxRequest& r) {
                         script.boxes.push_back(r);
                         windowVisibleAtBox.push_back(FKalvo && FKalvo->Handle() && ::IsWindowVisible(FKalvo->Handle()));
                         return IDOK;
                       },
                       nullptr});
    WriteBytes(folder / L"a.txt", BytesOf("first\n"));
    WriteBytes(folder / L"b.txt", {0xFF, 0xFE, 0x42, 0x30});  // "あ"
    WriteBytes(folder / L"x y.txt", BytesOf("blank"));
    WriteBytes(folder / L"-t", BytesOf("dash t"));
  }

  // The arguments with {a}, {b} and {xy} standing for those files' full paths.
  std::wstring Arguments(std::wstring pattern) const {
    const std::pair<const wchar_t*, std::wstring> names[] = {
        {L"{a}", folder / L"a.txt"}, {L"{b}", folder / L"b.txt"}, {L"{xy}", folder / L"x y.txt"}, {L"{dir}", folder.Path()}};
    for (const auto& [key, value] : names) {
      for (std::size_t at; (at = pattern.find(key)) != std::wstring::npos;) pattern.replace(at, std::wcslen(key), value);
    }
    return pattern;
  }

  // A new main window in place of the last one, with nothing recorded yet.
  void Restart(const std::wstring& arguments) {
    ui::Application->MainForm = nullptr;
    form.reset();
    script.boxes.clear();
    windowVisibleAtBox.clear();
    Start(arguments);
  }

  bool TopMost() const { return (::GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

  TempFolder folder;
  std::vector<bool> windowVisibleAtBox;
};

TEST_F(CmdLineTest, OptionsAndFilesSetCaptionTextAndStayOnTop) {
  struct Case {
    const wchar_t* arguments;
    std::wstring caption;
    std::wstring text;
    bool topMost;
  } cases[] = {
      {L"", L"Kalvo", L"", false},
      {L"-c \"my memo\"", L"my memo", L"", false},
      {L"-C Title", L"Title", L"", false},
      {L"-c -t", L"-t", L"", false},
      {L"-c", L"", L"", false},
      {L"-c \"\" {a}", Arguments(L"{a}"), L"", false},  // the empty pair vanishes: the path is the title
      {L"-c {a}", Arguments(L"{a}"), L"", false},
      {L"{a} {b}", L"b.txt", L"あ", false},
      {L"-c T {a}", L"a.txt", L"first\r\n", false},
      {L"{a} -c T", L"T", L"first\r\n", false},
      {L"-t", L"Kalvo", L"", true},
      {L"-T -t {a}", L"a.txt", L"first\r\n", true},
      {L"\"{xy}\"", L"x y.txt", L"blank", false},
      {L"{dir}\\\"x y\".txt", L"x y.txt", L"blank", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "arguments: " << ::testing::PrintToString(Arguments(c.arguments)));
    Restart(Arguments(c.arguments));
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(form->Caption(), c.caption);
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(TopMost(), c.topMost);
    EXPECT_EQ(form->PMenuFormStyle->Checked, c.topMost);
    EXPECT_FALSE(Modified());
  }
}

TEST_F(CmdLineTest, AFileNamedLikeAnOptionLoadsOnlyWithItsFolderBeforeIt) {
  CurrentDirectory here(folder.Path());
  Start(L"-t .\\-t");
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_TRUE(TopMost());
  EXPECT_EQ(Text(), L"dash t");
  EXPECT_EQ(form->Caption(), L"-t");
}

TEST_F(CmdLineTest, EachBadArgumentGetsItsOwnWarningBeforeTheWindowIsShown) {
  CurrentDirectory here(folder.Path());
  // Missing, a folder, wildcards, full-width option letters, option with more, "/" options,
  // a path with blanks and no quotes (two arguments, neither a file).
  Start(Arguments(L"missing.txt {dir} *.txt －ｃ -cx /c {dir}\\x y.txt"));
  ASSERT_EQ(script.boxes.size(), 8u);
  for (std::size_t i = 0; i < script.boxes.size(); ++i) {
    SCOPED_TRACE(i);
    const ui::MessageBoxRequest& box = script.boxes[i];
    EXPECT_EQ(box.text, L"parameter error ");
    EXPECT_EQ(box.caption, L"Kalvo");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(box.ansi);
    EXPECT_FALSE(windowVisibleAtBox[i]);
  }
  EXPECT_EQ(form->Caption(), L"Kalvo");
  EXPECT_EQ(Text(), L"");
  EXPECT_FALSE(TopMost());
}

TEST_F(CmdLineTest, AFileThatCannotBeOpenedIsReportedAndEndsTheWalk) {
  const std::wstring locked = folder / L"locked.txt";
  WriteBytes(locked, BytesOf("locked"));
  ui::UniqueFile held = Hold(locked, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(held);
  Start(Arguments(L"-c Before {a} \"" + locked + L"\" -t missing.txt {b}"));
  // One error report, and nothing from the arguments after the file.
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].text, OpenMessage(locked, ERROR_SHARING_VIOLATION));
  EXPECT_EQ(script.boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
  EXPECT_FALSE(windowVisibleAtBox[0]);
  EXPECT_EQ(form->Caption(), L"a.txt");
  EXPECT_EQ(Text(), L"first\r\n");
  EXPECT_FALSE(TopMost());
  EXPECT_FALSE(form->PMenuFormStyle->Checked);
  EXPECT_FALSE(Modified());
}

}  // namespace
