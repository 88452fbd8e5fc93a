// Normal forms and the chase under FDs and MVDs, against the definitions:
// the oracle's chase decides every FD and MVD of D+, and the restriction
// to a table is taken as defined, X ->> (Y & T) for every Y of R.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "design/Chase.h"
#include "design/FourthNormalForm.h"
#include "design/Synthesis.h"
#include "tests/support/MixedOracle.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

using oracle::MixedSchema;
using Definitions = oracle::MixedDefinitions;

// Up to 6 attributes and 5 dependencies, a third of them FDs.
MixedSchema randomMixed(RandomSchemas& random) {
  return design::randomMixed(random, 6, 5, 3);
}

std::string describe(const MixedSchema& schema, Mask table) {
  return "table " + std::to_string(table) + "; " + design::describe(schema);
}

class FourthNormalFormProperties : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(FourthNormalFormProperties);

TEST_P(FourthNormalFormProperties, FormsKeysAndViolationsFollowTheDefinitions) {
  RandomSchemas random(40);
  std::set<std::string> forms;
  int multivaluedViolations = 0;
  for (int round = 0; round < 400; ++round) {
    const MixedSchema schema = randomMixed(random);
    const int n = schema.attributes;
    const Definitions definitions(schema);
    const MixedImplication implication = implicationOf(schema);
    for (const Mask table : {allOf(n), random.subset(n, 1, n),
                             random.subset(n, std::min(2, n), n)}) {
      SCOPED_TRACE(describe(schema, table));
      WorkBudget budget{kMultivaluedWorkBudget};
      const NormalFormResult result =
          analyzeWithMultivalued(toSet(n, table), implication, 100, budget);
      ASSERT_FALSE(result.undecided);
      const std::string form = definitions.form(table);
      EXPECT_EQ(formName(result.form), form);
      forms.insert(form);
      std::vector<Mask> keys;
      for (const AttributeSet& key : result.keys.keys) {
        keys.push_back(toMask(key));
      }
      std::vector<Mask> expectedKeys =
          bruteKeys(table, definitions.fdsIn(table));
      std::sort(keys.begin(), keys.end());
      std::sort(expectedKeys.begin(), expectedKeys.end());
      EXPECT_EQ(keys, expectedKeys);
      bool breaks4nf = false;
      for (const Violation& violation : result.violations) {
        const Mask left = toMask(violation.dependency.left);
        const Mask right = toMask(violation.dependency.right);
        EXPECT_TRUE(inside(left | right, table));
        EXPECT_FALSE(definitions.superkeyOf(table, left));
        if (violation.multivalued) {
          ++multivaluedViolations;
          EXPECT_TRUE(definitions.multivaluedIn(table, left, right));
          EXPECT_NE(right & ~left, 0u);
          EXPECT_NE((left | right), table);
        } else {
          EXPECT_TRUE(inside(right, definitions.closure(left)));
        }
        breaks4nf = breaks4nf || violation.breaks(NormalFormName::k4nf);
      }
      EXPECT_EQ(breaks4nf, form != "4NF");
      const FourNfSplit split =
          first4nfViolation(toSet(n, table), implication, budget);
      ASSERT_FALSE(split.undecided);
      EXPECT_EQ(split.violation.has_value(), form != "4NF");
      if (split.violation) {
        const Mask left = toMask(split.violation->left);
        const Mask right = toMask(split.violation->right);
        EXPECT_FALSE(definitions.superkeyOf(table, left));
        EXPECT_TRUE(definitions.multivaluedIn(table, left, right));
        EXPECT_NE(right & ~left, 0u);
        EXPECT_NE(left | right, table);
      }
    }
  }
  // Every form is met, and MVDs break 4NF on their own.
  EXPECT_EQ(forms.size(), 5u);
  EXPECT_GT(multivaluedViolations, 50);
}

TEST_P(FourthNormalFormProperties, ChaseWithMvdsMatchesTheDefinition) {
  RandomSchemas random(41);
  int lossless = 0;
  int merged = 0;
  for (int round = 0; round < 1000; ++round) {
    const MixedSchema schema = randomMixed(random);
    const int n = schema.attributes;
    std::vector<Mask> tables;
    Mask covered = 0;
    for (int t = random.between(1, 3); t > 0; --t) {
      tables.push_back(random.subset(n, 1, n));
      covered |= tables.back();
    }
    tables.push_back(random.subset(n, 0, 2) | (allOf(n) & ~covered));
    std::vector<AttributeSet> sets;
    for (const Mask t : tables) sets.push_back(toSet(n, t));
    SCOPED_TRACE(describe(schema, 0));
    const ChaseResult result = chaseWithMultivalued(
        n, sets, toDependencies(n, schema.fds), toDependencies(n, schema.mvds));
    ASSERT_FALSE(result.undecided);
    const bool expected = oracle::mixedLossless(tables, schema);
    EXPECT_EQ(result.lossless, expected);
    lossless += result.lossless ? 1 : 0;
    // Sufficient: never lossless where the definition says lossy.
    if (losslessThroughMerges(sets, implicationOf(schema))) {
      ++merged;
      EXPECT_TRUE(expected);
    }
  }
  EXPECT_GT(lossless, 100);
  EXPECT_LT(lossless, 900);
  EXPECT_GT(merged, lossless / 2);
}

TEST_P(FourthNormalFormProperties, DecompositionInto4nfIsLosslessAndIn4nf) {
  RandomSchemas random(42);
  int split = 0;
  for (int round = 0; round < 400; ++round) {
    const MixedSchema schema = randomMixed(random);
    const int n = schema.attributes;
    const Definitions definitions(schema);
    const MixedImplication implication = implicationOf(schema);
    SCOPED_TRACE(describe(schema, allOf(n)));
    const Decomposition result = decompose4nf(implication);
    ASSERT_FALSE(result.undecided);
    std::vector<Mask> tables;
    Mask covered = 0;
    for (const AttributeSet& table : result.tables) {
      tables.push_back(toMask(table));
      covered |= tables.back();
      EXPECT_TRUE(definitions.in4nf(tables.back())) << tables.back();
    }
    EXPECT_EQ(covered, allOf(n));
    // The oracle's naive chase grows as rows to the power of tables: beyond
    // three, the pairwise joins (whose every step is a lossless binary
    // join, checked by the definition) decide.
    if (tables.size() <= 3) {
      EXPECT_TRUE(oracle::mixedLossless(tables, schema));
    } else {
      EXPECT_TRUE(losslessThroughMerges(result.tables, implication));
    }
    split += tables.size() > 1 ? 1 : 0;
  }
  EXPECT_GT(split, 100);
}

TEST(FourthNormalForm, StopsWhereItCannotBeExact) {
  const int n = kMaxMultivaluedTableAttributes + 1;
  const MixedImplication implication(n, {}, {{toSet(n, 1), toSet(n, 2)}});
  WorkBudget budget{kMultivaluedWorkBudget};
  EXPECT_TRUE(
      analyzeWithMultivalued(AttributeSet::all(n), implication, 10, budget)
          .undecided);
  EXPECT_TRUE(
      first4nfViolation(AttributeSet::all(n), implication, budget).undecided);
  // Within the size limit, but not within what is left of the budget.
  const AttributeSet table = AttributeSet::of(n, {0, 1, 2, 3, 4, 5});
  budget.left = 10 * implication.basisCost();
  const NormalFormResult spent =
      analyzeWithMultivalued(table, implication, 10, budget);
  ASSERT_TRUE(spent.undecided);
  EXPECT_NE(spent.undecided->reason.find("work budget"), std::string::npos);
  EXPECT_TRUE(first4nfViolation(table, implication, budget).undecided);
  budget.left = 64 * implication.basisCost();
  EXPECT_FALSE(
      analyzeWithMultivalued(table, implication, 10, budget).undecided);
  // Two rows that share nothing, each MVD pairing them anew: the rows grow
  // past the limit.
  std::vector<AttributeSet> tables;
  std::vector<Dependency> mvds;
  const int m = 12;
  for (int a = 0; a < m; ++a) {
    tables.push_back(AttributeSet::of(m, {a}));
    mvds.push_back({AttributeSet(m), AttributeSet::of(m, {a})});
  }
  const ChaseResult chased = chaseWithMultivalued(m, tables, {}, mvds, 50);
  EXPECT_TRUE(chased.undecided);
  EXPECT_FALSE(chased.lossless);
}

}  // namespace
}  // namespace fdtools::design
