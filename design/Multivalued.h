// Implication under functional and multivalued dependencies together.
// X ->> Y holds when, among tuples that agree on X, the Y-values and the
// rest combine freely; every FD X -> Y implies X ->> Y.
//
// The dependency basis of X (Beeri 1980) is the finest partition of R - X
// into blocks W with X ->> W; X ->> Y follows exactly when Y - X is a union
// of blocks. It is found by refining {R - X}: a dependency V ->> W whose
// left side misses a block B splits B into B & W and B - W, and an FD
// V -> W counts as V ->> A for each A of W. FDs and MVDs interact
// (coalescence), so X+ may be larger than under the FDs alone: X -> A
// holds exactly when A is in X, or {A} is a block of the basis and some FD
// V -> W has A in W - V.
#ifndef DESIGN_MULTIVALUED_H_
#define DESIGN_MULTIVALUED_H_

#include <cstdint>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Schema.h"

namespace fdtools::design {

class MixedImplication {
 public:
  MixedImplication(int attributeCount,
                   const std::vector<Dependency>& functional,
                   const std::vector<Dependency>& multivalued);

  int attributeCount() const { return n; }
  const std::vector<Dependency>& multivalued() const { return multivalued_; }

  // The blocks of the dependency basis of `x`, ordered by their smallest
  // attribute.
  std::vector<AttributeSet> basis(const AttributeSet& x) const;
  // X+ under both kinds, from the basis of `x` found before.
  AttributeSet closure(const AttributeSet& x,
                       const std::vector<AttributeSet>& basis) const;
  AttributeSet closure(const AttributeSet& x) const;
  // Whether X ->> Y follows.
  bool impliesMultivalued(const AttributeSet& x, const AttributeSet& y) const;
  // About the steps one basis takes, for work budgets.
  std::uint64_t basisCost() const { return cost; }

 private:
  struct Rule {
    std::vector<int> left;
    std::vector<int> right;
    // From an FD: each attribute of the right side is a block of its own.
    bool oneByOne = false;
  };

  int n;
  std::vector<Dependency> multivalued_;
  // Rules name attributes by their place in `active`.
  std::vector<Rule> rules;
  std::vector<int> active;
  std::uint64_t cost = 0;
  // The attributes on the right side of some FD and not on its left.
  AttributeSet determinable;
};

}  // namespace fdtools::design

#endif  // DESIGN_MULTIVALUED_H_
