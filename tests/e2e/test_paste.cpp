// Pasting files copied as the file manager copies them: a CF_HDROP list of real files put on
// the clipboard by the driver, Ctrl+V pressed in the real window.
#include "driver.h"

#include <string>
#include <vector>

#include "../win/clipboard_blocks.h"

using namespace kalvo_e2e;

namespace {

// Real files in a folder of their own, removed again at the end.
class TempFiles {
 public:
  explicit TempFiles(const std::vector<std::wstring>& names) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"kalvo-paste-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    for (const std::wstring& name : names) {
      std::wstring path = folder_ + L"\\" + name;
      HANDLE file =
          ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
        paths_.push_back(path);
      }
    }
  }
  ~TempFiles() {
    for (const std::wstring& path : paths_) ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW(folder_.c_str());
  }
  TempFiles(const TempFiles&) = delete;
  TempFiles& operator=(const TempFiles&) = delete;

  const std::vector<std::wstring>& Paths() const { return paths_; }

 private:
  std::wstring folder_;
  std::vector<std::wstring> paths_;
};

TEST(Paste, CtrlVWithCopiedFilesTypesTheirFullPathsOnePerLine) {
  TempFiles files({L"メモ 1.txt", L"사진 😀.txt", L"plain.txt"});
  ASSERT_EQ(files.Paths().size(), 3u);
  Kalvo app;
  ASSERT_TRUE(app.Started());
  HWND w = app.Window();
  ASSERT_NE(w, nullptr);
  HWND edit = app.Edit();
  ASSERT_NE(edit, nullptr);
  ::SetForegroundWindow(w);
  ASSERT_TRUE(WaitFor([&] { return FocusOf(w) == edit; }));
  TypeText(L"x");
  ASSERT_TRUE(WaitFor([&] { return WindowText(edit) == L"x"; }));

  // This process owns the list from now on; WaitFor keeps pumping its messages.
  ASSERT_TRUE(kalvo_test::SetClipboardBlocks({{CF_HDROP, kalvo_test::DropFilesBlock(files.Paths())}}));
  SendKeys({VK_CONTROL, 'V'});
  const std::wstring expected = L"x" + files.Paths()[0] + L"\r\n" + files.Paths()[1] + L"\r\n" + files.Paths()[2];
  EXPECT_TRUE(WaitFor([&] { return WindowText(edit) == expected; })) << "text: " << WindowText(edit).size() << " units";
  const auto selection = static_cast<DWORD>(::SendMessageW(edit, EM_GETSEL, 0, 0));
  EXPECT_EQ(LOWORD(selection), expected.size());
  EXPECT_EQ(HIWORD(selection), expected.size());
  EXPECT_TRUE(::SendMessageW(edit, EM_GETMODIFY, 0, 0));
  EXPECT_FALSE(::SendMessageW(edit, EM_CANUNDO, 0, 0));

  kalvo_test::SetClipboardBlocks({});

  // Closing an unmodified note asks nothing.
  ::SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  ::PostMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.ExitCode(), 0u);
}

}  // namespace
