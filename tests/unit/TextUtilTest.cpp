#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frame/TextUtil.h"

namespace fdtools {
namespace {

using Pieces = std::vector<std::string>;

TEST(TextUtilSplit, Examples) {
  const std::string ff(1, '\xFF');
  struct Case {
    std::string text;
    char separator;
    Pieces pieces;
  };
  const Case cases[] = {
      {"", ',', {}},
      {"a", ',', {"a"}},
      {"a,b,c", ',', {"a", "b", "c"}},
      {"a,,b", ',', {"a", "", "b"}},
      {",a", ',', {"", "a"}},
      {"a,", ',', {"a"}},
      {"a,,", ',', {"a", ""}},
      {",", ',', {""}},
      {",,", ',', {"", ""}},
      {"A, B", ',', {"A", " B"}},
      {" , ", ',', {" ", " "}},
      {"'x,y',z", ',', {"'x,y'", "z"}},
      {"a'b,c'd,e", ',', {"a'b,c'd", "e"}},
      {"'x,y", ',', {"'x,y"}},
      {"a" + ff + "b", ',', {"a", "b"}},
      {"'a" + ff + "b'", ',', {"'a", "b'"}},
      {ff, ',', {""}},
      {"name key", ' ', {"name", "key"}},
      {"  x", ' ', {"", "", "x"}},
      {"x  ", ' ', {"x", ""}},
      {"it's text", ' ', {"it's text"}},
      {"'first name' text", ' ', {"'first name'", "text"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("text: [" + c.text + "]");
    EXPECT_EQ(split(c.text, c.separator), c.pieces);
  }
}

TEST(TextUtilSplit, BackslashesBeforeQuotesAndRunsInPieces) {
  struct Case {
    std::string text;
    Pieces pieces;
  };
  const Case cases[] = {
      // One backslash escapes the quote: no quoted stretch opens.
      {R"(a\'b,c)", {R"(a\'b)", "c"}},
      // Two backslashes are an escaped backslash: the quote is live.
      {R"(a\\'b,c)", {R"(a\'b,c)"}},
      {R"(a\\'b,c',d)", {R"(a\'b,c')", "d"}},
      // A quote at the very start always flips.
      {R"(',a)", {R"(',a)"}},
      // Pairs collapse left to right; a lone backslash stays.
      {R"(a\b)", {R"(a\b)"}},
      {R"(a\\b)", {R"(a\b)"}},
      {R"(a\\\b)", {R"(a\\b)"}},
      {R"(a\\\\b)", {R"(a\\b)"}},
      {R"(a\\\\\b)", {R"(a\\\b)"}},
      // Collapsing never moves a boundary.
      {R"(\\,\\)", {R"(\)", R"(\)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("text: [" + c.text + "]");
    EXPECT_EQ(split(c.text, ','), c.pieces);
  }
}

TEST(TextUtilSplit, KeepsNulAndHighBytes) {
  const std::string text("a\0b,\xE9\x80", 6);
  EXPECT_EQ(split(text, ','),
            (Pieces{std::string("a\0b", 3), std::string("\xE9\x80")}));
}

TEST(TextUtilTrim, TrimAndTrimmedAndRemoveSpaces) {
  struct Case {
    std::string text;
    std::string trimmed;
    std::string withoutSpaces;
  };
  const Case cases[] = {
      {"", "", ""},
      {"   ", "", ""},
      {"abc", "abc", "abc"},
      {"  a b  ", "a b", "ab"},
      {"\t a ", "\t a", "\ta"},
      {" a\r", "a\r", "a\r"},
      {"j oin( A , B )", "j oin( A , B )", "join(A,B)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("text: [" + c.text + "]");
    std::string inPlace = c.text;
    trim(inPlace);
    EXPECT_EQ(inPlace, c.trimmed);
    EXPECT_EQ(trimmed(c.text), c.trimmed);
    std::string compact = c.text;
    removeSpaces(compact);
    EXPECT_EQ(compact, c.withoutSpaces);
  }
}

TEST(TextUtilStrip, PrefixAndSuffix) {
  struct Case {
    std::string text;
    std::string affix;
    bool prefixMatches;
    std::string afterPrefix;
    bool suffixMatches;
    std::string afterSuffix;
  };
  const Case cases[] = {
      {"input.txt", "input", true, ".txt", false, "input.txt"},
      {"inp", "input", false, "inp", false, "inp"},
      {"input", "input", true, "", true, ""},
      {"Input.txt", "input", false, "Input.txt", false, "Input.txt"},
      {"x.input", "input", false, "x.input", true, "x."},
      {"abc", "", true, "abc", true, "abc"},
      {"", "", true, "", true, ""},
      {"", ")", false, "", false, ""},
      {"join(A))", ")", false, "join(A))", true, "join(A)"},
      {"join(A)", "JOIN(", false, "join(A)", false, "join(A)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("text: [" + c.text + "] affix: [" + c.affix + "]");
    std::string prefixed = c.text;
    EXPECT_EQ(stripPrefix(prefixed, c.affix), c.prefixMatches);
    EXPECT_EQ(prefixed, c.afterPrefix);
    std::string suffixed = c.text;
    EXPECT_EQ(stripSuffix(suffixed, c.affix), c.suffixMatches);
    EXPECT_EQ(suffixed, c.afterSuffix);
  }
}

TEST(TextUtilLines, ReadLineAndEmptyLineTest) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\n\n", {"a", ""}},
      {"\n", {""}},
      {"a\nb", {"a", "b"}},
      {"a\r\nb\r", {"a\r", "b\r"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("text: [" + c.text + "]");
    std::istringstream in(c.text);
    std::vector<std::string> lines;
    std::string line = "stale";
    while (readLine(in, line)) lines.push_back(line);
    EXPECT_EQ(lines, c.lines);
    EXPECT_FALSE(readLine(in, line));
  }
  EXPECT_TRUE(isEmptyLine(""));
  EXPECT_TRUE(isEmptyLine("    "));
  EXPECT_FALSE(isEmptyLine(" \t "));
  EXPECT_FALSE(isEmptyLine("\r"));
}

}  // namespace
}  // namespace fdtools
