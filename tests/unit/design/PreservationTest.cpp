// Preservation against its definition, by brute force on random schemas of up
// to 8 attributes, with attribute sets in every form.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "checker/DependencyTester.h"
#include "design/Audit.h"
#include "design/ClosureIndex.h"
#include "design/DecompositionAnalysis.h"
#include "design/InputFormat.h"
#include "design/Preservation.h"
#include "tests/support/Oracle.h"
#include "tests/unit/CheckerInput.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

class PreservationProperties : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(PreservationProperties);

TEST_P(PreservationProperties, PreservationMatchesTheDefinition) {
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
      // A verdict alone: the same answer and, when lost, the same gap.
      const DependencyPreservation verdict = tester.test(dependencies[i], true);
      ASSERT_EQ(verdict.preserved, result.preserved);
      ASSERT_EQ(toMask(verdict.missing), toMask(result.missing));
      ASSERT_TRUE(verdict.steps.empty());
      lost += result.preserved ? 0 : 1;
    }
  }
  EXPECT_GT(lost, kRounds / 10);
}

// fdtools and fdcheck give the same answers whenever every attribute lies in
// a table.
// Past the limit on recorded names the verdicts, what is missing and the
// reached set of a lost dependency stay; only the passes go.
TEST_P(PreservationProperties, TraceLimitKeepsEveryVerdict) {
  RandomSchemas random(31);
  int untraced = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    std::vector<AttributeSet> tables;
    for (const Mask t : schema.tables) tables.push_back(toSet(n, t));
    const std::vector<Dependency> dependencies = toDependencies(n, schema.fds);
    ClosureIndex index(n, dependencies);
    const std::vector<DependencyPreservation> full =
        preservationOf(tables, index, dependencies);
    for (const std::size_t limit : {0, 1, 6}) {
      SCOPED_TRACE(describe(schema) + "; limit " + std::to_string(limit));
      const std::vector<DependencyPreservation> limited =
          preservationOf(tables, index, dependencies, false, limit);
      ASSERT_EQ(limited.size(), full.size());
      std::size_t names = 0;
      for (std::size_t i = 0; i < full.size(); ++i) {
        ASSERT_TRUE(full[i].traced);
        ASSERT_EQ(limited[i].traced, names < limit) << "dependency " << i;
        ASSERT_EQ(limited[i].preserved, full[i].preserved);
        ASSERT_EQ(limited[i].missing, full[i].missing);
        if (limited[i].traced) {
          ASSERT_EQ(limited[i].reached, full[i].reached);
          ASSERT_EQ(limited[i].steps.size(), full[i].steps.size());
        } else {
          ++untraced;
          ASSERT_TRUE(limited[i].steps.empty());
          if (!full[i].preserved) {
            ASSERT_EQ(limited[i].reached, full[i].reached);
          }
        }
        names += static_cast<std::size_t>(full[i].reached.size());
        for (const PreservationStep& step : full[i].steps) {
          names += static_cast<std::size_t>(step.added.size());
        }
      }
    }
  }
  EXPECT_GT(untraced, 0);
}

TEST(Preservation, MatchesFdcheckWhenEveryAttributeIsInATable) {
  oracle::RandomSchemas random(9);
  int lost = 0;
  for (int round = 0; round < 3000; ++round) {
    oracle::SmallSchema schema = random.next();
    oracle::Mask covered = 0;
    for (const oracle::Mask t : schema.tables) covered |= t;
    const oracle::Mask all = (1u << schema.attributes) - 1;
    if ((all & ~covered) != 0) schema.tables.push_back(all & ~covered);
    const std::string text = oracle::inputText(schema.tables, schema.fds);
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

}  // namespace
}  // namespace fdtools::design
