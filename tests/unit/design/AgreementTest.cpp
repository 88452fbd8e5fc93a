// fdtools and fdcheck read the same files: they must read them alike, and
// give the same preservation answers whenever every attribute lies in a
// table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checker/DependencyTester.h"
#include "design/Audit.h"
#include "design/InputFormat.h"
#include "tests/unit/CheckerInput.h"
#include "tests/unit/design/SmallSchema.h"

namespace fdtools::design {
namespace {

TEST(Agreement, PreservationMatchesFdcheckWhenEveryAttributeIsInATable) {
  testing::RandomSchemas random(9);
  int lost = 0;
  for (int round = 0; round < 3000; ++round) {
    testing::SmallSchema schema = random.next();
    testing::Mask covered = 0;
    for (const testing::Mask t : schema.tables) covered |= t;
    const testing::Mask all = (1u << schema.attributes) - 1;
    if ((all & ~covered) != 0) schema.tables.push_back(all & ~covered);
    const std::string text = testing::inputText(schema.tables, schema.fds);
    SCOPED_TRACE(text);

    DependencyTester tester;
    ASSERT_TRUE(loadCheckerInput(tester, text));

    ParsedInput input;
    ParseError error;
    ASSERT_TRUE(parseInput(text, input, error));
    const Schema parsed(input.tables, input.dependencies);
    ASSERT_EQ(parsed.attributeCount(), tester.attributeCount);
    Audit audit(parsed);
    const std::vector<DependencyPreservation> results = audit.preservation();
    ASSERT_EQ(results.size(), tester.dependencyIds.size());
    for (std::size_t i = 0; i < results.size(); ++i) {
      EXPECT_EQ(results[i].preserved,
                tester.isPreserved(tester.dependencyIds[i]))
          << "dependency " << i;
      lost += results[i].preserved ? 0 : 1;
    }
    if (::testing::Test::HasFailure()) return;
  }
  EXPECT_GT(lost, 300);
}

// Both tools split, trim and cut lines the same way; fdtools then merges
// repeated names.
TEST(Agreement, InputIsReadAsFdcheckReadsIt) {
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

}  // namespace
}  // namespace fdtools::design
