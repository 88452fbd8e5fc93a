#include "design/Schema.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/InputParser.h"

namespace fdtools::design {
namespace {

TEST(AttributeSet, IterationAndComparisonAcrossWords) {
  const AttributeSet set = AttributeSet::of(200, {0, 63, 64, 127, 199});
  EXPECT_EQ(set.ids(), (std::vector<int>{0, 63, 64, 127, 199}));
  EXPECT_EQ(set.size(), 5);
  EXPECT_EQ(set.next(64), 127);
  EXPECT_EQ(set.next(199), -1);
  // Width does not matter to equality, subsets or the hash.
  const AttributeSet narrow = AttributeSet::of(1, {0});
  const AttributeSet wide = AttributeSet::of(300, {0});
  EXPECT_TRUE(narrow == wide);
  EXPECT_EQ(narrow.hash(), wide.hash());
  EXPECT_TRUE(wide.isSubsetOf(set));
  EXPECT_FALSE(set.isSubsetOf(wide));
  EXPECT_EQ((set - wide).first(), 63);
  EXPECT_TRUE(AttributeSet(500).empty());
  EXPECT_EQ(AttributeSet(500).first(), -1);
}

TEST(AttributeSet, ListOrderIsBySizeThenElementwise) {
  struct Case {
    std::vector<int> a;
    std::vector<int> b;
    bool aFirst;
  };
  const Case cases[] = {
      {{5}, {0, 1}, true},       {{0, 2}, {1}, false},
      {{0, 2}, {1, 2}, true},    {{0, 3}, {0, 2}, false},
      {{0, 70}, {0, 70}, false}, {{}, {0}, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AttributeSet::listOrder(AttributeSet::of(100, c.a),
                                      AttributeSet::of(100, c.b)),
              c.aFirst);
  }
}

TEST(Schema, NamesAreInternedInUnsignedByteOrderAndMerged) {
  ParsedInput input;
  ParseError error;
  ASSERT_TRUE(parseInput("b,a,b\n\xE9,A\n\na,a->Z,\xE9\n", input, error));
  const Schema schema(input.tables, input.dependencies);
  EXPECT_EQ(schema.names(),
            (std::vector<std::string>{"A", "Z", "a", "b", "\xE9"}));
  ASSERT_EQ(schema.tables().size(), 2u);
  EXPECT_EQ(schema.tables()[0].ids(), (std::vector<int>{2, 3}));
  EXPECT_EQ(schema.dependencies()[0].left.ids(), (std::vector<int>{2}));
  EXPECT_EQ(schema.dependencies()[0].right.ids(), (std::vector<int>{1, 4}));
  EXPECT_EQ(schema.uncoveredAttributes().ids(), (std::vector<int>{1}));
  EXPECT_TRUE(schema.tablesGiven());
  EXPECT_EQ(schema.idOf("Z"), 1);
  EXPECT_EQ(schema.idOf("z"), -1);
}

TEST(Schema, WithoutTablesOneTableHoldsEverything) {
  const Schema schema({}, {{{"B"}, {"A"}}});
  EXPECT_FALSE(schema.tablesGiven());
  ASSERT_EQ(schema.tables().size(), 1u);
  EXPECT_EQ(schema.tables()[0].ids(), (std::vector<int>{0, 1}));
  EXPECT_TRUE(schema.uncoveredAttributes().empty());
}

}  // namespace
}  // namespace fdtools::design
