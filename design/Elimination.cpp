#include "design/Elimination.h"

#include <cstddef>
#include <limits>

namespace fdtools::design {
namespace {

// The dependencies on local ids, the attributes that occur in them, with
// an index by side; a dependency is dropped by clearing `alive`.
class Clauses {
 public:
  struct Clause {
    AttributeSet left;
    int right = -1;
    bool alive = true;
  };

  explicit Clauses(int localCount)
      : byLeft(static_cast<std::size_t>(localCount)),
        byRight(static_cast<std::size_t>(localCount)),
        liveLeft(static_cast<std::size_t>(localCount), 0),
        liveRight(static_cast<std::size_t>(localCount), 0) {}

  // Adds left -> right unless it is trivial or some X -> right with X
  // inside `left` is there already; drops those it makes redundant.
  void add(const AttributeSet& left, int right) {
    if (left.contains(right)) return;
    std::vector<int>& same = byRight[right];
    for (const int k : same) {
      Clause& other = clauses[k];
      if (!other.alive) continue;
      work += 1 + static_cast<std::uint64_t>(other.left.size());
      if (other.left.isSubsetOf(left)) return;
      if (left.isSubsetOf(other.left)) drop(k);
    }
    // Dropped entries are swept when they make up half of the list.
    if (same.size() > 16 &&
        static_cast<std::size_t>(liveRight[right]) * 2 < same.size()) {
      std::size_t kept = 0;
      for (const int k : same) {
        if (clauses[k].alive) same[kept++] = k;
      }
      same.resize(kept);
    }
    const int id = static_cast<int>(clauses.size());
    clauses.push_back({left, right, true});
    ++live;
    same.push_back(id);
    ++liveRight[right];
    for (int a = left.first(); a >= 0; a = left.next(a)) {
      byLeft[a].push_back(id);
      ++liveLeft[a];
    }
    work += 1 + static_cast<std::uint64_t>(left.size());
  }

  void drop(int k) {
    Clause& clause = clauses[k];
    if (!clause.alive) return;
    clause.alive = false;
    --live;
    --liveRight[clause.right];
    for (int a = clause.left.first(); a >= 0; a = clause.left.next(a)) {
      --liveLeft[a];
    }
  }

  // Replaces every dependency that mentions `b` by the resolvents on it;
  // false if the work passed `limit` on the way.
  bool eliminate(int b, std::uint64_t limit) {
    std::vector<AttributeSet> into;
    for (const int k : byRight[b]) {
      if (clauses[k].alive) into.push_back(clauses[k].left);
    }
    std::vector<std::pair<AttributeSet, int>> from;
    for (const int k : byLeft[b]) {
      if (!clauses[k].alive) continue;
      AttributeSet rest = clauses[k].left;
      rest.erase(b);
      from.emplace_back(std::move(rest), clauses[k].right);
    }
    for (const int k : byRight[b]) drop(k);
    for (const int k : byLeft[b]) drop(k);
    byRight[b].clear();
    byLeft[b].clear();
    for (const AttributeSet& x : into) {
      if (work > limit) return false;
      for (const auto& [rest, c] : from) add(x | rest, c);
    }
    return true;
  }

  // The product of the dependencies into and out of `b`: how many
  // resolvents eliminating it may make.
  std::uint64_t fanOf(int b) const {
    return static_cast<std::uint64_t>(liveRight[b]) *
           static_cast<std::uint64_t>(liveLeft[b]);
  }

  std::vector<Clause> clauses;
  std::vector<std::vector<int>> byLeft;
  std::vector<std::vector<int>> byRight;
  std::vector<int> liveLeft;
  std::vector<int> liveRight;
  std::size_t live = 0;
  std::uint64_t work = 0;
};

}  // namespace

std::optional<std::vector<Dependency>> eliminateOutside(
    int attributeCount, const AttributeSet& part,
    const std::vector<Dependency>& dependencies, std::uint64_t workLimit,
    std::uint64_t* work) {
  std::vector<int> local(static_cast<std::size_t>(attributeCount), -1);
  std::vector<int> global;
  const auto localOf = [&](int a) {
    if (local[a] < 0) {
      local[a] = static_cast<int>(global.size());
      global.push_back(a);
    }
    return local[a];
  };
  for (const Dependency& dependency : dependencies) {
    for (int a = dependency.left.first(); a >= 0; a = dependency.left.next(a)) {
      localOf(a);
    }
    for (int a = dependency.right.first(); a >= 0;
         a = dependency.right.next(a)) {
      localOf(a);
    }
  }
  const int localCount = static_cast<int>(global.size());
  Clauses clauses(localCount);
  for (const Dependency& dependency : dependencies) {
    AttributeSet left(localCount);
    for (int a = dependency.left.first(); a >= 0; a = dependency.left.next(a)) {
      left.insert(local[a]);
    }
    for (int a = dependency.right.first(); a >= 0;
         a = dependency.right.next(a)) {
      clauses.add(left, local[a]);
    }
  }
  std::vector<int> outside;
  for (int b = 0; b < localCount; ++b) {
    if (!part.contains(global[b])) outside.push_back(b);
  }
  const auto over = [&] {
    *work += clauses.work;
    clauses.work = 0;
    return *work > workLimit;
  };
  // The attribute with the fewest resolvents goes first: attributes on one
  // side only go for nothing, and the costly ones wait until the others
  // have thinned what meets them.
  while (!outside.empty()) {
    if (over()) return std::nullopt;
    std::size_t best = 0;
    std::uint64_t bestFan = std::numeric_limits<std::uint64_t>::max();
    for (std::size_t i = 0; i < outside.size(); ++i) {
      const std::uint64_t fan = clauses.fanOf(outside[i]);
      if (fan < bestFan) {
        bestFan = fan;
        best = i;
      }
    }
    *work += outside.size();
    if (*work > workLimit) return std::nullopt;
    const int b = outside[best];
    outside[best] = outside.back();
    outside.pop_back();
    if (!clauses.eliminate(b, workLimit - *work)) return std::nullopt;
  }
  if (over()) return std::nullopt;
  std::vector<Dependency> result;
  result.reserve(clauses.live);
  for (const Clauses::Clause& clause : clauses.clauses) {
    if (!clause.alive) continue;
    AttributeSet left(attributeCount);
    for (int a = clause.left.first(); a >= 0; a = clause.left.next(a)) {
      left.insert(global[a]);
    }
    AttributeSet right(attributeCount);
    right.insert(global[clause.right]);
    result.push_back({std::move(left), std::move(right)});
  }
  return result;
}

}  // namespace fdtools::design
