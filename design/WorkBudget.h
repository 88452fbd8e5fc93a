// What is left of a budget of work that several searches of one run draw
// on, so that the run as a whole is bounded and not only each search.
#ifndef DESIGN_WORKBUDGET_H_
#define DESIGN_WORKBUDGET_H_

#include <algorithm>
#include <cstdint>

namespace fdtools::design {

struct WorkBudget {
  std::uint64_t left = 0;

  // What one search may spend: what is left, but no more than `cap`.
  std::uint64_t share(std::uint64_t cap) const { return std::min(cap, left); }
  void spend(std::uint64_t amount) { left -= std::min(amount, left); }
};

}  // namespace fdtools::design

#endif  // DESIGN_WORKBUDGET_H_
