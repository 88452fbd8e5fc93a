// NormalForm against its definition, by brute force on random schemas of up
// to 8 attributes, with attribute sets in every form.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/Keys.h"
#include "design/NormalForm.h"
#include "design/Projection.h"
#include "tests/support/Oracle.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

class NormalFormProperties : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(NormalFormProperties);

// The form, and that every listed violation holds, really breaks the forms
// it names, and that each form failed has one.
void checkForm(Mask universe, const std::vector<MaskFd>& holding,
               const NormalFormResult& result, const std::string& context) {
  SCOPED_TRACE(context);
  ASSERT_FALSE(result.undecided);
  EXPECT_EQ(formName(result.form), bruteForm(universe, holding));
  const std::vector<Mask> keys = bruteKeys(universe, holding);
  Mask prime = 0;
  for (const Mask k : keys) prime |= k;
  bool named[3] = {false, false, false};
  for (const Violation& violation : result.violations) {
    const Mask left = toMask(violation.dependency.left);
    const Mask right = toMask(violation.dependency.right);
    ASSERT_TRUE(inside(left | right, universe));
    ASSERT_TRUE(inside(right, closureOf(left, holding))) << "does not hold";
    ASSERT_FALSE(inside(right, left)) << "trivial";
    const bool superkey = inside(universe, closureOf(left, holding));
    bool partial = false;
    for (const Mask k : keys) partial |= inside(left, k) && left != k;
    for (const NormalFormName broken : violation.violates) {
      const std::string form = formName(broken);
      if (form == "BCNF") {
        EXPECT_FALSE(superkey);
        named[0] = true;
      } else if (form == "3NF") {
        EXPECT_FALSE(superkey || inside(right, prime));
        named[1] = true;
      } else {
        EXPECT_EQ(form, "2NF");
        EXPECT_TRUE(partial && !inside(right, prime));
        named[2] = true;
      }
    }
  }
  const std::string form = formName(result.form);
  EXPECT_EQ(named[0], form != "BCNF");
  EXPECT_EQ(named[1], form == "2NF" || form == "1NF");
  EXPECT_EQ(named[2], form == "1NF");
}

TEST_P(NormalFormProperties, NormalFormsFollowTheDefinitions) {
  RandomSchemas random(5);
  int forms[4] = {0, 0, 0, 0};
  // 3NF and 2NF schemas are rare among random ones: twice the rounds.
  for (int round = 0; round < 2 * kRounds; ++round) {
    const SmallSchema schema = random.next(6);
    const int n = schema.attributes;
    const std::vector<Dependency> cover =
        minimalCover(n, toDependencies(n, schema.fds));
    const NormalFormResult whole =
        analyzeRelation(n, toSet(n, allOf(n)), cover, 1000);
    checkForm(allOf(n), schema.fds, whole, describe(schema));
    const std::string names[] = {"BCNF", "3NF", "2NF", "1NF"};
    for (int f = 0; f < 4; ++f)
      forms[f] += formName(whole.form) == names[f] ? 1 : 0;
    ClosureIndex index(n, cover);
    for (const Mask table : schema.tables) {
      const Projection projection =
          projectOnto(toSet(n, table), n, cover, index);
      const NormalFormResult result =
          analyzeRelation(n, toSet(n, table), projection.cover, 1000);
      checkForm(table, bruteProjection(table, schema.fds), result,
                describe(schema) + "; table " + std::to_string(table));
    }
    if (::testing::Test::HasFailure()) return;
  }
  // Every form must turn up often enough for the comparison to mean much.
  for (const int count : forms) EXPECT_GT(count, 50);
}

// With the key enumeration cut after its first key, primality is settled
// attribute by attribute: what it calls prime or not must be so, and the
// forms it decides must be the definitions' own.
TEST_P(NormalFormProperties, FormsWithoutEveryKeyFollowTheDefinitions) {
  RandomSchemas random(11);
  int incomplete = 0;
  int decided = 0;
  int settled = 0;
  int middle = 0;
  for (int round = 0; round < 4 * kRounds; ++round) {
    const SmallSchema schema = random.next(7);
    const int n = schema.attributes;
    const std::vector<Dependency> cover =
        minimalCover(n, toDependencies(n, schema.fds));
    const AttributeSet all = toSet(n, allOf(n));
    const KeySet first = findKeys(n, all, cover, 1);
    if (first.complete) continue;
    ++incomplete;
    SCOPED_TRACE(describe(schema));
    Mask prime = 0;
    for (const Mask k : bruteKeys(allOf(n), schema.fds)) prime |= k;
    ClosureIndex index(n, cover);
    const Primality primality =
        primalityOf(index, cover, all, first, kPrimalityWorkBudget);
    ASSERT_EQ(toMask(primality.prime) & ~prime, 0u) << "called prime";
    ASSERT_EQ(toMask(primality.nonPrime) & prime, 0u) << "called non-prime";
    const AttributeSet open = all - first.inEveryKey - first.inNoKey;
    middle += open.size();
    settled += (open & (primality.prime | primality.nonPrime)).size();
    const NormalFormResult result = analyzeRelation(n, all, cover, 1, &first);
    if (result.undecided) continue;
    ++decided;
    checkForm(allOf(n), schema.fds, result, "one key listed");
    for (const Violation& violation : result.violations) {
      if (!violation.reason.partOfKey) continue;
      const Mask key = toMask(*violation.reason.partOfKey);
      const std::vector<Mask> keys = bruteKeys(allOf(n), schema.fds);
      EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end());
    }
    if (::testing::Test::HasFailure()) return;
  }
  // Most of the attributes the key enumeration leaves open get settled,
  // and most forms decided.
  EXPECT_GT(incomplete, kRounds / 4);
  EXPECT_GT(settled, middle * 9 / 10);
  EXPECT_GT(decided, incomplete * 9 / 10);
}

}  // namespace
}  // namespace fdtools::design
