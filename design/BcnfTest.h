// BCNF of one table of a decomposition without projecting F onto it.
// Deciding it is coNP-complete, so this looks for evidence either way:
// a violation (a left side inside the table, no superkey of it, that
// determines more of it), or the pair test, which proves BCNF when no two
// attributes A != B of the table have A in (T - {A,B})+ (Tsou and Fischer).
// Every closure counts against a budget of work.
#ifndef DESIGN_BCNFTEST_H_
#define DESIGN_BCNFTEST_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "design/AttributeSet.h"
#include "design/ClosureIndex.h"
#include "design/Schema.h"
#include "design/WorkBudget.h"

namespace fdtools::design {

struct BcnfEvidence {
  enum class Verdict {
    // `violation` holds in the table and its left side is no superkey.
    kViolated,
    // No pair of attributes fires.
    kInBcnf,
    // Pairs fire, but each one found on a superkey: `determined` follows
    // from `determinant`, a least part of the table without it that
    // determines it, and `other` lies outside both.
    kUnknown,
    kOverBudget,
  };
  Verdict verdict = Verdict::kUnknown;
  // X -> (X+ within the table) - X.
  Dependency violation;
  AttributeSet determinant;
  int determined = -1;
  int other = -1;
};

class BcnfTester {
 public:
  // `cover` is a minimal cover of F and `index` a closure index over it.
  BcnfTester(int attributeCount, const std::vector<Dependency>& cover,
             ClosureIndex& index);

  // Spends its work from `budget`; stops with kOverBudget once that is
  // used up.
  BcnfEvidence test(const AttributeSet& table, WorkBudget& budget);

  // A dependency of the cover inside the table, right side cut to it,
  // whose left side is no superkey of it: X -> (X+ within it) - X.
  std::optional<Dependency> coverViolation(const AttributeSet& table);

  // Work done by every call so far (see ClosureIndex::work).
  std::uint64_t work() const { return index.work() - startWork + scans; }

 private:
  // The test, until work() passes `workLimit`.
  BcnfEvidence search(const AttributeSet& table, std::uint64_t workLimit);
  // A least part of `within` that still determines `target`, dropping
  // attributes in blocks, halving a block that cannot go as a whole.
  AttributeSet leastDeterminant(const AttributeSet& within, int target);

  int attributeCount;
  const std::vector<Dependency>& cover;
  ClosureIndex& index;
  std::uint64_t startWork;
  // The closure of each cover dependency's left side, made when first
  // needed: it does not depend on the table.
  std::vector<std::optional<AttributeSet>> leftClosures;
  AttributeSet rightSides;
  // Per attribute, the cover dependencies with it on the left, so that
  // those inside a table are found from the table's attributes; counted
  // down per call.
  std::vector<std::vector<int>> usesOf;
  std::vector<int> emptyLeft;
  std::vector<int> leftSizes;
  std::vector<int> counts;
  std::vector<std::uint32_t> stamps;
  std::uint32_t stamp = 0;
  std::vector<int> inside;
  std::uint64_t scans = 0;
};

}  // namespace fdtools::design

#endif  // DESIGN_BCNFTEST_H_
