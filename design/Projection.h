// The dependencies that hold in one table: those of F+ with both sides
// inside it. Listing them takes, for every X inside the table,
// X -> (X+ within the table), which is exponential in the worst case, so
// the work has a budget and beyond it the answer is "undecided", never a
// guess.
#ifndef DESIGN_PROJECTION_H_
#define DESIGN_PROJECTION_H_

#include <optional>
#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/ClosureIndex.h"
#include "design/Schema.h"
#include "design/Undecided.h"

namespace fdtools::design {

// Only the table's attributes that occur on some left side of the cover
// need to be combined: X+ is X together with the closure of that part.
// 2^16 combinations at most.
constexpr int kMaxProjectionLeftAttributes = 16;

struct Projection {
  std::optional<Undecided> undecided;
  // A minimal cover of the dependencies that hold in the table.
  std::vector<Dependency> cover;
};

// `cover` is a minimal cover of F and `index` a closure index over it.
Projection projectOnto(const AttributeSet& table, int attributeCount,
                       const std::vector<Dependency>& cover,
                       ClosureIndex& index);

}  // namespace fdtools::design

#endif  // DESIGN_PROJECTION_H_
