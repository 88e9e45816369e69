// Tests of command-line splitting and option matching.
#include "text/cmdline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kalvo::text {
namespace {

using namespace std::string_literals;
using Args = std::vector<std::u16string>;

TEST(SplitCommandLine, Table) {
  struct Case {
    const char* name;
    std::u16string line;
    Args args;
  };
  const Case cases[] = {
      // Separators
      {"empty line", u"", {}},
      {"blanks only", u"   \t ", {}},
      {"program name only", u"kalvo.exe", {}},
      {"two arguments", u"kalvo.exe a.txt b.txt", {u"a.txt", u"b.txt"}},
      {"blanks around", u"  kalvo.exe   a.txt   ", {u"a.txt"}},
      {"tab, CR, LF, 01 and 1F separate",
       u"kalvo\ta\rb\nc\x01"
       u"d\x1F"
       u"e",
       {u"a", u"b", u"c", u"d", u"e"}},
      {"7F does not separate",
       u"kalvo a\x7F"
       u"b",
       {u"a\x7F"
        u"b"}},
      {"ideographic space does not separate", u"kalvo a\u3000b", {u"a\u3000b"}},
      {"no-break space does not separate", u"kalvo a\u00A0b", {u"a\u00A0b"}},
      {"supplementary characters", u"kalvo 😀 メモ.txt", {u"😀", u"メモ.txt"}},
      {"nothing after NUL", u"kalvo a\0b c"s, {u"a"}},
      {"nothing after NUL inside quotes", u"kalvo \"a\0b\" c"s, {u"a"}},

      // Quoted stretches
      {"quoted with blank", u"kalvo -c \"My memo\"", {u"-c", u"My memo"}},
      {"quote in the middle", u"kalvo C:\\My\" \"Files\\a.txt", {u"C:\\My Files\\a.txt"}},
      {"quoted part joins both sides", u"kalvo a\"b c\"d", {u"ab cd"}},
      {"touching quoted stretches", u"kalvo \"a b\"\"c d\"", {u"a bc d"}},
      {"quote pairs alternate", u"kalvo a\"b\"c\"d\"e", {u"abcde"}},
      {"quoted controls kept",
       u"kalvo \"a\tb\x01"
       u"c\"",
       {u"a\tb\x01"
        u"c"}},
      {"unclosed quote runs to the end", u"kalvo \"a b  ", {u"a b  "}},
      {"unclosed after text", u"kalvo x \"y z\" w\"v u", {u"x", u"y z", u"wv u"}},

      // Empty pairs of quotes
      {"empty pair vanishes", u"kalvo \"\" a", {u"a"}},
      {"two empty pairs vanish", u"kalvo \"\"\"\" a", {u"a"}},
      {"empty pairs with blanks between", u"kalvo \"\" \"\"\t\"\" a", {u"a"}},
      {"-c then empty pair then file", u"kalvo -c \"\" memo.txt", {u"-c", u"memo.txt"}},
      {"empty pair glued before text", u"kalvo \"\"a", {u"a"}},
      {"empty pair before a quoted stretch", u"kalvo \"\"\"a b\"", {u"a b"}},
      {"empty pair inside", u"kalvo a\"\"b", {u"ab"}},
      {"empty pair at the end of an argument", u"kalvo a\"\" b", {u"a", u"b"}},
      {"only empty pairs after the name", u"kalvo \"\" \"\"", {}},

      // The end of the line
      {"lone quote at the end", u"kalvo a \"", {u"a"}},
      {"lone quote after an empty pair", u"kalvo a \"\"\"", {u"a"}},
      {"lone quote glued to an argument", u"kalvo a\"", {u"a"}},

      // Backslashes are ordinary
      {"backslash before a quote", u"kalvo a\\\"b c\"", {u"a\\b c"}},
      {"quoted directory ending in backslash", u"kalvo \"C:\\dir\\\" x", {u"C:\\dir\\", u"x"}},
      {"two backslashes before a quote", u"kalvo \\\\\"a\"", {u"\\\\a"}},
      {"backslash alone", u"kalvo \\", {u"\\"}},

      // The program name is scanned like every argument
      {"quoted program name with blanks", u"\"C:\\Program Files\\Kalvo\\kalvo.exe\" -t", {u"-t"}},
      {"program name half quoted", u"C:\\\"Program Files\"\\kalvo.exe a", {u"a"}},
      {"program name unclosed", u"\"C:\\Program Files\\kalvo.exe -t", {}},
      {"empty pair before program name", u"\"\"kalvo.exe a", {u"a"}},
      {"empty pair takes the program name's place", u"\"\" a b", {u"b"}},
      {"lone quote as program name", u"\"", {}},
      {"program name glued to an argument", u"kalvo.exe\"\" a", {u"a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitCommandLine(c.line), c.args);
  }
}

TEST(IsOption, Table) {
  struct Case {
    std::u16string argument;
    char16_t letter;
    bool matches;
  };
  const Case cases[] = {
      {u"-c", u'c', true},
      {u"-C", u'c', true},
      {u"-t", u't', true},
      {u"-T", u't', true},
      {u"-c", u't', false},
      {u"-t", u'c', false},
      {u"-cx", u'c', false},
      {u"-c ", u'c', false},
      {u" -c", u'c', false},
      {u"--c", u'c', false},
      {u"-", u'c', false},
      {u"", u'c', false},
      {u"c", u'c', false},
      {u"/c", u'c', false},
      {u"\u2010c", u'c', false},       // hyphen, not hyphen-minus
      {u"\uFF0D\uFF43", u'c', false},  // full-width "-c"
      {u"-\uFF43", u'c', false},       // full-width c
      {u"-\uFF23", u'c', false},       // full-width C
      {u"-\u00C7", u'\u00E7', false},  // only A to Z are lower-cased
      {u"-@", u'`', false},            // the neighbours of A to Z stay as they are
      {u"-[", u'{', false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.argument));
    EXPECT_EQ(IsOption(c.argument, c.letter), c.matches);
  }
}

}  // namespace
}  // namespace kalvo::text
