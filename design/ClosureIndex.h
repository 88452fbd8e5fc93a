// Attribute closure under a fixed list of dependencies, with the index built
// once: each call costs time linear in what it reaches, not in the whole
// list. Dependencies can be switched off, for the tests that ask what the
// others imply.
#ifndef DESIGN_CLOSUREINDEX_H_
#define DESIGN_CLOSUREINDEX_H_

#include <cstdint>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Schema.h"
#include "design/Steps.h"

namespace fdtools::design {

// Dependency `dependency` of the index's list fired and reached `added`,
// attributes not reached before it.
struct ClosureStep {
  int dependency = 0;
  AttributeSet added;
};

class ClosureIndex {
 public:
  ClosureIndex(int attributeCount, const std::vector<Dependency>& dependencies);

  // X+: every attribute that follows from `start`.
  AttributeSet closure(const AttributeSet& start);
  // The same, without dependency `skip` (when not -1); with `steps`, each
  // dependency that reached something is appended in the order it fired.
  AttributeSet closure(const AttributeSet& start, int skip,
                       StepList<ClosureStep>* steps = nullptr);
  // Whether `target` lies in the closure of `start`; stops as soon as it
  // does. Dependency `skip` (when not -1) does not fire.
  bool implies(const AttributeSet& start, const AttributeSet& target,
               int skip = -1);

  // The closure of the ids `start`, as ids in the order reached, without
  // building a set; valid until the next call. `inLastClosure` answers
  // membership for it in constant time.
  const std::vector<int>& closureIds(const std::vector<int>& start);
  bool inLastClosure(int id) const { return reachedStamp[id] == call; }

  // A disabled dependency never fires, until enabled again.
  void disable(int dependency) { disabled[dependency] = 1; }
  void enable(int dependency) { disabled[dependency] = 0; }

  int attributeCount() const { return attributeCount_; }
  // Attributes reached plus left-side uses counted down, over all calls so
  // far: a measure of the work done, for budgets.
  std::uint64_t work() const { return work_; }

 private:
  // Runs the walk from `start`. With a target, returns as soon as all of
  // it is reached (true) and leaves the walk unfinished.
  bool walk(const AttributeSet& start, const AttributeSet* target, int skip);
  // The walk once the start attributes are queued.
  bool propagate(int skip);
  bool reach(int id);
  void startCall();

  int attributeCount_;
  std::uint64_t work_ = 0;
  // Dependency d has the right side rightIds[rightStart[d]] ..
  // rightIds[rightStart[d + 1] - 1]. Dependencies next to each other with
  // one left side form a group, counted down once: a split right side
  // costs no more than the whole. Group g is dependencies groupStart[g] ..
  // groupStart[g + 1] - 1, with leftSize[g] left-side attributes; they
  // fire in their order, as they would one by one.
  std::vector<int> groupStart;
  std::vector<int> leftSize;
  std::vector<int> rightStart;
  std::vector<int> rightIds;
  // Per dependency, for the size of its step.
  std::vector<int> namesOnLeft;
  // uses[useStart[a]] .. uses[useStart[a + 1] - 1]: groups with attribute
  // a on the left.
  std::vector<int> useStart;
  std::vector<int> uses;
  std::vector<int> emptyLeft;
  std::vector<char> disabled;

  // Per call, per attribute and per group. A stamp different from `call`
  // means "untouched in this call", so a call resets nothing it does not
  // reach.
  std::uint32_t call = 0;
  std::vector<std::uint32_t> reachedStamp;
  std::vector<std::uint32_t> countStamp;
  std::vector<int> remaining;
  std::vector<int> queue;
  int targetLeft = 0;
  const AttributeSet* target = nullptr;
  StepList<ClosureStep>* trace = nullptr;
};

}  // namespace fdtools::design

#endif  // DESIGN_CLOSUREINDEX_H_
