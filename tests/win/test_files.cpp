// Loading text files into the real edit area and saving it, with real files in a
// temporary folder: encodings, line breaks, NUL, unchanged reloads, size limits, and every
// failure leaving the memo and the file on disk as they were.
#include <functional>

#include "files_support.h"
#include "support.h"
#include "ui/textfile.h"
#include "ui/textfile_seam.h"

using namespace kalvo_test;

namespace {

// The message of the error that fn raised, or "<no error>".
std::wstring ErrorOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const ui::Exception& e) {
    return e.Message();
  }
  return L"<no error>";
}

// The text the system's ANSI code page (932 under the tests' Japanese locale) makes of bytes.
std::wstring Ansi(const Bytes& b) {
  std::wstring out(b.size(), L'\0');
  const int n = ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(b.data()), static_cast<int>(b.size()),
                                      out.data(), static_cast<int>(out.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

class FilesTest : public KalvoTest {
 protected:
  void SetUp() override {
    KalvoTest::SetUp();
    Start();
  }
  void TearDown() override {
    ui::SetFileIoSeam({});
    KalvoTest::TearDown();
  }
  void Load(const std::wstring& path) { ui::LoadTextFile(*form->MemoOut, path); }
  void Save(const std::wstring& path) { ui::SaveTextFile(*form->MemoOut, path); }

  TempFolder folder;
};

TEST_F(FilesTest, LoadDecodesEachEncodingAndNormalisesLineBreaks) {
  ASSERT_EQ(::GetACP(), 932u) << "the tests expect a Japanese ANSI code page";
  const Bytes sjisLine = {0x82, 0xA0, 0x82, 0xA2, 0x0A, 0xB1};  // "あい", LF, half-width "ｱ"
  // Valid UTF-8 "あ" followed by Shift_JIS "あ", which is no UTF-8: the whole file is 932.
  const Bytes mixed = {0xE3, 0x81, 0x82, 0x82, 0xA0};
  struct Case {
    const char* what;
    Bytes bytes;
    std::wstring text;
  } cases[] = {
      {"UTF-16 LE with LF", {0xFF, 0xFE, 'a', 0, 0x0A, 0, 0x42, 0x30}, L"a\r\nあ"},
      {"UTF-16 LE loses a lone last byte", {0xFF, 0xFE, 'a', 0, 'b'}, L"a"},
      {"UTF-16 BE with a lone CR", {0xFE, 0xFF, 0x30, 0x42, 0, 0x0D, 0, 'z'}, L"あ\r\nz"},
      {"UTF-8 with mark", Concat({{0xEF, 0xBB, 0xBF}, BytesOf("\xE3\x81\x82\r\nx")}), L"あ\r\nx"},
      {"UTF-8 with mark and a bad byte keeps the rest", {0xEF, 0xBB, 0xBF, 'a', 0xFF, 'b', 0xE3, 0x81, 0x82}, L"a\uFFFDbあ"},
      {"UTF-8 without mark, valid and not ASCII", BytesOf("\xE6\x97\xA5\xE6\x9C\xAC\n"), L"日本\r\n"},
      {"Shift_JIS without mark is code page 932", sjisLine, L"あい\r\nｱ"},
      {"not quite UTF-8 is code page 932", mixed, Ansi(mixed)},
      {"ASCII, LF CR is two breaks", BytesOf("a\n\rb\r\r\nc\r"), L"a\r\n\r\nb\r\n\r\nc\r\n"},
      {"empty file", {}, L""},
      {"only a mark", {0xEF, 0xBB, 0xBF}, L""},
      {"the text ends at its first NUL", {0xFF, 0xFE, 'a', 0, 'b', 0, 0, 0, 'c', 0}, L"ab"},
      {"FF FE 00 00 is UTF-16 starting with NUL", {0xFF, 0xFE, 0, 0, 'x', 0}, L""},
  };
  ASSERT_NE(cases[7].text, L"あ\x3042") << "the mixed case must differ from a UTF-8 reading";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    form->MemoOut->SetText(L"前の文");
    form->MemoOut->ReplaceSelection(L"x", true);  // something to undo, and modified
    const std::wstring path = folder / L"in.txt";
    WriteBytes(path, c.bytes);
    EXPECT_EQ(ErrorOf([&] { Load(path); }), L"<no error>");
    EXPECT_EQ(Text(), c.text);
    // A whole-text replacement, as WM_SETTEXT does it.
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{0}));
    EXPECT_FALSE(CanUndo());
    EXPECT_FALSE(Modified());
  }
}

TEST_F(FilesTest, LoadOfTheTextAlreadyShownKeepsCaretSelectionUndoAndModified) {
  // The file's LF-only lines normalise to exactly what the memo holds.
  form->MemoOut->ReplaceSelection(L"ab\r\ncd", true);
  Select(1, 4);
  ASSERT_TRUE(CanUndo());
  ASSERT_TRUE(Modified());
  const std::wstring path = folder / L"same.txt";
  WriteBytes(path, BytesOf("ab\ncd"));
  Load(path);
  EXPECT_EQ(Text(), L"ab\r\ncd");
  EXPECT_EQ(Selection(), std::make_pair(DWORD{1}, DWORD{4}));
  EXPECT_TRUE(CanUndo());
  EXPECT_TRUE(Modified());
  // One unit more, and it is replaced.
  WriteBytes(path, BytesOf("ab\ncde"));
  Load(path);
  EXPECT_EQ(Text(), L"ab\r\ncde");
  EXPECT_FALSE(CanUndo());
  EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{0}));
}

TEST_F(FilesTest, LoadRefusesWhatTheMemoCannotHoldAndChangesNothing) {
  const std::wstring path = folder / L"big.txt";
  struct Case {
    const char* what;
    LONGLONG size;
  } cases[] = {
      {"2 GiB", 0x80000000LL},
      // 4 GiB + 6 counted in 32 bits would look like a 6-byte file.
      {"4 GiB and 6 bytes", 0x100000006LL},
  };
  form->MemoOut->ReplaceSelection(L"keep", true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MakeFileOfSize(path, c.size);
    EXPECT_EQ(ErrorOf([&] { Load(path); }), kTooLargeMessage);
    EXPECT_EQ(Text(), L"keep");
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(CanUndo());
  }
  // A text longer than the edit area's limit.
  ::SendMessageW(memo(), EM_SETLIMITTEXT, 8, 0);
  WriteBytes(path, BytesOf("123456789"));
  EXPECT_EQ(ErrorOf([&] { Load(path); }), kTooLargeMessage);
  EXPECT_EQ(Text(), L"keep");
  WriteBytes(path, BytesOf("12345678"));
  EXPECT_EQ(ErrorOf([&] { Load(path); }), L"<no error>");
  EXPECT_EQ(Text(), L"12345678");
}

TEST_F(FilesTest, LoadFailuresGiveTheOpenMessageWithTheFullPathAndLeaveTheMemo) {
  const std::wstring file = folder / L"held.txt";
  WriteBytes(file, BytesOf("text"));
  const std::wstring subfolder = folder / L"sub";
  ASSERT_TRUE(::CreateDirectoryW(subfolder.c_str(), nullptr));
  form->MemoOut->ReplaceSelection(L"keep", true);

  // A relative name is named by its full path.
  {
    CurrentDirectory here(folder.Path());
    EXPECT_EQ(ErrorOf([&] { Load(L"missing.txt"); }), OpenMessage(folder / L"missing.txt", ERROR_FILE_NOT_FOUND));
  }
  EXPECT_EQ(ErrorOf([&] { Load(folder / L"no\\such.txt"); }), OpenMessage(folder / L"no\\such.txt", ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(ErrorOf([&] { Load(subfolder); }), OpenMessage(subfolder, ERROR_ACCESS_DENIED));
  struct Holder {
    const char* what;
    DWORD access;
    DWORD share;
  } holders[] = {
      {"another program writes it", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
      {"another program has it without sharing", GENERIC_READ, 0},
  };
  for (const Holder& h : holders) {
    SCOPED_TRACE(h.what);
    ui::UniqueFile held = Hold(file, h.access, h.share);
    ASSERT_TRUE(held);
    EXPECT_EQ(ErrorOf([&] { Load(file); }), OpenMessage(file, ERROR_SHARING_VIOLATION));
  }
  EXPECT_EQ(Text(), L"keep");
  EXPECT_TRUE(Modified());
  EXPECT_TRUE(CanUndo());
  // A reader that lets others read is no obstacle.
  ui::UniqueFile reader = Hold(file, GENERIC_READ, FILE_SHARE_READ);
  ASSERT_TRUE(reader);
  EXPECT_EQ(ErrorOf([&] { Load(file); }), L"<no error>");
  EXPECT_EQ(Text(), L"text");
}

// Reads through the seam that deliver less than asked and then fail or stop.
BOOL WINAPI ReadHalfThenStop(HANDLE f, LPVOID data, DWORD size, LPDWORD read, LPOVERLAPPED o) {
  static bool first = true;
  if (first || size < 2) {
    first = !first;
    return ::ReadFile(f, data, size / 2, read, o);
  }
  first = true;
  *read = 0;  // the end of the file, although the size said more
  return TRUE;
}
BOOL WINAPI ReadHalfThenFail(HANDLE f, LPVOID data, DWORD size, LPDWORD read, LPOVERLAPPED o) {
  static bool first = true;
  if (first) {
    first = false;
    return ::ReadFile(f, data, size / 2, read, o);
  }
  first = true;
  *read = 0;
  ::SetLastError(ERROR_IO_DEVICE);
  return FALSE;
}

TEST_F(FilesTest, AShortOrFailedReadGivesTheOpenMessageAndNeverAPaddedText) {
  const std::wstring file = folder / L"short.txt";
  WriteBytes(file, BytesOf("0123456789"));
  form->MemoOut->ReplaceSelection(L"keep", true);
  ui::SetFileIoSeam({&ReadHalfThenStop, nullptr});
  EXPECT_EQ(ErrorOf([&] { Load(file); }), OpenMessage(file, ERROR_HANDLE_EOF));
  EXPECT_EQ(Text(), L"keep");
  ui::SetFileIoSeam({&ReadHalfThenFail, nullptr});
  EXPECT_EQ(ErrorOf([&] { Load(file); }), OpenMessage(file, ERROR_IO_DEVICE));
  EXPECT_EQ(Text(), L"keep");
  EXPECT_TRUE(Modified());
}

TEST_F(FilesTest, SaveWritesTheMarkAndTheUnitsAsTheyAreAndReadsBack) {
  struct Case {
    const char* what;
    std::wstring text;
    Bytes bytes;
  } cases[] = {
      {"empty", L"", {0xFF, 0xFE}},
      {"lines and Japanese", L"a\r\nあ", {0xFF, 0xFE, 'a', 0, 0x0D, 0, 0x0A, 0, 0x42, 0x30}},
      {"an unpaired surrogate is kept", L"x\xD800y", {0xFF, 0xFE, 'x', 0, 0x00, 0xD8, 'y', 0}},
      {"a pair outside the BMP", L"\xD83D\xDE00", {0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}},
  };
  const std::wstring path = folder / L"out.txt";
  WriteBytes(path, Bytes(100, 'o'));  // an older, longer file is replaced whole
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    form->MemoOut->SetText(c.text);
    EXPECT_EQ(ErrorOf([&] { Save(path); }), L"<no error>");
    EXPECT_EQ(ReadBytes(path), c.bytes);
    form->MemoOut->SetText(L"other");
    Load(path);
    if (c.text.find(L'\xD800') == std::wstring::npos) {
      EXPECT_EQ(Text(), c.text);
    }
  }
  // A new file, named relative to the current directory.
  {
    CurrentDirectory here(folder.Path());
    form->MemoOut->SetText(L"new");
    EXPECT_EQ(ErrorOf([&] { Save(L"new.txt"); }), L"<no error>");
  }
  EXPECT_EQ(ReadBytes(folder / L"new.txt"), (Bytes{0xFF, 0xFE, 'n', 0, 'e', 0, 'w', 0}));
  EXPECT_EQ(folder.Entries(), (std::vector<std::wstring>{L"new.txt", L"out.txt"})) << "a temporary file was left";
}

// Writes through the seam that stop part-way as a full disk does.
BOOL WINAPI WriteHalfThenDiskFull(HANDLE f, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED o) {
  if (size >= 4) {
    ::WriteFile(f, data, size / 2, written, o);
    ::SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  return ::WriteFile(f, data, size, written, o);
}

TEST_F(FilesTest, FailedSavesKeepTheOldBytesAndLeaveNoTemporaryFile) {
  const Bytes old = {0xFF, 0xFE, 'o', 0, 'l', 0, 'd', 0};
  const std::wstring target = folder / L"target.txt";
  form->MemoOut->SetText(L"new text that is long enough to be cut in two");
  struct Case {
    const char* what;
    std::function<void()> failingSave;  // checks the message
  } cases[] = {
      {"target held open by another program without sharing",
       [&] {
         ui::UniqueFile held = Hold(target, GENERIC_READ, 0);
         EXPECT_TRUE(held);
         EXPECT_EQ(ErrorOf([&] { Save(target); }), CreateMessage(target, ERROR_SHARING_VIOLATION));
       }},
      {"target held open for reading by a viewer",
       [&] {
         ui::UniqueFile held = Hold(target, GENERIC_READ, FILE_SHARE_READ);
         EXPECT_TRUE(held);
         EXPECT_EQ(ErrorOf([&] { Save(target); }), CreateMessage(target, ERROR_SHARING_VIOLATION));
       }},
      {"read-only target",
       [&] {
         ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
         EXPECT_EQ(ErrorOf([&] { Save(target); }), CreateMessage(target, ERROR_ACCESS_DENIED));
         ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
       }},
      {"the disk fills up part-way",
       [&] {
         ui::SetFileIoSeam({nullptr, &WriteHalfThenDiskFull});
         EXPECT_EQ(ErrorOf([&] { Save(target); }), kWriteMessage);
         ui::SetFileIoSeam({});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(target, old);
    c.failingSave();
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{L"target.txt"});
  }
  // New targets: a full disk leaves nothing behind, and a missing folder names the file.
  ::DeleteFileW(target.c_str());
  ui::SetFileIoSeam({nullptr, &WriteHalfThenDiskFull});
  EXPECT_EQ(ErrorOf([&] { Save(target); }), kWriteMessage);
  ui::SetFileIoSeam({});
  EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{});
  const std::wstring nowhere = folder / L"no\\such.txt";
  EXPECT_EQ(ErrorOf([&] { Save(nowhere); }), CreateMessage(nowhere, ERROR_PATH_NOT_FOUND));
  const std::wstring subfolder = folder / L"sub";
  ASSERT_TRUE(::CreateDirectoryW(subfolder.c_str(), nullptr));
  EXPECT_EQ(ErrorOf([&] { Save(subfolder); }), CreateMessage(subfolder, ERROR_ACCESS_DENIED));
  EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{L"sub"});
}

}  // namespace
