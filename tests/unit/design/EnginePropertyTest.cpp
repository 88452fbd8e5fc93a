// Each algorithm of the design engine against its definition, tried by
// brute force on a few thousand random schemas of up to 8 attributes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/Keys.h"
#include "design/NormalForm.h"
#include "design/Preservation.h"
#include "design/Projection.h"
#include "tests/unit/design/SmallSchema.h"

namespace fdtools::design {
namespace {

using testing::bruteForm;
using testing::bruteKeys;
using testing::bruteProjection;
using testing::closureOf;
using testing::inside;
using testing::Mask;
using testing::MaskFd;
using testing::RandomSchemas;
using testing::SmallSchema;
using testing::toDependencies;
using testing::toMask;
using testing::toMasks;
using testing::toSet;

constexpr int kRounds = 3000;

// Every property holds whichever form the attribute sets take: the small
// schemas here would otherwise only ever meet one of them.
class DesignProperties : public ::testing::TestWithParam<AttributeSet::Form> {
 protected:
  void SetUp() override { previous = AttributeSet::chooseForm(GetParam()); }
  void TearDown() override { AttributeSet::chooseForm(previous); }

 private:
  AttributeSet::Form previous = AttributeSet::Form::kBySize;
};

INSTANTIATE_TEST_SUITE_P(
    EverySetForm, DesignProperties,
    ::testing::Values(AttributeSet::Form::kBySize, AttributeSet::Form::kBits,
                      AttributeSet::Form::kList),
    [](const ::testing::TestParamInfo<AttributeSet::Form>& info) {
      switch (info.param) {
        case AttributeSet::Form::kBits:
          return "Bits";
        case AttributeSet::Form::kList:
          return "List";
        default:
          return "BySize";
      }
    });

Mask allOf(int attributes) { return (1u << attributes) - 1; }

// Two sets of dependencies are equivalent when every subset has the same
// closure under both.
bool equivalent(int attributes, const std::vector<MaskFd>& a,
                const std::vector<MaskFd>& b) {
  for (Mask x = 0; x <= allOf(attributes); ++x) {
    if (closureOf(x, a) != closureOf(x, b)) return false;
  }
  return true;
}

std::string describe(const SmallSchema& schema) {
  std::string text = std::to_string(schema.attributes) + " attributes; tables";
  for (const Mask t : schema.tables) text += " " + std::to_string(t);
  text += "; fds";
  for (const MaskFd& fd : schema.fds) {
    text += " " + std::to_string(fd.left) + "->" + std::to_string(fd.right);
  }
  return text;
}

TEST_P(DesignProperties, ClosureMatchesRepeatedApplication) {
  RandomSchemas random(1);
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    ClosureIndex index(n, toDependencies(n, schema.fds));
    for (Mask x = 0; x <= allOf(n); ++x) {
      const Mask expected = closureOf(x, schema.fds);
      ASSERT_EQ(toMask(index.closure(toSet(n, x))), expected)
          << describe(schema) << "; start " << x;
      // With a target, the answer must agree with the full closure.
      const Mask target = random.subset(n, 0, 3);
      ASSERT_EQ(index.implies(toSet(n, x), toSet(n, target)),
                inside(target, expected))
          << describe(schema) << "; start " << x << ", target " << target;
    }
  }
}

TEST_P(DesignProperties, CoverIsMinimalAndEquivalent) {
  RandomSchemas random(2);
  int nonTrivial = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    const std::vector<MaskFd> cover =
        toMasks(minimalCover(n, toDependencies(n, schema.fds)));
    SCOPED_TRACE(describe(schema));
    ASSERT_TRUE(equivalent(n, cover, schema.fds));
    nonTrivial += cover.size() > 1 ? 1 : 0;
    for (std::size_t i = 0; i < cover.size(); ++i) {
      const MaskFd& fd = cover[i];
      ASSERT_EQ(__builtin_popcount(fd.right), 1) << "dependency " << i;
      ASSERT_FALSE(inside(fd.right, fd.left)) << "trivial dependency " << i;
      for (int a = 0; a < n; ++a) {
        if (!(fd.left >> a & 1)) continue;
        EXPECT_FALSE(inside(fd.right, closureOf(fd.left & ~(1u << a), cover)))
            << "extraneous attribute " << a << " in dependency " << i;
      }
      std::vector<MaskFd> rest = cover;
      rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i));
      EXPECT_FALSE(inside(fd.right, closureOf(fd.left, rest)))
          << "redundant dependency " << i;
    }
  }
  EXPECT_GT(nonTrivial, kRounds / 3);
}

TEST_P(DesignProperties, KeysAreExactlyTheMinimalSuperkeys) {
  RandomSchemas random(3);
  int several = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    const Mask all = allOf(n);
    const KeySet found = findKeys(
        n, toSet(n, all), minimalCover(n, toDependencies(n, schema.fds)), 1000);
    std::vector<Mask> keys;
    for (const AttributeSet& key : found.keys) keys.push_back(toMask(key));
    std::vector<Mask> expected = bruteKeys(all, schema.fds);
    Mask prime = 0;
    for (const Mask k : expected) prime |= k;
    std::vector<Mask> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    SCOPED_TRACE(describe(schema));
    ASSERT_TRUE(found.complete);
    ASSERT_EQ(sorted, expected);
    ASSERT_EQ(toMask(found.prime), prime);
    ASSERT_TRUE(std::is_sorted(found.keys.begin(), found.keys.end(),
                               AttributeSet::listOrder));
    several += keys.size() > 1 ? 1 : 0;
  }
  EXPECT_GT(several, kRounds / 20);
}

TEST_P(DesignProperties, KeyLimitStopsTheEnumeration) {
  // A1..A4, B1..B4 with Ai<->Bi: 16 keys.
  std::vector<MaskFd> fds;
  for (int i = 0; i < 4; ++i) {
    fds.push_back({1u << i, 1u << (i + 4)});
    fds.push_back({1u << (i + 4), 1u << i});
  }
  const std::vector<Dependency> dependencies = toDependencies(8, fds);
  const AttributeSet all = toSet(8, allOf(8));
  struct Case {
    int maxKeys;
    std::size_t keys;
    bool complete;
  };
  const Case cases[] = {
      {1, 1, false}, {15, 15, false}, {16, 16, true}, {100, 16, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.maxKeys);
    const KeySet found = findKeys(8, all, dependencies, c.maxKeys);
    EXPECT_EQ(found.keys.size(), c.keys);
    EXPECT_EQ(found.complete, c.complete);
  }
  const KeySet starved = findKeys(8, all, dependencies, 100, 10);
  EXPECT_FALSE(starved.complete);
  EXPECT_LT(starved.keys.size(), 16u);
}

TEST_P(DesignProperties, ProjectionIsEquivalentToTheDefinition) {
  RandomSchemas random(4);
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    const std::vector<Dependency> cover =
        minimalCover(n, toDependencies(n, schema.fds));
    ClosureIndex index(n, cover);
    for (const Mask table : schema.tables) {
      const Projection projection =
          projectOnto(toSet(n, table), n, cover, index);
      SCOPED_TRACE(describe(schema) + "; table " + std::to_string(table));
      ASSERT_FALSE(projection.undecided);
      const std::vector<MaskFd> projected = toMasks(projection.cover);
      for (const MaskFd& fd : projected) {
        ASSERT_TRUE(inside(fd.left | fd.right, table));
      }
      const std::vector<MaskFd> expected = bruteProjection(table, schema.fds);
      // Equivalent within the table: the same closure for every subset.
      for (Mask x = table;; x = (x - 1) & table) {
        ASSERT_EQ(closureOf(x, projected) & table,
                  closureOf(x, expected) & table)
            << "subset " << x;
        if (x == 0) break;
      }
    }
  }
}

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

TEST_P(DesignProperties, NormalFormsFollowTheDefinitions) {
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
    for (int f = 0; f < 4; ++f) forms[f] += formName(whole.form) == names[f] ? 1 : 0;
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

TEST_P(DesignProperties, ChaseOfTwoTablesMatchesTheIntersectionTest) {
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

TEST_P(DesignProperties, ChaseEndsInATableauThatSatisfiesEveryDependency) {
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

TEST_P(DesignProperties, PreservationMatchesTheDefinition) {
  RandomSchemas random(8);
  int lost = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    std::vector<AttributeSet> tables;
    std::vector<MaskFd> projected;
    for (const Mask t : schema.tables) {
      tables.push_back(toSet(n, t));
      const std::vector<MaskFd> part = bruteProjection(t, schema.fds);
      projected.insert(projected.end(), part.begin(), part.end());
    }
    const std::vector<Dependency> dependencies = toDependencies(n, schema.fds);
    ClosureIndex index(n, dependencies);
    PreservationTester tester(tables, index);
    for (std::size_t i = 0; i < dependencies.size(); ++i) {
      const DependencyPreservation result = tester.test(dependencies[i]);
      const Mask reached = closureOf(schema.fds[i].left, projected);
      SCOPED_TRACE(describe(schema) + "; dependency " + std::to_string(i));
      ASSERT_EQ(toMask(result.reached), reached);
      ASSERT_EQ(result.preserved, inside(schema.fds[i].right, reached));
      ASSERT_EQ(toMask(result.missing), schema.fds[i].right & ~reached);
      // The steps add up to what was reached, each inside its table.
      Mask added = schema.fds[i].left;
      int pass = 1;
      for (const PreservationStep& step : result.steps) {
        ASSERT_TRUE(inside(toMask(step.added), schema.tables[step.table]));
        ASSERT_EQ(toMask(step.added) & added, 0u);
        ASSERT_GE(step.pass, pass);
        pass = step.pass;
        added |= toMask(step.added);
      }
      ASSERT_EQ(added, reached);
      lost += result.preserved ? 0 : 1;
    }
  }
  EXPECT_GT(lost, kRounds / 10);
}

}  // namespace
}  // namespace fdtools::design
