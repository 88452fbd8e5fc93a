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
// Attribute names held by the steps of one list, in all: a step over a
// wide schema names hundreds.
constexpr std::size_t kMaxStepNames = std::size_t{1} << 18;

template <class Step>
struct StepList {
  std::vector<Step> steps;
  // False when steps were left out at a limit: then every step after the
  // first one left out is.
  bool complete = true;
  std::size_t names = 0;

  // `stepNames`: how many attribute names the step holds.
  bool add(Step step, std::size_t stepNames = 1) {
    if (!complete || steps.size() >= kMaxSteps ||
        names + stepNames > kMaxStepNames) {
      complete = false;
      return false;
    }
    names += stepNames;
    steps.push_back(std::move(step));
    return true;
  }
};

}  // namespace fdtools::design

#endif  // DESIGN_STEPS_H_
