// The five character conversions of the selection: what each makes of the text, and how
// the result replaces the selection (one step, caret after it, modified, no undo).
#include <ostream>
#include <string>
#include <vector>

#include "edit_messages.h"
#include "support.h"

using namespace kalvo_test;

namespace {

using ItemField = ui::TMenuItem* TFKalvo::*;

struct ConvCase {
  const char* name;
  std::wstring text;  // the whole note
  DWORD selStart;     // the selection within it
  DWORD selEnd;
  std::wstring expected;  // the whole note afterwards
};

struct ConvTable {
  ItemField item;
  std::vector<ConvCase> cases;
};

// One case with the menu item that runs it.
struct ConvParam {
  ItemField item;
  ConvCase c;
};
void PrintTo(const ConvParam& p, std::ostream* os) { *os << p.c.name; }

const std::wstring kMixed = L"Abc ＡＢＣ ｱｲｳ アイウ あいう 漢字 123";
const DWORD kMixedEnd = static_cast<DWORD>(kMixed.size());

class ConversionTest : public KalvoTest, public ::testing::WithParamInterface<ConvParam> {};

TEST_P(ConversionTest, ReplacesTheSelectionWithTheWholeResultInOneStepThatCannotBeUndone) {
  const auto& [field, c] = GetParam();
  Start();
  SetText(c.text);
  ASSERT_FALSE(Modified());
  Select(c.selStart, c.selEnd);
  {
    EditMessageLog log(memo());
    (form.get()->*field)->Click();
    EXPECT_TRUE(log.OneReplaceSelectionWithoutUndo());
  }
  EXPECT_EQ(Text(), c.expected);
  // The text after the selection is untouched, so the caret stands where that text now begins.
  const DWORD caret = static_cast<DWORD>(c.expected.size() - (c.text.size() - c.selEnd));
  EXPECT_EQ(Selection(), std::make_pair(caret, caret));
  EXPECT_TRUE(Modified());
  EXPECT_FALSE(CanUndo());
}

std::vector<ConvParam> Cases(const ConvTable& table) {
  std::vector<ConvParam> out;
  for (const ConvCase& c : table.cases) out.push_back({table.item, c});
  return out;
}

std::string CaseName(const ::testing::TestParamInfo<ConvParam>& info) {
  return info.param.c.name;
}

const ConvTable kUpper{&TFKalvo::PMenuUpper,
                       {
                           {"MixedLine", kMixed, 0, kMixedEnd, L"ABC ＡＢＣ ｱｲｳ アイウ あいう 漢字 123"},
                           {"AccentedGreekCyrillicAndFullWidthSharpSStays", L"àéß ωж ａｚ", 0, 9, L"ÀÉß ΩЖ ＡＺ"},
                           {"OnlyTheSelectedWord", L"abc def ghi", 4, 7, L"abc DEF ghi"},
                           {"KanjiAndDigitsStayButCountAsReplaced", L"x漢字123y", 1, 6, L"x漢字123y"},
                           {"SeveralLinesKeepTheirBreaksAndTabs", L"ab\tc\r\nd\te\r\nf", 0, 12, L"AB\tC\r\nD\tE\r\nF"},
                       }};

const ConvTable kLower{&TFKalvo::PMenuLower,
                       {
                           {"MixedLine", kMixed, 0, kMixedEnd, L"abc ａｂｃ ｱｲｳ アイウ あいう 漢字 123"},
                           {"AccentedGreekCyrillicAndFullWidth", L"ÀÉß ΩЖ ＡＺ", 0, 9, L"àéß ωж ａｚ"},
                       }};

const ConvTable kHalfWidth{
    &TFKalvo::PMenuHankaku,
    {
        {"MixedLine", kMixed, 0, kMixedEnd, L"Abc ABC ｱｲｳ ｱｲｳ あいう 漢字 123"},
        // Three voiced kana become six units: the output is never cut to the selection's length.
        {"VoicedKanaBecomeBaseAndMarkAndTheRestMovesOnByThree", L"xガギグyz", 1, 4, L"xｶﾞｷﾞｸﾞyz"},
        {"VoicedHiraganaStays", L"が", 0, 1, L"が"},
        {"PunctuationAndIdeographicSpace", L"！？（）　ー", 0, 6, L"!?() ｰ"},
        {"SeveralLinesKeepTheirBreaksAndTabs", L"上\r\nａｂ\tｃ\r\nカナ\r\n１\r\n下", 3, 16,
         L"上\r\nab\tc\r\nｶﾅ\r\n1\r\n下"},
    }};

const ConvTable kHiragana{
    &TFKalvo::PMenuHiragana,
    {
        {"MixedLine", kMixed, 0, kMixedEnd, L"Ａｂｃ　ＡＢＣ　あいう　あいう　あいう　漢字　１２３"},
        // Six units join into three: the text after the selection moves back by three.
        {"HalfWidthVoicedKanaJoin", L"ｶﾞｷﾞｸﾞ!", 0, 6, L"がぎぐ!"},
        {"HalfWidthSemiVoicedKanaJoins", L"ﾊﾟ", 0, 2, L"ぱ"},
        {"SeveralLinesKeepTheirBreaksAndTabs", L"ab\tc\r\nｶﾅ\r\n1", 0, 11, L"ａｂ\tｃ\r\nかな\r\n１"},
    }};

const ConvTable kKatakana{
    &TFKalvo::PMenuKatakana,
    {
        {"MixedLine", kMixed, 0, kMixedEnd, L"Ａｂｃ　ＡＢＣ　アイウ　アイウ　アイウ　漢字　１２３"},
        {"HalfWidthVoicedKanaJoin", L"ｶﾞｷﾞｸﾞ!", 0, 6, L"ガギグ!"},
        {"HalfWidthSemiVoicedKanaJoins", L"ﾊﾟ", 0, 2, L"パ"},
        {"HiraganaBecomeKatakana", L"がぱあ", 0, 3, L"ガパア"},
        // Only the selection is mapped: the unselected voiced mark is not joined to it.
        {"OnlyTheBaseOfAVoicedKanaSelected", L"ｶﾞ", 0, 1, L"カﾞ"},
    }};

INSTANTIATE_TEST_SUITE_P(ConvUpper, ConversionTest, ::testing::ValuesIn(Cases(kUpper)), CaseName);
INSTANTIATE_TEST_SUITE_P(ConvLower, ConversionTest, ::testing::ValuesIn(Cases(kLower)), CaseName);
INSTANTIATE_TEST_SUITE_P(ConvHalfWidth, ConversionTest, ::testing::ValuesIn(Cases(kHalfWidth)), CaseName);
INSTANTIATE_TEST_SUITE_P(ConvHiragana, ConversionTest, ::testing::ValuesIn(Cases(kHiragana)), CaseName);
INSTANTIATE_TEST_SUITE_P(ConvKatakana, ConversionTest, ::testing::ValuesIn(Cases(kKatakana)), CaseName);

class ConvEdgeTest : public KalvoTest {
 protected:
  std::vector<ui::TMenuItem*> Conversions() const {
    return {form->PMenuUpper, form->PMenuLower, form->PMenuHankaku, form->PMenuHiragana, form->PMenuKatakana};
  }
};

TEST_F(ConvEdgeTest, EmptySelectionChangesNothingAndKeepsTheUndoRecord) {
  Start();
  Type(L"abc ｶﾞ");
  form->MemoOut->SetModified(false);
  Select(2, 2);
  for (ui::TMenuItem* item : Conversions()) {
    SCOPED_TRACE(::testing::Message() << "tag " << item->Tag);
    EditMessageLog log(memo());
    item->Click();
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_EQ(Text(), L"abc ｶﾞ");
    EXPECT_EQ(Selection(), std::make_pair(DWORD{2}, DWORD{2}));
    EXPECT_FALSE(Modified());
    EXPECT_TRUE(CanUndo());
  }
}

TEST_F(ConvEdgeTest, UndoAfterTypingThenConvertingChangesNothing) {
  Start();
  Type(L"abc");
  ASSERT_TRUE(CanUndo());
  Select(0, 3);
  form->PMenuUpper->Click();
  ASSERT_EQ(Text(), L"ABC");
  EXPECT_FALSE(CanUndo());
  // Ctrl+Z is claimed by the undo item, which is disabled now, and the control's own undo
  // has nothing to take back either.
  EXPECT_TRUE(PressKey('Z', true));
  EXPECT_EQ(Text(), L"ABC");
  form->MemoOut->Undo();
  EXPECT_EQ(Text(), L"ABC");
}

TEST_F(ConvEdgeTest, CaretIsScrolledIntoViewAfterTheResult) {
  Start();
  std::wstring text;
  for (int i = 0; i < 60; ++i) text += L"line\r\n";
  text += L"ｶﾞｷﾞｸﾞ";
  SetText(text);
  const DWORD end = static_cast<DWORD>(text.size());
  Select(end - 6, end);
  // Selecting may scroll; bring the first line back to the top, away from the selection.
  ::SendMessageW(memo(), EM_LINESCROLL, 0, -1000);
  ASSERT_EQ(::SendMessageW(memo(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  form->PMenuKatakana->Click();
  ASSERT_EQ(Text(), text.substr(0, end - 6) + L"ガギグ");
  // The caret's line lies inside the formatting rectangle.
  const DWORD caret = Selection().second;
  const LRESULT pos = ::SendMessageW(memo(), EM_POSFROMCHAR, caret - 1, 0);
  RECT r{};
  ::SendMessageW(memo(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  const int y = static_cast<short>(HIWORD(pos));
  EXPECT_GE(y, r.top);
  EXPECT_LT(y, r.bottom);
  EXPECT_GT(::SendMessageW(memo(), EM_GETFIRSTVISIBLELINE, 0, 0), 50);
}

}  // namespace
