// Chase against its definition, by brute force on random schemas of up
// to 8 attributes, with attribute sets in every form.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "tests/support/Oracle.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

class ChaseProperties : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(ChaseProperties);

TEST_P(ChaseProperties, ChaseOfTwoTablesMatchesTheIntersectionTest) {
  RandomSchemas random(6);
  int lossless = 0;
  for (int round = 0; round < kRounds; ++round) {
    SmallSchema schema = random.next();
    const int n = schema.attributes;
    // Two tables that cover every attribute: lossless exactly when their
    // intersection determines one of them.
    const Mask first = random.subset(n, 1, n);
    const Mask second = (allOf(n) & ~first) | random.subset(n, 0, 2);
    const ChaseResult result = chase(n, {toSet(n, first), toSet(n, second)},
                                     toDependencies(n, schema.fds));
    const Mask common = closureOf(first & second, schema.fds);
    SCOPED_TRACE(describe(schema) + "; tables " + std::to_string(first) + ", " +
                 std::to_string(second));
    EXPECT_EQ(result.lossless, inside(first, common) || inside(second, common));
    lossless += result.lossless ? 1 : 0;
  }
  EXPECT_GT(lossless, kRounds / 10);
  EXPECT_LT(lossless, kRounds * 9 / 10);
}

TEST_P(ChaseProperties, ChaseEndsInATableauThatSatisfiesEveryDependency) {
  RandomSchemas random(7);
  int quickYes = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    std::vector<AttributeSet> tables;
    for (const Mask t : schema.tables) tables.push_back(toSet(n, t));
    const ChaseResult result = chase(n, tables, toDependencies(n, schema.fds));
    SCOPED_TRACE(describe(schema));
    bool anyDistinguished = false;
    for (std::size_t r = 0; r < result.tableau.size(); ++r) {
      bool all = true;
      for (int a = 0; a < n; ++a) {
        const int symbol = result.tableau[r][a];
        // A table's own columns stay distinguished; other symbols come
        // from a row at or before this one.
        if (schema.tables[r] >> a & 1) {
          ASSERT_EQ(symbol, 0);
        }
        ASSERT_LE(symbol, static_cast<int>(r) + 1);
        all = all && symbol == 0;
      }
      anyDistinguished |= all;
      for (std::size_t s = 0; s < result.tableau.size(); ++s) {
        for (const MaskFd& fd : schema.fds) {
          bool agree = true;
          for (int a = 0; a < n; ++a) {
            if (fd.left >> a & 1) {
              agree &= result.tableau[r][a] == result.tableau[s][a];
            }
          }
          if (!agree) continue;
          for (int a = 0; a < n; ++a) {
            if (fd.right >> a & 1) {
              ASSERT_EQ(result.tableau[r][a], result.tableau[s][a])
                  << "rows " << r << " and " << s << ", attribute " << a;
            }
          }
        }
      }
    }
    EXPECT_EQ(result.lossless, anyDistinguished);
    // The quick test is sound: it never says lossless when the chase
    // does not.
    const bool quick =
        losslessThroughTables(n, tables, toDependencies(n, schema.fds));
    EXPECT_TRUE(!quick || result.lossless);
    quickYes += quick ? 1 : 0;
  }
  EXPECT_GT(quickYes, kRounds / 10);
}

}  // namespace
}  // namespace fdtools::design
