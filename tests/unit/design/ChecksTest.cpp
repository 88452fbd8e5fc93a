// The grading checks against the definitions, by brute force on random
// small schemas: equivalence, minimal covers and decompositions.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "checker/DependencyTester.h"
#include "design/Audit.h"
#include "design/Chase.h"
#include "design/Checks.h"
#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/Preservation.h"
#include "design/Schema.h"
#include "design/Synthesis.h"
#include "tests/support/Oracle.h"
#include "tests/unit/CheckerInput.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

TEST(Checks, EquivalenceMatchesTheDefinition) {
  RandomSchemas random(24);
  int equivalent = 0;
  for (int round = 0; round < kPropertyRounds; ++round) {
    const SmallSchema a = random.next(5);
    SmallSchema b = random.next(5);
    // Often a cover of the first, so that both answers come up.
    const int n = std::max(a.attributes, b.attributes);
    std::vector<Dependency> second = toDependencies(n, b.fds);
    if (round % 2 == 0) second = minimalCover(n, toDependencies(n, a.fds));
    const std::vector<Dependency> first = toDependencies(n, a.fds);
    const std::vector<ImplicationWitness> witnesses =
        nonImplied(n, first, second);
    std::vector<MaskFd> fa = a.fds;
    std::vector<MaskFd> fb;
    for (const Dependency& d : second)
      fb.push_back({toMask(d.left), toMask(d.right)});
    bool same = true;
    for (Mask x = 0; x <= allOf(n); ++x) {
      same = same && closureOf(x, fa) == closureOf(x, fb);
    }
    ASSERT_EQ(witnesses.empty(), same) << describe(a);
    for (const ImplicationWitness& w : witnesses) {
      const bool first = w.from == FileSide::kFirst;
      const MaskFd& fd = first ? fa[w.index] : fb[w.index];
      const std::vector<MaskFd>& other = first ? fb : fa;
      ASSERT_FALSE(inside(fd.right, closureOf(fd.left, other)));
    }
    equivalent += same ? 1 : 0;
  }
  EXPECT_GT(equivalent, kPropertyRounds / 3);
  EXPECT_LT(equivalent, kPropertyRounds * 9 / 10);
}

bool has(const std::vector<CoverFailure>& failures,
         const std::string& property) {
  return std::any_of(failures.begin(), failures.end(),
                     [&](const CoverFailure& f) {
                       return propertyName(f.property) == property;
                     });
}

TEST(Checks, MinimalCoversPassAndMutatedOnesAreCaught) {
  RandomSchemas random(25);
  int mutations[3] = {0, 0, 0};
  for (int round = 0; round < kPropertyRounds; ++round) {
    const SmallSchema schema = random.next(6);
    const int n = schema.attributes;
    const std::vector<Dependency> given = toDependencies(n, schema.fds);
    const std::vector<Dependency> cover = minimalCover(n, given);
    SCOPED_TRACE(describe(schema));
    ASSERT_TRUE(checkCover(n, given, cover).empty());
    if (cover.empty()) continue;
    const std::size_t pick = static_cast<std::size_t>(round) % cover.size();

    // An attribute added to a left side is extraneous, or the set no
    // longer implies the dependency and is no longer equivalent.
    const AttributeSet outside =
        AttributeSet::all(n) - cover[pick].left - cover[pick].right;
    if (!outside.empty()) {
      std::vector<Dependency> widened = cover;
      widened[pick].left.insert(outside.first());
      const std::vector<CoverFailure> failures = checkCover(n, given, widened);
      EXPECT_TRUE(has(failures, "no-extraneous-attribute") ||
                  has(failures, "equivalent"));
      ++mutations[0];
    }
    // A dropped dependency breaks equivalence: in a minimal cover none is
    // implied by the rest.
    std::vector<Dependency> dropped = cover;
    dropped.erase(dropped.begin() + static_cast<std::ptrdiff_t>(pick));
    EXPECT_TRUE(has(checkCover(n, given, dropped), "equivalent"));
    ++mutations[1];
    // A duplicated one is redundant.
    std::vector<Dependency> doubled = cover;
    doubled.push_back(cover[pick]);
    const std::vector<CoverFailure> failures = checkCover(n, given, doubled);
    EXPECT_TRUE(has(failures, "no-redundant-dependency"));
    EXPECT_FALSE(has(failures, "equivalent"));
    ++mutations[2];
  }
  for (const int count : mutations) EXPECT_GT(count, kPropertyRounds / 4);
}

TEST(Checks, CheckCoverFailuresMatchTheDefinitions) {
  RandomSchemas random(26);
  for (int round = 0; round < kPropertyRounds; ++round) {
    const SmallSchema a = random.next(5);
    const SmallSchema b = random.next(5);
    const int n = std::max(a.attributes, b.attributes);
    const std::vector<CoverFailure> failures =
        checkCover(n, toDependencies(n, a.fds), toDependencies(n, b.fds));
    SCOPED_TRACE(describe(a) + " / " + describe(b));
    for (std::size_t i = 0; i < b.fds.size(); ++i) {
      const MaskFd& fd = b.fds[i];
      const auto failed = [&](const std::string& property, int attribute) {
        return std::any_of(
            failures.begin(), failures.end(), [&](const auto& f) {
              return propertyName(f.property) == property &&
                     f.from == FileSide::kSecond &&
                     f.index == static_cast<int>(i) && f.attribute == attribute;
            });
      };
      EXPECT_EQ(failed("single-right-side", -1),
                __builtin_popcount(fd.right) != 1);
      std::vector<MaskFd> rest = b.fds;
      rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i));
      EXPECT_EQ(failed("no-redundant-dependency", -1),
                inside(fd.right, closureOf(fd.left, rest)));
      for (int x = 0; x < n; ++x) {
        if (!(fd.left >> x & 1)) continue;
        EXPECT_EQ(failed("no-extraneous-attribute", x),
                  inside(fd.right, closureOf(fd.left & ~(1u << x), b.fds)));
      }
    }
  }
}

TEST(Checks, DecompositionCheckMatchesTheDefinitions) {
  RandomSchemas random(27);
  int failed[3] = {0, 0, 0};
  for (int round = 0; round < kPropertyRounds; ++round) {
    SmallSchema schema = random.next(6);
    // Every attribute in a table: then the schema's attributes are exactly
    // A.. up to the last one, and ids are letters.
    Mask covered = 0;
    for (const Mask t : schema.tables) covered |= t;
    if (covered != allOf(schema.attributes)) {
      schema.tables.push_back(allOf(schema.attributes) & ~covered);
    }
    std::vector<std::vector<std::string>> tables;
    for (const Mask t : schema.tables) tables.push_back(oracle::letters(t));
    std::vector<NamedDependency> dependencies;
    for (const MaskFd& fd : schema.fds) {
      dependencies.push_back(
          {oracle::letters(fd.left), oracle::letters(fd.right)});
    }
    const Schema parsed(tables, dependencies);
    SCOPED_TRACE(describe(schema));
    for (const NormalFormName wanted :
         {NormalFormName::k3nf, NormalFormName::kBcnf}) {
      const std::string form = formName(wanted);
      Audit audit(parsed, 1000);
      const DecompositionCheck check = checkDecomposition(audit, wanted);
      ASSERT_FALSE(check.undecided);
      std::vector<int> lost;
      std::vector<int> badTables;
      bool lossy = false;
      for (const DecompositionFailure& f : check.failures) {
        const std::string property = propertyName(f.property);
        if (property == "lossless") lossy = true;
        if (property == "preserving") lost.push_back(f.index);
        if (property == form) badTables.push_back(f.table);
      }
      ASSERT_EQ(lossy,
                !isLossless(schema.attributes, parsed.tables(), schema.fds));
      std::vector<int> expectedLost;
      std::vector<MaskFd> projected;
      for (const Mask t : schema.tables) {
        const std::vector<MaskFd> part = bruteProjection(t, schema.fds);
        projected.insert(projected.end(), part.begin(), part.end());
      }
      for (std::size_t i = 0; i < schema.fds.size(); ++i) {
        if (!inside(schema.fds[i].right,
                    closureOf(schema.fds[i].left, projected))) {
          expectedLost.push_back(static_cast<int>(i));
        }
      }
      ASSERT_EQ(lost, expectedLost);
      std::vector<int> expectedBad;
      for (std::size_t t = 0; t < schema.tables.size(); ++t) {
        const Mask table = schema.tables[t];
        const std::string actual =
            bruteForm(table, bruteProjection(table, schema.fds));
        const bool ok = actual == "BCNF" || (form == "3NF" && actual == "3NF");
        if (!ok) expectedBad.push_back(static_cast<int>(t));
      }
      ASSERT_EQ(badTables, expectedBad) << form;
      failed[0] += lossy ? 1 : 0;
      failed[1] += lost.empty() ? 0 : 1;
      failed[2] += badTables.empty() ? 0 : 1;
    }
  }
  for (const int count : failed) EXPECT_GT(count, kPropertyRounds / 20);
}

}  // namespace
}  // namespace fdtools::design
