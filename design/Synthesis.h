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
#include <utility>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Multivalued.h"
#include "design/Schema.h"
#include "design/Undecided.h"

namespace fdtools::design {

// How a decomposition was made, for a worked solution.
struct SynthesisSteps {
  // The minimal cover the method started from.
  std::vector<Dependency> cover;
  // 3NF: one table per left side of the cover, holding it and the right
  // sides it has there (table = left | right), in the order made.
  std::vector<Dependency> made;
  // Tables dropped because they lie inside another: (table, the other).
  std::vector<std::pair<AttributeSet, AttributeSet>> removed;
  // 3NF: the key table added, or else the table that holds a key (it
  // determines every attribute through the tables' own dependencies);
  // neither for a schema without attributes.
  std::optional<AttributeSet> keyAdded;
  std::optional<AttributeSet> keyHeldBy;
  // BCNF and 4NF: the split tree, root first. A node is a leaf, in the
  // form, or split on `violation` (X -> X+ within the table, or X ->> Y)
  // into the nodes `first` (the part X determines) and `second`.
  //
  // A BCNF table too wide to project may instead split by the pair test:
  // `violation` is then X -> A where X A, the first part, has no two
  // attributes A', B with A' in (X A - {A',B})+ and so is in BCNF, and the
  // second is the table without A; lossless, since X determines X A, but X
  // may be a superkey of the table.
  struct Split {
    AttributeSet table;
    std::optional<Dependency> violation;
    bool multivalued = false;
    bool byPairs = false;
    int first = -1;
    int second = -1;
  };
  std::vector<Split> splits;
};

struct Decomposition {
  // Set when a table could not be decided within the work budget; then
  // `tables` is empty.
  std::optional<Undecided> undecided;
  std::vector<AttributeSet> tables;
};

// Each records how it went in `steps` when given.
Decomposition synthesize3nf(int attributeCount,
                            const std::vector<Dependency>& dependencies,
                            SynthesisSteps* steps = nullptr);

// Tables of schemas of at most 64 attributes (`maxProjectedSchema`) are
// projected exactly when narrow and split on the first dependency of the
// projection that breaks BCNF; the others, by what the pair test finds
// (see BcnfTest.h), which is polynomial.
constexpr int kMaxBcnfProjectedSchema = 64;
Decomposition decomposeBcnf(int attributeCount,
                            const std::vector<Dependency>& dependencies,
                            SynthesisSteps* steps = nullptr,
                            int maxProjectedSchema = kMaxBcnfProjectedSchema);

// Splits on X ->> Y with X not a superkey into X Y and the rest, X Y first,
// until every table is in 4NF; lossless. Undecided when a table is too
// large to be exact.
Decomposition decompose4nf(const MixedImplication& dependencies,
                           SynthesisSteps* steps = nullptr);

// Drops every table that lies inside another (of equal ones, all but the
// first); the order of the others is kept. Each table dropped is added
// to `removed` with the one it lies in.
std::vector<AttributeSet> withoutContainedTables(
    const std::vector<AttributeSet>& tables,
    std::vector<std::pair<AttributeSet, AttributeSet>>* removed = nullptr);

}  // namespace fdtools::design

#endif  // DESIGN_SYNTHESIS_H_
