// The dependencies that hold in one table: those of F+ with both sides
// inside it. Listing them takes, for every X inside the table,
// X -> (X+ within the table), which is exponential in the worst case, so
// the work has a budget and beyond it the answer is "undecided", never a
// guess.
#ifndef DESIGN_PROJECTION_H_
#define DESIGN_PROJECTION_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/ClosureIndex.h"
#include "design/Schema.h"
#include "design/Undecided.h"
#include "design/WorkBudget.h"

namespace fdtools::design {

// Only the table's attributes that occur on some left side of the cover
// need to be combined: X+ is X together with the closure of that part.
// Up to 2^16 combinations are listed; past that the attributes outside the
// table are eliminated by resolution (see Elimination.h), which also gives
// a cover of what holds in the table.
constexpr int kMaxProjectionLeftAttributes = 16;
// What one projection may spend, in closure work (see ClosureIndex::work)
// plus an estimate of minimising what it found: a few tenths of a second.
constexpr std::uint64_t kProjectionWorkBudget = std::uint64_t{1} << 26;
// What projecting by resolution may spend: tables that need it are wide
// and their minimal covers long, so it gets about twice that.
constexpr std::uint64_t kResolutionWorkBudget = std::uint64_t{1} << 27;

struct Projection {
  std::optional<Undecided> undecided;
  // A minimal cover of the dependencies that hold in the table.
  std::vector<Dependency> cover;
};

// Projects many tables under one F, indexing F once.
class Projector {
 public:
  // `cover` is a minimal cover of F; it must outlive the projector. Tables
  // with more than `maxListedLeft` left-side attributes are projected by
  // resolution.
  Projector(int attributeCount, const std::vector<Dependency>& cover,
            int maxListedLeft = kMaxProjectionLeftAttributes);

  // The work is drawn from `budget`, or from a budget of its own.
  Projection project(const AttributeSet& table, WorkBudget* budget = nullptr);

 private:
  int attributeCount;
  const std::vector<Dependency>& cover;
  int maxListedLeft;
  // Per attribute, the dependencies with it on the right.
  std::vector<std::vector<std::size_t>> byRight;
};

// `cover` is a minimal cover of F and `index` a closure index over it.
// The work is drawn from `budget`, or from a budget of its own.
Projection projectOnto(const AttributeSet& table, int attributeCount,
                       const std::vector<Dependency>& cover,
                       ClosureIndex& index, WorkBudget* budget = nullptr);

}  // namespace fdtools::design

#endif  // DESIGN_PROJECTION_H_
