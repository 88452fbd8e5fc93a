// Every recorded step is checked on its own, by the definitions, and the
// steps replayed from the start must end in the reported answer: a step
// list that merely looks plausible fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/Keys.h"
#include "design/NormalForm.h"
#include "design/Synthesis.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

bool same(const MaskFd& a, const MaskFd& b) {
  return a.left == b.left && a.right == b.right;
}

MaskFd toMaskFd(const Dependency& d) {
  return {toMask(d.left), toMask(d.right)};
}

// Removes one dependency equal to `d` from `current`; false when none is.
bool takeOut(std::vector<MaskFd>& current, const MaskFd& d) {
  const auto at = std::find_if(current.begin(), current.end(),
                               [&](const MaskFd& c) { return same(c, d); });
  if (at == current.end()) return false;
  current.erase(at);
  return true;
}

std::vector<Mask> tableMasks(const std::vector<AttributeSet>& tables) {
  std::vector<Mask> masks;
  for (const AttributeSet& table : tables) masks.push_back(toMask(table));
  return masks;
}

std::vector<std::pair<Mask, Mask>> sorted(const std::vector<MaskFd>& list) {
  std::vector<std::pair<Mask, Mask>> pairs;
  for (const MaskFd& d : list) pairs.emplace_back(d.left, d.right);
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

class StepReplay : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(StepReplay);

TEST_P(StepReplay, ClosureStepsFireInOrderAndReachTheClosure) {
  RandomSchemas random(31);
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    SCOPED_TRACE(describe(schema));
    const Mask start = random.subset(n, 0, 2);
    ClosureIndex index(n, toDependencies(n, schema.fds));
    StepList<ClosureStep> steps;
    const Mask reported = toMask(index.closure(toSet(n, start), -1, &steps));
    Mask reached = start;
    for (const ClosureStep& step : steps.steps) {
      const MaskFd& fd = schema.fds[static_cast<std::size_t>(step.dependency)];
      ASSERT_TRUE(inside(fd.left, reached)) << "fired before its left side";
      ASSERT_EQ(toMask(step.added), fd.right & ~reached);
      ASSERT_NE(toMask(step.added), 0u) << "a step that adds nothing";
      reached |= toMask(step.added);
    }
    EXPECT_EQ(reached, reported);
    EXPECT_EQ(reported, closureOf(start, schema.fds));
  }
}

TEST_P(StepReplay, CoverStepsHoldAndReplayToTheCover) {
  RandomSchemas random(32);
  int moves = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    SCOPED_TRACE(describe(schema));
    StepList<CoverStep> steps;
    const std::vector<MaskFd> cover =
        toMasks(minimalCover(n, toDependencies(n, schema.fds), &steps));
    std::vector<MaskFd> current = schema.fds;
    for (const CoverStep& step : steps.steps) {
      const MaskFd d = toMaskFd(step.dependency);
      ASSERT_TRUE(takeOut(current, d)) << "a step on a dependency not there";
      switch (step.rule) {
        case CoverStep::Rule::kSplit: {
          Mask parts = 0;
          for (const Dependency& part : step.into) {
            const MaskFd p = toMaskFd(part);
            ASSERT_EQ(p.left, d.left);
            ASSERT_EQ(__builtin_popcount(p.right), 1);
            parts |= p.right;
            current.push_back(p);
          }
          ASSERT_EQ(parts, d.right & ~d.left);
          break;
        }
        case CoverStep::Rule::kExtraneous: {
          const Mask without = d.left & ~(1u << step.attribute);
          ASSERT_NE(without, d.left) << "not on the left side";
          current.push_back(d);
          ASSERT_EQ(toMask(step.closure), closureOf(without, current));
          ASSERT_TRUE(inside(d.right, toMask(step.closure)));
          current.back().left = without;
          ++moves;
          break;
        }
        case CoverStep::Rule::kRedundant:
          ASSERT_EQ(toMask(step.closure), closureOf(d.left, current));
          ASSERT_TRUE(inside(d.right, toMask(step.closure)));
          ++moves;
          break;
      }
    }
    EXPECT_EQ(sorted(current), sorted(cover));
  }
  EXPECT_GT(moves, kRounds / 2);
}

TEST_P(StepReplay, KeyProofsAndKeyFactsAreTrue) {
  RandomSchemas random(33);
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    SCOPED_TRACE(describe(schema));
    const std::vector<Dependency> cover =
        minimalCover(n, toDependencies(n, schema.fds));
    const Mask all = allOf(n);
    const KeySet keys = findKeys(n, toSet(n, all), cover, 1000);
    ClosureIndex index(n, cover);
    const StepList<KeyProof> proofs = keyProofs(index, toSet(n, all), keys);
    ASSERT_EQ(proofs.steps.size(), keys.keys.size());
    for (std::size_t k = 0; k < proofs.steps.size(); ++k) {
      const KeyProof& proof = proofs.steps[k];
      const Mask key = toMask(proof.key);
      ASSERT_EQ(key, toMask(keys.keys[k]));
      EXPECT_EQ(toMask(proof.closure), closureOf(key, schema.fds));
      EXPECT_EQ(toMask(proof.closure), all);
      ASSERT_EQ(static_cast<int>(proof.without.size()),
                __builtin_popcount(key));
      for (const auto& [attribute, closure] : proof.without) {
        ASSERT_TRUE(key >> attribute & 1);
        EXPECT_EQ(toMask(closure),
                  closureOf(key & ~(1u << attribute), schema.fds));
        EXPECT_NE(toMask(closure), all);
      }
    }
    for (const Mask key : bruteKeys(all, schema.fds)) {
      EXPECT_TRUE(inside(toMask(keys.inEveryKey), key));
      EXPECT_EQ(toMask(keys.inNoKey) & key, 0u);
    }
  }
}

TEST_P(StepReplay, ChaseStepsAreLegalMovesAndEndInTheTableau) {
  RandomSchemas random(34);
  int moves = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    SCOPED_TRACE(describe(schema));
    std::vector<AttributeSet> tables;
    for (const Mask t : schema.tables) tables.push_back(toSet(n, t));
    const std::vector<Dependency> cover =
        minimalCover(n, toDependencies(n, schema.fds));
    ChaseSteps steps;
    const ChaseResult result = chase(n, tables, cover, &steps);
    std::vector<std::vector<int>> tableau = steps.initial;
    ASSERT_EQ(tableau.size(), tables.size());
    for (std::size_t r = 0; r < tableau.size(); ++r) {
      for (int a = 0; a < n; ++a) {
        ASSERT_EQ(tableau[r][a],
                  (schema.tables[r] >> a & 1) ? 0 : static_cast<int>(r) + 1);
      }
    }
    for (const ChaseStep& step : steps.moves.steps) {
      const Dependency& d = steps.dependencies[step.dependency];
      const std::vector<int>& first = tableau[step.rows.first];
      const std::vector<int>& second = tableau[step.rows.second];
      for (int a = d.left.first(); a >= 0; a = d.left.next(a)) {
        ASSERT_EQ(first[a], second[a]) << "rows that do not agree";
      }
      ASSERT_TRUE(d.right.contains(step.column));
      const int x = first[step.column];
      const int y = second[step.column];
      ASSERT_EQ(std::min(x, y), step.to);
      ASSERT_EQ(std::max(x, y), step.from);
      ASSERT_NE(step.from, step.to);
      for (std::vector<int>& row : tableau) {
        if (row[step.column] == step.from) row[step.column] = step.to;
      }
      ++moves;
    }
    EXPECT_EQ(tableau, result.tableau);
  }
  EXPECT_GT(moves, kRounds);
}

TEST_P(StepReplay, ViolationReasonsAreTrueByTheDefinitions) {
  RandomSchemas random(35);
  int partial = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    SCOPED_TRACE(describe(schema));
    const Mask all = allOf(n);
    const NormalFormResult result = analyzeRelation(
        n, toSet(n, all), minimalCover(n, toDependencies(n, schema.fds)), 1000);
    const std::vector<Mask> keys = bruteKeys(all, schema.fds);
    Mask prime = 0;
    for (const Mask k : keys) prime |= k;
    for (const Violation& violation : result.violations) {
      const MaskFd d = toMaskFd(violation.dependency);
      const ViolationReason& reason = violation.reason;
      EXPECT_EQ(toMask(reason.leftClosure), closureOf(d.left, schema.fds));
      EXPECT_NE(toMask(reason.leftClosure), all);
      EXPECT_EQ(reason.rightPrime, inside(d.right, prime));
      EXPECT_EQ(reason.partOfKey.has_value(),
                violation.breaks(NormalFormName::k2nf));
      if (reason.partOfKey) {
        const Mask key = toMask(*reason.partOfKey);
        EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end());
        EXPECT_TRUE(inside(d.left, key) && d.left != key);
        ++partial;
      }
    }
  }
  EXPECT_GT(partial, kRounds / 20);
}

TEST_P(StepReplay, SynthesisStepsMakeTheTables) {
  RandomSchemas random(36);
  for (int round = 0; round < kPropertyRounds; ++round) {
    const SmallSchema schema = random.next(6);
    const int n = schema.attributes;
    SCOPED_TRACE(describe(schema));
    const std::vector<Dependency> fds = toDependencies(n, schema.fds);
    const Mask all = allOf(n);

    SynthesisSteps made;
    const Decomposition third = synthesize3nf(n, fds, &made);
    std::vector<Mask> tables;
    for (const Dependency& table : made.made) {
      tables.push_back(toMask(table.left | table.right));
    }
    for (const auto& [table, other] : made.removed) {
      ASSERT_TRUE(inside(toMask(table), toMask(other)));
      // Of equal tables the first stays.
      const auto at = std::find(tables.rbegin(), tables.rend(), toMask(table));
      ASSERT_NE(at, tables.rend());
      tables.erase(std::next(at).base());
    }
    ASSERT_EQ(made.keyAdded.has_value() || made.keyHeldBy.has_value(), n > 0);
    if (made.keyAdded) {
      EXPECT_EQ(closureOf(toMask(*made.keyAdded), schema.fds), all);
      tables.push_back(toMask(*made.keyAdded));
    }
    EXPECT_EQ(tables, tableMasks(third.tables));

    SynthesisSteps split;
    const Decomposition bcnf = decomposeBcnf(n, fds, &split);
    if (bcnf.undecided) continue;
    std::vector<Mask> leaves;
    for (const SynthesisSteps::Split& node : split.splits) {
      const Mask table = toMask(node.table);
      if (!node.violation) {
        EXPECT_EQ(bruteForm(table, schema.fds), "BCNF");
        leaves.push_back(table);
        continue;
      }
      const MaskFd v = toMaskFd(*node.violation);
      EXPECT_NE(closureOf(v.left, schema.fds) & table, table);
      EXPECT_EQ(v.right, closureOf(v.left, schema.fds) & table & ~v.left);
      EXPECT_EQ(toMask(split.splits[node.first].table), v.left | v.right);
      EXPECT_EQ(toMask(split.splits[node.second].table), table & ~v.right);
    }
    for (const auto& [table, other] : split.removed) {
      ASSERT_TRUE(inside(toMask(table), toMask(other)));
      const auto at = std::find(leaves.rbegin(), leaves.rend(), toMask(table));
      ASSERT_NE(at, leaves.rend());
      leaves.erase(std::next(at).base());
    }
    EXPECT_EQ(leaves, tableMasks(bcnf.tables));
  }
}

}  // namespace
}  // namespace fdtools::design
