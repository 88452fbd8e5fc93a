// Designing a decomposition. The 3NF synthesis: from a minimal cover, one
// table per left side with its right sides, minus tables inside another,
// plus a table holding a key when no table holds one; it is always
// lossless and dependency-preserving, and every table is in 3NF. The BCNF
// decomposition: split a table on a dependency that holds in it without a
// superkey on the left, until none is left; lossless, but not always
// preserving. The 4NF decomposition splits the same way on FDs and MVDs.
// All are deterministic.
#ifndef DESIGN_SYNTHESIS_H_
#define DESIGN_SYNTHESIS_H_

#include <optional>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Multivalued.h"
#include "design/Schema.h"
#include "design/Undecided.h"

namespace fdtools::design {

struct Decomposition {
  // Set when a table was too large to project exactly; then `tables` is
  // empty.
  std::optional<Undecided> undecided;
  std::vector<AttributeSet> tables;
};

Decomposition synthesize3nf(int attributeCount,
                            const std::vector<Dependency>& dependencies);

Decomposition decomposeBcnf(int attributeCount,
                            const std::vector<Dependency>& dependencies);

// Splits on X ->> Y with X not a superkey into X Y and the rest, X Y first,
// until every table is in 4NF; lossless. Undecided when a table is too
// large to be exact.
Decomposition decompose4nf(const MixedImplication& dependencies);

// Drops every table that lies inside another (of equal ones, all but the
// first); the order of the others is kept.
std::vector<AttributeSet> withoutContainedTables(
    const std::vector<AttributeSet>& tables);

}  // namespace fdtools::design

#endif  // DESIGN_SYNTHESIS_H_
