// The command line of the real program: a file and a title given at start, and the real
// warning box for a bad argument, shown before the main window.
#include "driver.h"

using namespace kalvo_e2e;

namespace {

// A file in the temporary folder, removed at the end.
class TempTextFile {
 public:
  TempTextFile(const wchar_t* name, const std::string& bytes) {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + name;
    HANDLE f = ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(f);
  }
  ~TempTextFile() { ::DeleteFileW(path_.c_str()); }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

TEST(CommandLine, AFileAndATitleGivenAtStartAreShownInTheWindow) {
  TempTextFile file(L"kalvo e2e memo.txt", "\xEF\xBB\xBFline one\n\xE3\x81\x82");
  Kalvo app(L"\"" + file.Path() + L"\" -c \"E2E title\"");
  ASSERT_TRUE(app.Started());
  HWND w = app.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(WindowText(w), L"E2E title");
  HWND edit = app.Edit();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(WindowText(edit), L"line one\r\nあ");
  // Loaded, not edited: closing asks nothing.
  EXPECT_EQ(::SendMessageW(edit, EM_GETMODIFY, 0, 0), 0);
  ::PostMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.ExitCode(), 0u);
}

TEST(CommandLine, ABadArgumentShowsTheWarningBoxBeforeTheWindow) {
  Kalvo app(L"no-such-kalvo-file.txt");
  ASSERT_TRUE(app.Started());
  HWND box = app.Box();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BoxText(box), L"parameter error ");
  EXPECT_EQ(WindowText(box), L"Kalvo");
  EXPECT_EQ(::GetWindow(box, GW_OWNER), nullptr);
  EXPECT_TRUE(WindowsOf(app.Pid(), L"TFKalvo").empty()) << "the main window was shown before the warning";
  HWND ok = ::GetDlgItem(box, IDOK);
  ASSERT_NE(ok, nullptr);
  ::PostMessageW(ok, BM_CLICK, 0, 0);
  HWND w = app.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(WindowText(w), L"Kalvo");
  EXPECT_TRUE(WindowsOf(app.Pid(), L"#32770").empty());
  ::PostMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.ExitCode(), 0u);
}

}  // namespace
