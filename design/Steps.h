// The steps an algorithm took, recorded as it takes them, for a worked
// solution. A list stops growing at a fixed length, so that a large input
// costs no more than its answer; it then says so.
#ifndef DESIGN_STEPS_H_
#define DESIGN_STEPS_H_

#include <cstddef>
#include <utility>
#include <vector>

namespace fdtools::design {

// Enough for any exercise by far; a generated schema of thousands of
// dependencies stays readable and its output a few megabytes.
constexpr std::size_t kMaxSteps = 10000;

template <class Step>
struct StepList {
  std::vector<Step> steps;
  // False when steps were left out at the limit.
  bool complete = true;

  void add(Step step) {
    if (steps.size() < kMaxSteps) {
      steps.push_back(std::move(step));
    } else {
      complete = false;
    }
  }
};

}  // namespace fdtools::design

#endif  // DESIGN_STEPS_H_
