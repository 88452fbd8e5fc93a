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
    int attributeCount, const std::vector<Dependency>& dependencies) {
  std::vector<Dependency> cover = splitRightSides(attributeCount, dependencies);
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
          for (const std::size_t d : shrunk) cover[d].left = smaller;
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
    if (index.implies(cover[d].left, cover[d].right, static_cast<int>(d))) {
      index.disable(static_cast<int>(d));
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
