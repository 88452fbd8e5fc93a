#include "design/Cover.h"

#include <map>

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

std::vector<Dependency> minimalCover(
    int attributeCount, const std::vector<Dependency>& dependencies,
    StepList<CoverStep>* steps) {
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
  {
    ClosureIndex index(attributeCount, cover);
    std::map<std::vector<int>, std::vector<std::size_t>> byLeft;
    for (std::size_t d = 0; d < cover.size(); ++d) {
      byLeft[cover[d].left.ids()].push_back(d);
    }
    for (auto& [ids, members] : byLeft) {
      // Dependencies with the same left side so far.
      std::vector<std::vector<std::size_t>> classes = {std::move(members)};
      for (const int a : ids) {
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
  }
  ClosureIndex index(attributeCount, cover);
  std::vector<char> kept(cover.size(), 1);
  for (std::size_t d = 0; d < cover.size(); ++d) {
    const int skip = static_cast<int>(d);
    bool redundant = false;
    if (steps != nullptr) {
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
  std::vector<Dependency> result;
  for (std::size_t d = 0; d < cover.size(); ++d) {
    if (kept[d]) result.push_back(std::move(cover[d]));
  }
  return result;
}

}  // namespace fdtools::design
