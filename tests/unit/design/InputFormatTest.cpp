#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "checker/DependencyTester.h"
#include "design/InputFormat.h"
#include "frame/TextUtil.h"

namespace fdtools::design {
namespace {

std::vector<std::string> asSet(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

// The names a table line holds, read as the checker reads one: through a
// whole input, so that trimming and CR LF are applied too.
std::vector<std::string> readTableLine(const std::string& line) {
  ParsedInput input;
  ParseError error;
  EXPECT_TRUE(parseInput(line + "\n\n", input, error));
  if (input.tables.size() != 1)
    return {"<" + std::to_string(input.tables.size()) + " tables>"};
  return asSet(input.tables[0]);
}

struct LineCase {
  std::vector<std::string> names;
  // The line written, or "" when none can be.
  std::string line;
};

TEST(InputFormat, TableLinesReadBackAsTheirNames) {
  const std::vector<LineCase> cases = {
      {{"A", "B"}, "A,B"},
      // A leading or trailing space cannot stand at the line's ends.
      {{" Dept", " Name", "Student"}, "Student, Dept, Name"},
      {{"a ", "b"}, "a ,b"},
      {{" a ", "b"}, "b, a ,b"},
      {{" a"}, ""},
      // The empty name: a comma of its own.
      {{""}, ","},
      {{"", "A"}, ",A"},
      // A quote left open must come last; two cannot both.
      {{"'x", "a"}, "a,'x"},
      {{"'x", "'y"}, ""},
      {{"'p,q'", "z"}, "'p,q',z"},
      // Backslash pairs collapse, so they are written doubled; a lone one
      // before a quote may escape it, which keeps the quote shut.
      {{"x\\y"}, "x\\\\y"},
      {{"x\\\\y"}, "x\\\\\\\\y"},
      {{"\\'a", "b"}, "\\'a,b"},
      {{"a->b", "c"}, "a->b,c"},
      // CR LF reads as LF: a name ending in CR cannot end the line.
      {{"x\r", "y"}, "x\r,y"},
      {{"x\r"}, ""},
      {{"a\xff"}, ""},
      {{"a\nb"}, ""},
      {{"a\x1a"}, ""},
      {{"a,b"}, ""},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.names));
    const WrittenLine written = writeTableLine(c.names);
    if (c.line.empty()) {
      EXPECT_FALSE(written.line);
      EXPECT_FALSE(written.problem.empty());
      continue;
    }
    ASSERT_TRUE(written.line) << written.problem;
    EXPECT_EQ(*written.line, c.line);
    EXPECT_EQ(readTableLine(*written.line), asSet(c.names));
  }
}

// Names made of the bytes that the reader treats specially.
std::string randomName(std::mt19937& random) {
  static const std::string alphabet = std::string("ab '\\,\r\xe9->", 10);
  std::uniform_int_distribution<int> length(0, 4);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::string name;
  for (int n = length(random); n > 0; --n) name += alphabet[pick(random)];
  return name;
}

TEST(InputFormat, WrittenLinesReadBackOrAreRefused) {
  std::mt19937 random(7);
  int tables = 0;
  int dependencies = 0;
  const int rounds = 20000;
  for (int round = 0; round < rounds; ++round) {
    std::vector<std::string> left;
    std::vector<std::string> right;
    for (int i = random() % 4; i >= 0; --i) left.push_back(randomName(random));
    for (int i = random() % 3; i >= 0; --i) right.push_back(randomName(random));
    SCOPED_TRACE(::testing::PrintToString(left) + " -> " +
                 ::testing::PrintToString(right));
    const WrittenLine table = writeTableLine(left);
    if (table.line) {
      ++tables;
      ASSERT_EQ(readTableLine(*table.line), asSet(left)) << *table.line;
    }
    const WrittenLine line = writeDependencyLine(left, right);
    if (line.line) {
      ++dependencies;
      ParsedInput input;
      ParseError error;
      ASSERT_TRUE(parseInput("A\n\n" + *line.line + "\n", input, error));
      ASSERT_EQ(input.dependencies.size(), 1u) << *line.line;
      EXPECT_EQ(asSet(input.dependencies[0].left), asSet(left)) << *line.line;
      EXPECT_EQ(asSet(input.dependencies[0].right), asSet(right)) << *line.line;
    }
  }
  // Most random lists can be written: the refusals are the rare names
  // that no order saves.
  EXPECT_GT(tables, rounds / 3);
  EXPECT_GT(dependencies, rounds / 4);
}

TEST(InputFormat, WholeInputKeepsTablesAndDependencyLines) {
  ParsedInput input;
  ParseError error;
  ASSERT_TRUE(parseInput("Student, Name, Dept\n\nStudent-> Name, Dept\n", input,
                         error));
  const Schema schema(input.tables, input.dependencies);
  const WrittenInput written =
      writeInput(schema, schema.tables(), input.dependencyLines);
  ASSERT_EQ(written.problem, "");
  EXPECT_EQ(written.text, "Student, Dept, Name\n\nStudent-> Name, Dept\n");
  ParsedInput again;
  ASSERT_TRUE(parseInput(written.text, again, error));
  EXPECT_EQ(Schema(again.tables, again.dependencies).names(), schema.names());

  const Schema quotes({{"'a", "'b"}}, {});
  EXPECT_EQ(writeInput(quotes, quotes.tables(), {}).problem,
            "table 0: the names ''a' and ''b' both leave a quote open");
}

TEST(InputFormat, DependencyLinesKeepTheirSides) {
  struct Case {
    std::string line;
    std::vector<std::string> left;
    std::vector<std::string> right;
    bool multivalued = false;
  };
  const std::vector<Case> cases = {
      {"A,B->C", {"A", "B"}, {"C"}},
      {"A->>B,C", {"A"}, {"B", "C"}, true},
      {"A->>>B", {"A"}, {">B"}, true},
      // Only an arrow's own ">" makes it multivalued.
      {"A->B,>C", {"A"}, {"B", ">C"}},
      {"->C", {}, {"C"}},
      {"A->", {"A"}, {}},
      // Only the first arrow cuts.
      {"A->B->C", {"A"}, {"B->C"}},
      // The right side's quote holds its arrow and comma.
      {"'x->y',w'->z", {"'x"}, {"y',w'->z"}},
  };
  for (const Case& c : cases) {
    NamedDependency dependency;
    ASSERT_TRUE(splitDependency(c.line, dependency)) << c.line;
    EXPECT_EQ(dependency.left, c.left) << c.line;
    EXPECT_EQ(dependency.right, c.right) << c.line;
    EXPECT_EQ(dependency.multivalued, c.multivalued) << c.line;
    const WrittenLine written =
        writeDependencyLine(c.left, c.right, c.multivalued);
    if (c.left.empty() || c.right.empty()) continue;
    ASSERT_TRUE(written.line) << c.line << ": " << written.problem << "\n";
    NamedDependency again;
    ASSERT_TRUE(splitDependency(*written.line, again));
    EXPECT_EQ(again.multivalued, c.multivalued) << *written.line;
  }
  // An FD whose right side starts with ">" would read back as an MVD.
  EXPECT_FALSE(writeDependencyLine({"A"}, {">B"}).line);
  NamedDependency untouched{{"keep"}, {}};
  EXPECT_FALSE(splitDependency("A-B", untouched));
  EXPECT_EQ(untouched.left, std::vector<std::string>{"keep"});
  // A left side cannot hold "->": the first arrow would cut it.
  EXPECT_FALSE(writeDependencyLine({"a->b"}, {"c"}).line);
}

// Both tools split, trim and cut lines the same way; fdtools then merges
// repeated names.
TEST(InputFormat, ReadsAsFdcheckReads) {
  const std::string text =
      "  A, B ,'x,y'  \n\xFF\xE9,A\n   \nA , B->C->D\n->\nno arrow here\n";
  DependencyTester tester;
  tester.inputText << text;
  ASSERT_TRUE(tester.parseSection(DependencyTester::kTableSection));
  ParsedInput input;
  ParseError error;
  EXPECT_FALSE(parseInput(text, input, error));
  EXPECT_EQ(input.tables, tester.tables);
  EXPECT_EQ(error.lineNumber, 6);
  EXPECT_EQ(error.line, "no arrow here");
  ASSERT_EQ(input.dependencies.size(), 2u);
  EXPECT_EQ(input.dependencies[0].left, (std::vector<std::string>{"A ", " B"}));
  EXPECT_EQ(input.dependencies[0].right, (std::vector<std::string>{"C->D"}));
  EXPECT_TRUE(input.dependencies[1].left.empty());
}

using Kind = ReadingWarning::Kind;

std::vector<std::pair<Kind, int>> warningsOf(const std::string& text) {
  ParsedInput input;
  ParseError error;
  EXPECT_TRUE(parseInput(text, input, error)) << text;
  const Schema schema(input.tables, input.dependencies);
  std::vector<std::pair<Kind, int>> found;
  for (const ReadingWarning& w : readingWarnings(input, schema)) {
    found.emplace_back(w.kind, w.kind == Kind::kMore ? w.count : w.lineNumber);
  }
  return found;
}

TEST(InputFormat, WarnsOfLikelyMisreadings) {
  struct Case {
    std::string text;
    std::vector<std::pair<Kind, int>> warnings;
  };
  const std::vector<Case> cases = {
      {"A,B\nB,C\n\nA->B\n", {}},
      // Every line a table: said once, at the first arrow.
      {"A,B\nA->B\nB->C\n", {{Kind::kNoEmptyLine, 2}}},
      {"A->B\n\nB->C\n", {{Kind::kArrowInTable, 1}}},
      {"R(A,B)\n\n{A}->{B}\n",
       {{Kind::kNameWithMark, 1}, {Kind::kNameWithMark, 3}}},
      {"A=B\n\nA\xe2\x86\x92"
       "B->C\n",
       {{Kind::kNameWithMark, 1}, {Kind::kNameWithMark, 3}}},
      // On the right side "->" is inside a name: a second dependency on
      // the same line.
      {"\nA->B->C\n", {{Kind::kNameWithMark, 2}}},
      {"A, B\n\nA ->B\n",
       {{Kind::kNameWithSpace, 1}, {Kind::kNameWithSpace, 3}}},
      {"A,B\n\nA->B\n\nB->A\nno arrow\n", {{Kind::kIgnoredLine, 5}}},
      {"A,B,C\nA,B\n\nA->B\n", {{Kind::kTableIsTheRelation, 1}}},
      // One table of everything is the relation, and no warning.
      {"A,B,C\n\nA->B\n", {}},
      {"\na ->b\nb ->c\nc ->d\nd ->e\ne ->f\nf ->g\ng ->h\n",
       {{Kind::kNameWithSpace, 2},
        {Kind::kNameWithSpace, 3},
        {Kind::kNameWithSpace, 4},
        {Kind::kNameWithSpace, 5},
        {Kind::kNameWithSpace, 6},
        {Kind::kMore, 2}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(warningsOf(c.text), c.warnings) << c.text;
  }
}

TEST(InputFormat, TextThatIsNoInput) {
  EXPECT_EQ(notTextReason("A,B\r\n\n\tA->B\n"), "");
  EXPECT_EQ(notTextReason(""), "");
  EXPECT_NE(notTextReason(std::string("A\0,\0B\0", 6)), "");
  EXPECT_NE(notTextReason("\x01\x02\x03"
                          "A"),
            "");
  EXPECT_EQ(notTextReason("\x01"
                          "AB"),
            "");
}

}  // namespace
}  // namespace fdtools::design
