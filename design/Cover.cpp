#include "design/Cover.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>

#include "design/ClosureIndex.h"

namespace fdtools::design {

std::vector<Dependency> splitRightSides(
    int attributeCount, const std::vector<Dependency>& dependencies) {
  std::vector<Dependency> split;
  for (const Dependency& dependency : dependencies) {
    const AttributeSet right = dependency.right - dependency.left;
    for (int a = right.first(); a >= 0; a = right.next(a)) {
      split.push_back({dependency.left, AttributeSet::of(attributeCount, {a})});
    }
  }
  return split;
}

namespace {

// The distinct left sides of a list of dependencies, to tell cheaply when
// nothing but X itself can fire from a part of X: then no closure is
// needed to know that X loses no attribute, or that X -> A is needed.
class LeftSides {
 public:
  explicit LeftSides(int attributeCount,
                     const std::vector<Dependency>& dependencies)
      : dependencies(dependencies),
        byAttribute(static_cast<std::size_t>(attributeCount)) {
    std::map<std::vector<int>, int> seen;
    for (const Dependency& dependency : dependencies) {
      std::vector<int> ids = dependency.left.ids();
      const auto [it, isNew] =
          seen.emplace(std::move(ids), static_cast<int>(sizes.size()));
      sideOf.push_back(it->second);
      if (dependency.left.empty()) ++emptyMembers;
      if (!isNew) {
        ++members[static_cast<std::size_t>(it->second)];
        continue;
      }
      sizes.push_back(dependency.left.size());
      members.push_back(1);
      for (const int a : it->first) byAttribute[a].push_back(it->second);
    }
    for (std::vector<int>& sides : byAttribute) {
      std::sort(sides.begin(), sides.end(), [&](int x, int y) {
        return sizes[static_cast<std::size_t>(x)] <
               sizes[static_cast<std::size_t>(y)];
      });
    }
    counts.assign(sizes.size(), 0);
    stamps.assign(sizes.size(), 0);
  }

  // Whether a left side lies strictly inside that of dependency `d`, or,
  // when `equalCounts`, another dependency has the same one.
  bool anyInside(std::size_t d, bool equalCounts) {
    if (equalCounts && members[static_cast<std::size_t>(sideOf[d])] > 1) {
      return true;
    }
    const AttributeSet& left = dependencies[d].left;
    if (left.empty()) return false;
    if (emptyMembers > 0) return true;
    ++stamp;
    const int size = left.size();
    for (int a = left.first(); a >= 0; a = left.next(a)) {
      for (const int side : byAttribute[static_cast<std::size_t>(a)]) {
        const std::size_t s = static_cast<std::size_t>(side);
        if (sizes[s] >= size) break;
        if (stamps[s] != stamp) {
          stamps[s] = stamp;
          counts[s] = 0;
        }
        if (++counts[s] == sizes[s]) return true;
      }
    }
    return false;
  }

 private:
  const std::vector<Dependency>& dependencies;
  std::vector<int> sideOf;
  std::vector<std::vector<int>> byAttribute;
  std::vector<int> sizes;
  std::vector<int> members;
  int emptyMembers = 0;
  std::vector<int> counts;
  std::vector<unsigned> stamps;
  unsigned stamp = 0;
};

// The cover, or nothing once the closures have done more than `workLimit`
// work; what they did is added to `*work` when given.
std::optional<std::vector<Dependency>> reduce(
    int attributeCount, const std::vector<Dependency>& dependencies,
    StepList<CoverStep>* steps, std::uint64_t workLimit, std::uint64_t* work) {
  std::vector<Dependency> cover = splitRightSides(attributeCount, dependencies);
  if (steps != nullptr) {
    // A dependency that is already one nontrivial attribute on the right
    // is not split.
    std::size_t at = 0;
    for (const Dependency& dependency : dependencies) {
      const int parts = (dependency.right - dependency.left).size();
      if (parts != 1 || dependency.right.size() != 1) {
        CoverStep step;
        step.dependency = dependency;
        step.into.assign(
            cover.begin() + static_cast<std::ptrdiff_t>(at),
            cover.begin() + static_cast<std::ptrdiff_t>(at) + parts);
        const std::size_t names =
            static_cast<std::size_t>(dependency.left.size() + 1) *
                static_cast<std::size_t>(parts + 1) +
            static_cast<std::size_t>(dependency.right.size());
        steps->add(std::move(step), names);
      }
      at += static_cast<std::size_t>(parts);
    }
  }
  // Dropping an extraneous attribute leaves an equivalent set, so closures
  // under the original split set answer for every later step too. Then a
  // dependency's reduction depends on its own sides only, and those that
  // share a left side (a split right side) share each closure: they are
  // taken together, and part ways where one loses an attribute that
  // another keeps.
  std::uint64_t done = 0;
  const auto over = [&](const ClosureIndex& index) {
    return done + index.work() > workLimit;
  };
  {
    ClosureIndex index(attributeCount, cover);
    LeftSides sides(attributeCount, cover);
    std::map<std::vector<int>, std::vector<std::size_t>> byLeft;
    for (std::size_t d = 0; d < cover.size(); ++d) {
      byLeft[cover[d].left.ids()].push_back(d);
    }
    for (auto& [ids, members] : byLeft) {
      // Nothing fires from X less one attribute.
      if (!sides.anyInside(members.front(), false)) continue;
      // Dependencies with the same left side so far.
      std::vector<std::vector<std::size_t>> classes = {std::move(members)};
      for (const int a : ids) {
        if (over(index)) {
          if (work != nullptr) *work += done + index.work();
          return std::nullopt;
        }
        std::vector<std::vector<std::size_t>> next;
        for (std::vector<std::size_t>& group : classes) {
          AttributeSet smaller = cover[group.front()].left;
          smaller.erase(a);
          const AttributeSet reached = index.closure(smaller);
          std::vector<std::size_t> shrunk;
          std::vector<std::size_t> kept;
          for (const std::size_t d : group) {
            (cover[d].right.isSubsetOf(reached) ? shrunk : kept).push_back(d);
          }
          for (const std::size_t d : shrunk) {
            if (steps != nullptr) {
              steps->add(
                  {CoverStep::Rule::kExtraneous, cover[d], {}, a, reached},
                  static_cast<std::size_t>(reached.size() + smaller.size() +
                                           2));
            }
            cover[d].left = smaller;
          }
          if (!shrunk.empty()) next.push_back(std::move(shrunk));
          if (!kept.empty()) next.push_back(std::move(kept));
        }
        classes = std::move(next);
      }
    }
    done += index.work();
  }
  ClosureIndex index(attributeCount, cover);
  LeftSides sides(attributeCount, cover);
  std::vector<char> kept(cover.size(), 1);
  for (std::size_t d = 0; d < cover.size(); ++d) {
    if (over(index)) {
      if (work != nullptr) *work += done + index.work();
      return std::nullopt;
    }
    const int skip = static_cast<int>(d);
    bool redundant = false;
    if (!sides.anyInside(d, true)) {
      // Without it nothing fires from X: it is needed.
    } else if (steps != nullptr) {
      // The whole closure is the proof, so the walk does not stop early.
      AttributeSet reached = index.closure(cover[d].left, skip);
      redundant = cover[d].right.isSubsetOf(reached);
      if (redundant) {
        const std::size_t names =
            static_cast<std::size_t>(reached.size() + cover[d].left.size() + 1);
        steps->add(
            {CoverStep::Rule::kRedundant, cover[d], {}, -1, std::move(reached)},
            names);
      }
    } else {
      redundant = index.implies(cover[d].left, cover[d].right, skip);
    }
    if (redundant) {
      index.disable(skip);
      kept[d] = 0;
    }
  }
  if (work != nullptr) *work += done + index.work();
  std::vector<Dependency> result;
  for (std::size_t d = 0; d < cover.size(); ++d) {
    if (kept[d]) result.push_back(std::move(cover[d]));
  }
  return result;
}

}  // namespace

std::vector<Dependency> minimalCover(
    int attributeCount, const std::vector<Dependency>& dependencies,
    StepList<CoverStep>* steps) {
  return *reduce(attributeCount, dependencies, steps,
                 std::numeric_limits<std::uint64_t>::max(), nullptr);
}

std::optional<std::vector<Dependency>> minimalCoverWithin(
    int attributeCount, const std::vector<Dependency>& dependencies,
    std::uint64_t workLimit, std::uint64_t* work) {
  return reduce(attributeCount, dependencies, nullptr, workLimit, work);
}

}  // namespace fdtools::design
