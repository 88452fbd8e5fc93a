#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/InputFormat.h"
#include "design/Schema.h"

namespace fdtools::design {
namespace {

TEST(AttributeSet, IterationAndComparisonAcrossWords) {
  const AttributeSet set = AttributeSet::of(200, {0, 63, 64, 127, 199});
  EXPECT_EQ(set.ids(), (std::vector<int>{0, 63, 64, 127, 199}));
  EXPECT_EQ(set.size(), 5);
  EXPECT_EQ(set.next(64), 127);
  EXPECT_EQ(set.next(199), -1);
  // Width does not matter to equality or subsets.
  const AttributeSet narrow = AttributeSet::of(1, {0});
  const AttributeSet wide = AttributeSet::of(300, {0});
  EXPECT_TRUE(narrow == wide);
  EXPECT_TRUE(wide.isSubsetOf(set));
  EXPECT_FALSE(set.isSubsetOf(wide));
  EXPECT_EQ((set - wide).first(), 63);
  EXPECT_TRUE(AttributeSet(500).empty());
  EXPECT_EQ(AttributeSet(500).first(), -1);
}

// Every operation against std::set, with operands of either form and of
// different widths.
TEST(AttributeSet, OperationsAgreeWithStdSetInEitherForm) {
  std::mt19937 random(11);
  const auto below = [&](int bound) {
    return std::uniform_int_distribution<>(0, bound - 1)(random);
  };
  using Reference = std::set<int>;
  const auto make = [&](int width, int count, Reference& reference) {
    AttributeSet set(width);
    for (int i = 0; i < count; ++i) {
      const int id = below(width);
      set.insert(id);
      reference.insert(id);
    }
    if (below(4) == 0 && !reference.empty()) {
      const int id = *reference.begin();
      set.erase(id);
      reference.erase(id);
    }
    return set;
  };
  const auto same = [](const AttributeSet& set, const Reference& reference) {
    return set.ids() == std::vector<int>(reference.begin(), reference.end()) &&
           set.size() == static_cast<int>(reference.size()) &&
           set.empty() == reference.empty();
  };
  for (int round = 0; round < 5000; ++round) {
    const int widthA = 1 + below(300);
    const int widthB = 1 + below(300);
    Reference ra;
    Reference rb;
    // Few ids make lists, many make bit sets.
    const AttributeSet a = make(widthA, below(2) ? below(4) : below(200), ra);
    const AttributeSet b = make(widthB, below(2) ? below(4) : below(200), rb);
    SCOPED_TRACE(round);
    ASSERT_TRUE(same(a, ra));
    Reference expected;
    std::set_union(ra.begin(), ra.end(), rb.begin(), rb.end(),
                   std::inserter(expected, expected.end()));
    ASSERT_TRUE(same(a | b, expected));
    expected.clear();
    std::set_intersection(ra.begin(), ra.end(), rb.begin(), rb.end(),
                          std::inserter(expected, expected.end()));
    ASSERT_TRUE(same(a & b, expected));
    ASSERT_EQ(a.intersects(b), !expected.empty());
    expected.clear();
    std::set_difference(ra.begin(), ra.end(), rb.begin(), rb.end(),
                        std::inserter(expected, expected.end()));
    ASSERT_TRUE(same(a - b, expected));
    ASSERT_EQ(a.isSubsetOf(b), expected.empty());
    ASSERT_EQ(a == b, ra == rb);
    const int probe = below(320);
    ASSERT_EQ(a.contains(probe), ra.count(probe) == 1);
    const auto after = ra.upper_bound(probe);
    ASSERT_EQ(a.next(probe), after == ra.end() ? -1 : *after);
  }
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
