#include "design/Projection.h"

#include <cstdint>
#include <string>

#include "design/Cover.h"

namespace fdtools::design {
namespace {

// The next larger number with the same count of one bits (Gosper).
std::uint32_t nextSameCount(std::uint32_t mask) {
  const std::uint32_t lowest = mask & (~mask + 1);
  const std::uint32_t ripple = mask + lowest;
  return ripple | (((mask ^ ripple) >> 2) / lowest);
}

}  // namespace

Projection projectOnto(const AttributeSet& table, int attributeCount,
                       const std::vector<Dependency>& cover,
                       ClosureIndex& index) {
  Projection result;
  // A table of every attribute keeps F as it is.
  if (AttributeSet::all(attributeCount).isSubsetOf(table)) {
    result.cover = cover;
    return result;
  }
  AttributeSet leftAttributes(attributeCount);
  for (const Dependency& dependency : cover) leftAttributes |= dependency.left;
  const std::vector<int> candidates = (table & leftAttributes).ids();
  const int m = static_cast<int>(candidates.size());
  if (m > kMaxProjectionLeftAttributes) {
    result.decided = false;
    result.reason = std::to_string(m) +
                    " of the table's attributes occur on left sides; exact "
                    "projection is limited to " +
                    std::to_string(kMaxProjectionLeftAttributes);
    return result;
  }
  // Sets are taken by growing size, so that a superset of a set that
  // already determines the whole table is skipped: what it implies follows
  // from that set.
  std::vector<std::uint32_t> superkeys;
  std::vector<Dependency> projected;
  const std::uint32_t end = std::uint32_t{1} << m;
  for (int size = 0; size <= m; ++size) {
    std::uint32_t mask = size == 0 ? 0 : (std::uint32_t{1} << size) - 1;
    for (; mask < end; mask = size == 0 ? end : nextSameCount(mask)) {
      bool skip = false;
      for (const std::uint32_t key : superkeys) {
        if ((mask & key) == key) {
          skip = true;
          break;
        }
      }
      if (skip) continue;
      AttributeSet left(attributeCount);
      for (int i = 0; i < m; ++i) {
        if (mask >> i & 1) left.insert(candidates[i]);
      }
      const AttributeSet reached = index.closure(left) & table;
      if (table.isSubsetOf(reached)) superkeys.push_back(mask);
      const AttributeSet added = reached - left;
      if (!added.empty()) projected.push_back({left, added});
      if (size == 0) break;
    }
  }
  result.cover = minimalCover(attributeCount, projected);
  return result;
}

}  // namespace fdtools::design
