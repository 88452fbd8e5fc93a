// A minimal cover: a set of dependencies equivalent to the given one, with a
// single attribute on each right side, no extraneous left-side attribute
// and no redundant dependency.
#ifndef DESIGN_COVER_H_
#define DESIGN_COVER_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Schema.h"
#include "design/Steps.h"

namespace fdtools::design {

// One move of the cover computation, true at its point: replayed in order
// from the given dependencies, the moves give the cover.
struct CoverStep {
  enum class Rule {
    // `dependency` (as given) becomes the dependencies `into`, one
    // attribute on each right side, trivial parts dropped.
    kSplit,
    // `attribute` leaves the left side of `dependency`: `closure`, of the
    // left side without it under the current set, holds the right side.
    kExtraneous,
    // `dependency` goes: `closure`, of its left side under the current set
    // without it, holds its right side.
    kRedundant,
  };
  Rule rule = Rule::kSplit;
  Dependency dependency;
  std::vector<Dependency> into;
  int attribute = -1;
  AttributeSet closure;
};

// Right sides are split and trivial parts dropped first; then extraneous
// left attributes are removed, lowest id first, and only then redundant
// dependencies, in order: the other order can leave a redundant one behind
// (C->A, AC->D, D->A). The result keeps the input order, each split
// dependency in the order of its right-side attributes. Deterministic.
// With `steps`, each move is recorded as it is made.
std::vector<Dependency> minimalCover(
    int attributeCount, const std::vector<Dependency>& dependencies,
    StepList<CoverStep>* steps = nullptr);

// The same cover, unless its closures do more than `workLimit` work (see
// ClosureIndex::work); adds the work they did to `*work`.
std::optional<std::vector<Dependency>> minimalCoverWithin(
    int attributeCount, const std::vector<Dependency>& dependencies,
    std::uint64_t workLimit, std::uint64_t* work);

// The dependencies with one right-side attribute each, trivial ones
// (right side inside the left) left out.
std::vector<Dependency> splitRightSides(
    int attributeCount, const std::vector<Dependency>& dependencies);

}  // namespace fdtools::design

#endif  // DESIGN_COVER_H_
