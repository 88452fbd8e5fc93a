// What a given set of tables does with a schema's dependencies: whether
// their join is lossless, which dependencies they preserve, and the normal
// form of each table. The audit, the grading checks and synthesis all
// answer these questions the same way, here.
#ifndef DESIGN_DECOMPOSITIONANALYSIS_H_
#define DESIGN_DECOMPOSITIONANALYSIS_H_

#include <cstddef>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "design/NormalForm.h"
#include "design/Preservation.h"
#include "design/Projection.h"
#include "design/Schema.h"

namespace fdtools::design {

enum class Tableau {
  // The final tableau is wanted whatever the answer: it is shown.
  kAlways,
  // Only a counterexample is wanted: a lossless join found through the
  // tables' own dependencies comes back without a tableau.
  kIfLossy,
};

// Whether the join of `tables` is lossless under `cover` and the
// `multivalued` dependencies. The join of no tables over no attributes is
// the one empty tuple, so it is lossless. With MVDs, when the chase stops
// at its limits but the tables join losslessly pair by pair, the answer is
// lossless with the tableau of the tables' rows alone.
// With `steps` and no MVDs, the chase records its moves there (with MVDs
// it records none).
ChaseResult losslessJoin(int attributeCount,
                         const std::vector<AttributeSet>& tables,
                         const std::vector<Dependency>& cover, Tableau tableau,
                         const std::vector<Dependency>& multivalued = {},
                         ChaseSteps* steps = nullptr);

// For each of `dependencies`, in order, whether `tables` preserve it;
// `index` is over the schema's dependencies or an equivalent set. With
// `verdictOnly`, each test stops once decided and keeps no steps (see
// PreservationTester::test); so does every test after the passes recorded
// pass `traceLimit` names.
std::vector<DependencyPreservation> preservationOf(
    const std::vector<AttributeSet>& tables, ClosureIndex& index,
    const std::vector<Dependency>& dependencies, bool verdictOnly = false,
    std::size_t traceLimit = kPreservationTraceNames);

// The normal form of `table`: the dependencies that hold in it projected
// from `cover` (a minimal cover, `coverIndex` over it), then analysed; or
// undecided when the projection is too large to be exact. Its searches
// draw on `budget` when given.
NormalFormResult analyzeTable(const AttributeSet& table, int attributeCount,
                              const std::vector<Dependency>& cover,
                              ClosureIndex& coverIndex, int maxKeys,
                              WorkBudget* budget = nullptr,
                              Projector* projector = nullptr);

}  // namespace fdtools::design

#endif  // DESIGN_DECOMPOSITIONANALYSIS_H_
