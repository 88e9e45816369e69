// Tests of file names, the application title and the texts of error messages.
#include "text/names.h"

#include <gtest/gtest.h>

#include <string>

namespace kalvo::text {
namespace {

using namespace std::string_literals;

TEST(FileNameWithoutDirectory, Table) {
  struct Case {
    std::u16string path;
    std::u16string name;
  };
  const Case cases[] = {
      {u"C:\\memo\\letter.txt", u"letter.txt"},
      {u"C:letter.txt", u"letter.txt"},
      {u"memo/letter.txt", u"memo/letter.txt"},
      {u"C:\\memo/letter.txt", u"memo/letter.txt"},
      {u"letter.txt", u"letter.txt"},
      {u"\\\\server\\share\\メモ.txt", u"メモ.txt"},
      {u"a:b\\c", u"c"},
      {u"a\\b:c", u"c"},
      {u"C:\\memo\\", u""},
      {u"C:", u""},
      {u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.path));
    EXPECT_EQ(FileNameWithoutDirectory(c.path), c.name);
  }
}

// Lower-cases ASCII and full-width Latin capitals, as the system's lower-casing would.
char16_t FakeLower(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= u'\uFF21' && c <= u'\uFF3A')) {
    return static_cast<char16_t>(c + 0x20);
  }
  return c;
}

TEST(ApplicationTitle, Table) {
  struct Case {
    std::u16string path;
    std::u16string title;
  };
  const Case cases[] = {
      {u"kalvo.exe", u"kalvo"},
      {u"KALVO.EXE", u"Kalvo"},
      {u"Kalvo.old.exe", u"Kalvo"},
      {u"kalvo.old.exe", u"kalvo"},
      {u"C:\\Program Files\\Kalvo\\KALVO.EXE", u"Kalvo"},
      {u"C:\\My.Tools\\kalvo.exe", u"kalvo"},
      {u"C:\\Tools\\KALVO", u"Kalvo"},
      {u"C:\\Tools\\.exe", u""},
      {u"C:\\Tools\\", u""},
      {u"C:KALVO.EXE", u"C:kalvo"},                // ":" does not separate here
      {u"C:/Tools/KALVO.EXE", u"C:/tools/kalvo"},  // nor does "/"
      {u"\uFF2B\uFF21\uFF2C.exe", u"\uFF2B\uFF41\uFF4C"},
      {u"kALVO.exe", u"kalvo"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.path));
    EXPECT_EQ(ApplicationTitle(c.path, FakeLower), c.title);
  }
}

TEST(ErrorReportText, FullStopAfterUnitsAboveFullStop) {
  struct Case {
    std::u16string message;
    std::u16string shown;
  };
  const Case cases[] = {
      {u"", u""},
      {u"Done.", u"Done."},
      {u"a-", u"a-"},
      {u"a,", u"a,"},
      {u"a!", u"a!"},
      {u"a ", u"a "},
      {u"(a)", u"(a)"},
      {u"a\r\n", u"a\r\n"},
      {u"\0"s, u"\0"s},
      {u"a/", u"a/."},  // U+002F, the first unit above "."
      {u"a", u"a."},
      {u"A", u"A."},
      {u"1", u"1."},
      {u"a:", u"a:."},
      {u"ストリームへの書き込みエラー", u"ストリームへの書き込みエラー."},
      {u"開けません。", u"開けません。."},
      {u"ファイル a は開けません。 b ", u"ファイル a は開けません。 b "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.message));
    EXPECT_EQ(ErrorReportText(c.message), c.shown);
  }
}

TEST(CleanSystemErrorText, Table) {
  struct Case {
    std::u16string text;
    std::u16string cleaned;
  };
  const Case cases[] = {
      {u"アクセスが拒否されました。\r\n", u"アクセスが拒否されました。"},
      {u"Access is denied.\r\n", u"Access is denied"},
      {u"x. . \t\r\n", u"x"},
      {u"x\0"s, u"x"},
      {u"...", u""},
      {u" \r\n", u""},
      {u"", u""},
      {u"a.b", u"a.b"},
      {u" x", u" x"},
      {u"x\u3000", u"x\u3000"},
      {u"x\uFF0E", u"x\uFF0E"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    EXPECT_EQ(CleanSystemErrorText(c.text), c.cleaned);
  }
}

TEST(FormatMessageText, Table) {
  EXPECT_EQ(FormatMessageText(u"ファイル %s は開けません。 %s ", {u"C:\\memo\\a.txt", u"アクセスが拒否されました"}),
            u"ファイル C:\\memo\\a.txt は開けません。 アクセスが拒否されました ");
  EXPECT_EQ(FormatMessageText(u"ファイル \"%s\" を作成できません。%s", {u"C:\\a.txt", u"x"}),
            u"ファイル \"C:\\a.txt\" を作成できません。x");
  EXPECT_EQ(FormatMessageText(u"%s", {}), u"");
  EXPECT_EQ(FormatMessageText(u"a %s b %s c", {u"1"}), u"a 1 b  c");
  EXPECT_EQ(FormatMessageText(u"%s", {u"1", u"2"}), u"1");
  EXPECT_EQ(FormatMessageText(u"%s%s", {u"1", u"2"}), u"12");
  EXPECT_EQ(FormatMessageText(u"no placeholder", {u"1"}), u"no placeholder");
  EXPECT_EQ(FormatMessageText(u"100% %d %1 %", {u"1"}), u"100% %d %1 %");
  // An argument is inserted as it is, even when it holds "%s".
  EXPECT_EQ(FormatMessageText(u"[%s] [%s]", {u"%s", u"b"}), u"[%s] [b]");
  EXPECT_EQ(FormatMessageText(u"", {u"1"}), u"");
}

}  // namespace
}  // namespace kalvo::text
