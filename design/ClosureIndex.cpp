#include "design/ClosureIndex.h"

namespace fdtools::design {

ClosureIndex::ClosureIndex(int attributeCount,
                           const std::vector<Dependency>& dependencies)
    : attributeCount_(attributeCount),
      useStart(static_cast<std::size_t>(attributeCount) + 1, 0),
      disabled(dependencies.size(), 0),
      reachedStamp(static_cast<std::size_t>(attributeCount), 0) {
  rightStart.push_back(0);
  for (std::size_t d = 0; d < dependencies.size(); ++d) {
    const Dependency& dependency = dependencies[d];
    for (int a = dependency.right.first(); a >= 0;
         a = dependency.right.next(a)) {
      rightIds.push_back(a);
    }
    rightStart.push_back(static_cast<int>(rightIds.size()));
    namesOnLeft.push_back(dependency.left.size());
    if (d > 0 && dependency.left == dependencies[d - 1].left) continue;
    const int group = static_cast<int>(leftSize.size());
    groupStart.push_back(static_cast<int>(d));
    leftSize.push_back(dependency.left.size());
    for (int a = dependency.left.first(); a >= 0; a = dependency.left.next(a)) {
      ++useStart[a + 1];
    }
    if (dependency.left.empty()) emptyLeft.push_back(group);
  }
  groupStart.push_back(static_cast<int>(dependencies.size()));
  for (int a = 0; a < attributeCount; ++a) useStart[a + 1] += useStart[a];
  uses.resize(static_cast<std::size_t>(useStart[attributeCount]));
  std::vector<int> next(useStart.begin(), useStart.end() - 1);
  for (std::size_t g = 0; g < leftSize.size(); ++g) {
    const AttributeSet& left =
        dependencies[static_cast<std::size_t>(groupStart[g])].left;
    for (int a = left.first(); a >= 0; a = left.next(a)) {
      uses[next[a]++] = static_cast<int>(g);
    }
  }
  countStamp.assign(leftSize.size(), 0);
  remaining.assign(leftSize.size(), 0);
  queue.reserve(static_cast<std::size_t>(attributeCount));
}

AttributeSet ClosureIndex::closure(const AttributeSet& start) {
  return closure(start, -1);
}

AttributeSet ClosureIndex::closure(const AttributeSet& start, int skip,
                                   StepList<ClosureStep>* steps) {
  trace = steps;
  walk(start, nullptr, skip);
  trace = nullptr;
  AttributeSet result(attributeCount_);
  for (const int id : queue) result.insert(id);
  return result;
}

bool ClosureIndex::implies(const AttributeSet& start, const AttributeSet& goal,
                           int skip) {
  return walk(start, &goal, skip);
}

void ClosureIndex::startCall() {
  if (++call == 0) {
    // The stamps wrapped around: old ones could look current.
    std::fill(reachedStamp.begin(), reachedStamp.end(), 0);
    std::fill(countStamp.begin(), countStamp.end(), 0);
    call = 1;
  }
  queue.clear();
}

// Adds `id` to the closure; true when that completes the target.
bool ClosureIndex::reach(int id) {
  if (reachedStamp[id] == call) return false;
  reachedStamp[id] = call;
  queue.push_back(id);
  ++work_;
  return target != nullptr && target->contains(id) && --targetLeft == 0;
}

bool ClosureIndex::walk(const AttributeSet& start, const AttributeSet* goal,
                        int skip) {
  startCall();
  target = goal;
  targetLeft = goal == nullptr ? -1 : goal->size();
  if (targetLeft == 0) return true;
  for (int a = start.first(); a >= 0; a = start.next(a)) {
    if (reach(a)) return true;
  }
  return propagate(skip);
}

const std::vector<int>& ClosureIndex::closureIds(
    const std::vector<int>& start) {
  startCall();
  target = nullptr;
  for (const int a : start) reach(a);
  propagate(-1);
  return queue;
}

bool ClosureIndex::propagate(int skip) {
  const auto fire = [&](int d) {
    if (d == skip || disabled[d]) return false;
    const std::size_t before = queue.size();
    for (int r = rightStart[d]; r < rightStart[d + 1]; ++r) {
      if (reach(rightIds[r])) return true;
    }
    if (trace != nullptr && queue.size() > before) {
      const std::vector<int> added(
          queue.begin() + static_cast<std::ptrdiff_t>(before), queue.end());
      trace->add(
          {d, AttributeSet::of(attributeCount_, added)},
          added.size() + static_cast<std::size_t>(namesOnLeft[d]) +
              static_cast<std::size_t>(rightStart[d + 1] - rightStart[d]));
    }
    return false;
  };
  const auto fireGroup = [&](int g) {
    for (int d = groupStart[g]; d < groupStart[g + 1]; ++d) {
      if (fire(d)) return true;
    }
    return false;
  };
  for (const int g : emptyLeft) {
    if (fireGroup(g)) return true;
  }
  for (std::size_t q = 0; q < queue.size(); ++q) {
    const int a = queue[q];
    work_ += static_cast<std::uint64_t>(useStart[a + 1] - useStart[a]);
    for (int u = useStart[a]; u < useStart[a + 1]; ++u) {
      const int g = uses[u];
      if (countStamp[g] != call) {
        countStamp[g] = call;
        remaining[g] = leftSize[g];
      }
      if (--remaining[g] == 0 && fireGroup(g)) return true;
    }
  }
  return target == nullptr;
}

}  // namespace fdtools::design
