// The BCNF evidence found without projecting, and the decomposition built
// on it, against the definitions by brute force on random small schemas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/BcnfTest.h"
#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/Synthesis.h"
#include "tests/support/Oracle.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

bool bruteBcnf(Mask table, const std::vector<MaskFd>& fds) {
  return bruteForm(table, bruteProjection(table, fds)) == "BCNF";
}

TEST(BcnfTester, EveryVerdictHoldsByTheDefinitions) {
  RandomSchemas random(31);
  int verdicts[4] = {0, 0, 0, 0};
  for (int round = 0; round < kPropertyRounds; ++round) {
    const SmallSchema schema = random.next(7);
    const int n = schema.attributes;
    const std::vector<Dependency> cover =
        minimalCover(n, toDependencies(n, schema.fds));
    ClosureIndex index(n, cover);
    BcnfTester tester(n, cover, index);
    for (const Mask table : schema.tables) {
      SCOPED_TRACE(describe(schema) + "; table " + std::to_string(table));
      WorkBudget unlimited{std::uint64_t{1} << 40};
      const BcnfEvidence evidence = tester.test(toSet(n, table), unlimited);
      ++verdicts[static_cast<int>(evidence.verdict)];
      switch (evidence.verdict) {
        case BcnfEvidence::Verdict::kViolated: {
          const Mask left = toMask(evidence.violation.left);
          const Mask reached = closureOf(left, schema.fds);
          ASSERT_TRUE(inside(left, table));
          ASSERT_FALSE(inside(table, reached)) << "the left side is a superkey";
          ASSERT_EQ(toMask(evidence.violation.right), reached & table & ~left);
          ASSERT_NE(toMask(evidence.violation.right), 0u);
          ASSERT_FALSE(bruteBcnf(table, schema.fds));
          break;
        }
        case BcnfEvidence::Verdict::kInBcnf:
          ASSERT_TRUE(bruteBcnf(table, schema.fds));
          break;
        case BcnfEvidence::Verdict::kUnknown: {
          // A pair fires on a superkey: A follows from a least part D of
          // T - {A, B}, and D determines all of T.
          const Mask d = toMask(evidence.determinant);
          const Mask a = Mask{1} << evidence.determined;
          const Mask b = Mask{1} << evidence.other;
          ASSERT_TRUE(inside(d | a | b, table));
          ASSERT_EQ(d & (a | b), 0u);
          ASSERT_NE(a, b);
          ASSERT_TRUE(inside(table, closureOf(d, schema.fds)));
          for (int c = 0; c < n; ++c) {
            if (d >> c & 1) {
              ASSERT_FALSE(
                  inside(a, closureOf(d & ~(Mask{1} << c), schema.fds)))
                  << "the part giving A is not least";
            }
          }
          break;
        }
        case BcnfEvidence::Verdict::kOverBudget:
          FAIL() << "no budget was set";
      }
    }
  }
  // Each verdict that can come is reached.
  EXPECT_GT(verdicts[0], 100);
  EXPECT_GT(verdicts[1], 100);
  EXPECT_GT(verdicts[2], 20);
}

// With no table projected, every table comes from the pair test: still
// lossless, in BCNF and covering every attribute.
TEST(BcnfTester, DecompositionByPairsIsLosslessAndInBcnf) {
  RandomSchemas random(32);
  int byPairs = 0;
  int steps = 0;
  for (int round = 0; round < kPropertyRounds; ++round) {
    const SmallSchema schema = random.next(7);
    const int n = schema.attributes;
    SynthesisSteps made;
    const Decomposition result =
        decomposeBcnf(n, toDependencies(n, schema.fds), &made, 0);
    SCOPED_TRACE(describe(schema));
    ASSERT_FALSE(result.undecided);
    Mask covered = 0;
    for (const AttributeSet& t : result.tables) {
      covered |= toMask(t);
      ASSERT_TRUE(bruteBcnf(toMask(t), schema.fds)) << "table " << toMask(t);
    }
    ASSERT_EQ(covered, allOf(n));
    ASSERT_TRUE(isLossless(n, result.tables, schema.fds));
    for (const SynthesisSteps::Split& split : made.splits) {
      if (!split.violation) continue;
      ++steps;
      const Mask table = toMask(split.table);
      const Mask left = toMask(split.violation->left);
      const Mask reached = closureOf(left, schema.fds);
      ASSERT_TRUE(inside(toMask(split.violation->right), reached));
      // A split on a violation says so; one by pairs need not.
      if (split.byPairs) {
        ++byPairs;
        ASSERT_TRUE(
            bruteBcnf(toMask(made.splits[split.first].table), schema.fds));
      } else {
        ASSERT_FALSE(inside(table, reached)) << "no violation: " << table;
      }
    }
  }
  EXPECT_GT(steps, kPropertyRounds / 2);
  EXPECT_GT(byPairs, 10);
}

}  // namespace
}  // namespace fdtools::design
