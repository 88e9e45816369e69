// The program's own paste: a file list on the clipboard becomes its full paths, one per
// line, in one step that cannot be undone; otherwise the edit area pastes the text.
#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "clipboard_blocks.h"
#include "edit_messages.h"
#include "support.h"
#include "ui/exception.h"

using namespace kalvo_test;

namespace {

// Leaves the clipboard empty, so that no file list outlives the test that made it.
class PasteFixture : public KalvoTest {
 protected:
  void TearDown() override {
    KalvoTest::TearDown();
    SetClipboardBlocks({});
  }
};

const std::wstring kMemoPath = L"C:\\Users\\kalvo\\メモ.txt";
// Names that code page 932 cannot spell: Hangul, an emoji (a surrogate pair), an accent.
const std::wstring kUnicodePath = L"C:\\사진\\😀 café.txt";
// 130 kanji: 260 bytes in code page 932, past 254 bytes in any ANSI form.
const std::wstring kLongPath = L"C:\\" + std::wstring(130, L'漢') + L".txt";

struct FileListCase {
  const char* name;
  std::vector<std::wstring> names;
  bool wide;                    // UTF-16 names, or code page 932
  const wchar_t* alsoText;      // text on the clipboard beside the list, or null
  std::wstring text;            // the note before
  DWORD selStart, selEnd;       // the selection before
  std::wstring expectedInsert;  // what takes the selection's place
};
void PrintTo(const FileListCase& c, std::ostream* os) { *os << c.name; }

class PasteFileListTest : public PasteFixture, public ::testing::WithParamInterface<FileListCase> {};

TEST_P(PasteFileListTest, CtrlVPutsThePathsInPlaceOfTheSelectionInOneStepThatCannotBeUndone) {
  const FileListCase& c = GetParam();
  std::vector<std::pair<UINT, std::string>> blocks{{CF_HDROP, DropFilesBlock(c.names, c.wide)}};
  if (c.alsoText) blocks.emplace_back(CF_UNICODETEXT, TextBlock(c.alsoText));
  ASSERT_TRUE(SetClipboardBlocks(blocks));
  Start();
  SetText(c.text);
  Select(c.selStart, c.selEnd);
  {
    EditMessageLog log(memo());
    EXPECT_TRUE(PressKey('V', true));
    EXPECT_TRUE(log.OneReplaceSelectionWithoutUndo());
  }
  EXPECT_TRUE(script.boxes.empty());
  const std::wstring expected = c.text.substr(0, c.selStart) + c.expectedInsert + c.text.substr(c.selEnd);
  EXPECT_EQ(Text(), expected);
  const DWORD caret = c.selStart + static_cast<DWORD>(c.expectedInsert.size());
  EXPECT_EQ(Selection(), std::make_pair(caret, caret));
  EXPECT_TRUE(Modified());
  EXPECT_FALSE(CanUndo());
}

INSTANTIATE_TEST_SUITE_P(
    PasteFileList, PasteFileListTest,
    ::testing::Values(
        FileListCase{"OneFileGivesItsPathWithoutLineBreak", {kMemoPath}, true, nullptr, L"", 0, 0, kMemoPath},
        FileListCase{"ThreeFilesInTheListsOrderCaretAfterTheThird",
                     {L"C:\\b.txt", L"C:\\a\\c.txt", L"D:\\a.txt"}, true, nullptr, L"", 0, 0,
                     L"C:\\b.txt\r\nC:\\a\\c.txt\r\nD:\\a.txt"},
        FileListCase{"PathsWinOverTextBeside", {L"C:\\a.txt", L"C:\\b.txt"}, true, L"ignored", L"", 0, 0,
                     L"C:\\a.txt\r\nC:\\b.txt"},
        FileListCase{"ReplacesTheSelection", {kMemoPath}, true, nullptr, L"前XYZ後", 1, 4, kMemoPath},
        FileListCase{"InsertsAtTheCaret", {kMemoPath}, true, nullptr, L"前後", 1, 1, kMemoPath},
        FileListCase{"PathThatCodePage932CannotSpellIsTheRealOne", {kUnicodePath}, true, nullptr, L"", 0, 0,
                     kUnicodePath},
        FileListCase{"PathOver254BytesIsWhole", {kLongPath, kMemoPath}, true, nullptr, L"", 0, 0,
                     kLongPath + L"\r\n" + kMemoPath},
        FileListCase{"ListInCodePage932", {kMemoPath, L"D:\\ｶﾅ.txt"}, false, nullptr, L"", 0, 0,
                     kMemoPath + L"\r\nD:\\ｶﾅ.txt"},
        FileListCase{"ListWithoutNamesRemovesTheSelection", {}, true, L"ignored", L"abc", 1, 2, L""}),
    [](const ::testing::TestParamInfo<FileListCase>& param) { return std::string(param.param.name); });

// Blocks that announce a file list but do not hold a well-formed one. Each would make a
// reader that trusts the block read past its end.
struct MalformedCase {
  const char* name;
  std::string block;
};
void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

std::string WithOffset(std::string block, DWORD offset) {
  std::memcpy(block.data(), &offset, sizeof(offset));  // DROPFILES::pFiles comes first
  return block;
}
std::string WithoutLast(std::string block, std::size_t bytes) {
  block.resize(block.size() - bytes);
  return block;
}

// The offset points at the header's point field, which holds the characters "AB".
std::string InHeader(std::string block) {
  block = WithOffset(std::move(block), offsetof(DROPFILES, pt));
  std::memcpy(block.data() + offsetof(DROPFILES, pt), L"AB", 2 * sizeof(wchar_t));
  return block;
}

class PasteMalformedTest : public PasteFixture, public ::testing::WithParamInterface<MalformedCase> {};

TEST_P(PasteMalformedTest, PastesNothingInPlaceOfTheSelection) {
  ASSERT_TRUE(SetClipboardBlocks({{CF_HDROP, GetParam().block}, {CF_UNICODETEXT, TextBlock(L"ignored")}}));
  Start();
  SetText(L"abc");
  Select(1, 2);
  EXPECT_TRUE(PressKey('V', true));
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(Text(), L"ac");
  EXPECT_EQ(Selection(), std::make_pair(DWORD{1}, DWORD{1}));
}

const std::string kTwoNames = DropFilesBlock({L"C:\\a.txt", L"C:\\b.txt"});
const std::string kTwoAnsiNames = DropFilesBlock({L"C:\\a.txt", L"C:\\b.txt"}, false);

INSTANTIATE_TEST_SUITE_P(
    PasteMalformed, PasteMalformedTest,
    ::testing::Values(
        MalformedCase{"OffsetPastTheEnd", WithOffset(kTwoNames, static_cast<DWORD>(kTwoNames.size() + 64))},
        MalformedCase{"OffsetAtTheEnd", WithOffset(kTwoNames, static_cast<DWORD>(kTwoNames.size()))},
        MalformedCase{"NamesStartInsideTheHeader", InHeader(kTwoNames)},
        MalformedCase{"NoEmptyNameEndsTheList", WithoutLast(kTwoNames, 2)},
        MalformedCase{"LastNameRunsToTheEnd", WithoutLast(kTwoNames, 4)},
        MalformedCase{"HalfACharacterAtTheEnd", WithoutLast(kTwoNames, 1)},
        MalformedCase{"CodePage932ListWithoutEnd", WithoutLast(kTwoAnsiNames, 1)},
        MalformedCase{"ShorterThanItsHeader", kTwoNames.substr(0, 10)}),
    [](const ::testing::TestParamInfo<MalformedCase>& param) { return std::string(param.param.name); });

class PasteTest : public PasteFixture {};

TEST_F(PasteTest, TextOnlyIsTheEditAreasOwnPasteWhichUndoTakesBack) {
  SetClipboardText(L"貼る\r\ntext");
  Start();
  SetText(L"前XX後");
  Select(1, 3);
  {
    EditMessageLog log(memo());
    EXPECT_TRUE(PressKey('V', true));
    EXPECT_TRUE(log.OnlyOwnPaste());
  }
  EXPECT_EQ(Text(), L"前貼る\r\ntext後");
  EXPECT_EQ(Selection(), std::make_pair(DWORD{9}, DWORD{9}));
  EXPECT_TRUE(Modified());
  EXPECT_TRUE(CanUndo());
  EXPECT_TRUE(PressKey('Z', true));
  EXPECT_EQ(Text(), L"前XX後");
}

TEST_F(PasteTest, UndoAfterTypingThenPastingAFileListLeavesThePaths) {
  ASSERT_TRUE(SetClipboardBlocks({{CF_HDROP, DropFilesBlock({kMemoPath})}}));
  Start();
  Type(L"ab");
  ASSERT_TRUE(CanUndo());
  EXPECT_TRUE(PressKey('V', true));
  ASSERT_EQ(Text(), L"ab" + kMemoPath);
  EXPECT_FALSE(CanUndo());
  EXPECT_TRUE(PressKey('Z', true));
  EXPECT_EQ(Text(), L"ab" + kMemoPath);
}

TEST_F(PasteTest, ListAnnouncedWithoutDataRemovesTheSelection) {
  // Announced for rendering on request; the owner window renders nothing when asked.
  ASSERT_TRUE(WaitFor([] { return ::OpenClipboard(ClipboardOwnerWindow()) != FALSE; }));
  ::EmptyClipboard();
  ::SetClipboardData(CF_HDROP, nullptr);
  ::CloseClipboard();
  Start();
  SetText(L"abc");
  Select(1, 2);
  EXPECT_TRUE(PressKey('V', true));
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(Text(), L"ac");
}

TEST_F(PasteTest, ClipboardHeldByAnotherProcessIsReportedAndTheTextStays) {
  ASSERT_TRUE(SetClipboardBlocks({{CF_HDROP, DropFilesBlock({kMemoPath})}}));
  Start();
  SetText(L"abc");
  Select(0, 1);
  ClipboardHolder holder;
  ASSERT_TRUE(holder.Holding());
  const std::wstring message = L"クリップボード " + ui::SystemErrorText(ERROR_ACCESS_DENIED) + L" を開けません.";

  // The command itself, as the menu item runs it.
  ui::Guard([&] { form->PMenuPaste->Click(); });
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].text, message);
  EXPECT_EQ(Text(), L"abc");
  EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{1}));

  // Ctrl+V: the states are brought up to date first, which reads the clipboard too, so the
  // same error is reported there and the paste item stays disabled.
  EXPECT_TRUE(PressKey('V', true));
  ASSERT_EQ(script.boxes.size(), 2u);
  EXPECT_EQ(script.boxes[1].text, message);
  EXPECT_EQ(Text(), L"abc");
  EXPECT_FALSE(Modified());
}

}  // namespace
