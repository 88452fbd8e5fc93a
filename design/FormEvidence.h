// The normal form of a table whose dependencies could not be projected,
// from evidence that needs no projection: the pair test proves BCNF, and
// a partial dependency proves 1NF when its right side is provably
// non-prime. An attribute is non-prime when the attributes in every key of
// the table (those the rest of it does not determine) determine it without
// holding it: a key holding it would not be minimal.
#ifndef DESIGN_FORMEVIDENCE_H_
#define DESIGN_FORMEVIDENCE_H_

#include <vector>

#include "design/AttributeSet.h"
#include "design/ClosureIndex.h"
#include "design/NormalForm.h"
#include "design/Schema.h"
#include "design/Undecided.h"
#include "design/WorkBudget.h"

namespace fdtools::design {

// What deciding one table from evidence may spend: about a projection's.
constexpr std::uint64_t kEvidenceWorkBudget = std::uint64_t{1} << 26;

// `cover` is a minimal cover of F and `index` a closure index over it;
// `projectionStop` says why the table's dependencies are not listed. The
// result is decided, with one key (not all of them) and `coverStopped` set,
// or undecided with that reason and what the evidence showed. The work is
// drawn from `budget`.
NormalFormResult formByEvidence(const AttributeSet& table, int attributeCount,
                                const std::vector<Dependency>& cover,
                                ClosureIndex& index,
                                const Undecided& projectionStop,
                                WorkBudget& budget);

}  // namespace fdtools::design

#endif  // DESIGN_FORMEVIDENCE_H_
