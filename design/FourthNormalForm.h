// Normal forms under functional and multivalued dependencies together. In
// a table T the dependencies are the restriction of D: the FDs of D+ inside
// T, and X ->> (Y & T) for X inside T. 4NF: every nontrivial X ->> Y there
// has a superkey X of T. The FDs that MVDs imply (coalescence) change keys
// and the lower forms too, so everything is found from scratch: for every
// X inside T, its closure and its dependency basis restricted to T. That
// is exponential, so tables have a size limit, and the work a budget,
// beyond which the answer is undecided, never a guess.
#ifndef DESIGN_FOURTHNORMALFORM_H_
#define DESIGN_FOURTHNORMALFORM_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Multivalued.h"
#include "design/NormalForm.h"
#include "design/Schema.h"
#include "design/Undecided.h"
#include "design/WorkBudget.h"

namespace fdtools::design {

// 2^16 subsets of a table at most.
constexpr int kMaxMultivaluedTableAttributes = 16;
// The steps (see MixedImplication::basisCost) that the analyses of one run
// share: about a quarter of a second.
constexpr std::uint64_t kMultivaluedWorkBudget = std::uint64_t{1} << 25;

// The form of `table` from 1NF to 4NF, with its keys, a minimal cover of
// the FDs that hold in it, and violations: those of the FD forms (which
// also break 4NF) and X ->> Y for each smallest left side X that breaks
// 4NF through an MVD alone.
NormalFormResult analyzeWithMultivalued(const AttributeSet& table,
                                        const MixedImplication& dependencies,
                                        int maxKeys, WorkBudget& budget);

struct FourNfSplit {
  std::optional<Undecided> undecided;
  // X ->> Y within the table, X not a superkey of it; none when the table
  // is in 4NF. When X determines attributes of the table, Y is those.
  std::optional<Dependency> violation;
  // X ->> Y, X determining nothing more in the table; else X -> Y.
  bool multivalued = false;
};

// The first violation of 4NF in `table`, by the smallest left side.
FourNfSplit first4nfViolation(const AttributeSet& table,
                              const MixedImplication& dependencies,
                              WorkBudget& budget);

}  // namespace fdtools::design

#endif  // DESIGN_FOURTHNORMALFORM_H_
