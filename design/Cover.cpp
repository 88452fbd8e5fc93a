#include "design/Cover.h"

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
  // under the original split set answer for every later step too.
  {
    ClosureIndex index(attributeCount, cover);
    for (Dependency& dependency : cover) {
      const AttributeSet original = dependency.left;
      for (int a = original.first(); a >= 0; a = original.next(a)) {
        AttributeSet smaller = dependency.left;
        smaller.erase(a);
        if (index.implies(smaller, dependency.right)) dependency.left = smaller;
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
