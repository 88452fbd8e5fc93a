// The dependencies that hold on part of a schema, found by removing the
// other attributes one at a time (Gottlob's reduction by resolution): for
// an attribute B to go, every X -> B and Y -> C with B in Y give
// X u (Y - {B}) -> C, and then every dependency that mentions B goes.
// Dependencies are Horn clauses and this is Davis and Putnam's variable
// elimination, which keeps every consequence that does not mention B, so
// the result is a cover of the projection. Its cost grows with how the
// removed attributes chain into the part, not with how many of the part's
// own attributes occur on left sides, where listing subsets would double
// per attribute; in the worst case the result itself is exponential, so
// the work has a budget.
#ifndef DESIGN_ELIMINATION_H_
#define DESIGN_ELIMINATION_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Schema.h"

namespace fdtools::design {

// A cover, one attribute on each right side, of the dependencies implied
// by `dependencies` with both sides inside `part`; not minimal. Adds its
// work to `*work` and gives up (nullopt) once that passes `workLimit`.
std::optional<std::vector<Dependency>> eliminateOutside(
    int attributeCount, const AttributeSet& part,
    const std::vector<Dependency>& dependencies, std::uint64_t workLimit,
    std::uint64_t* work);

}  // namespace fdtools::design

#endif  // DESIGN_ELIMINATION_H_
