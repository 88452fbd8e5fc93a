#include "design/TableIndex.h"

namespace fdtools::design {

TableIndex::TableIndex(const std::vector<AttributeSet>& tables)
    : tables(tables) {
  for (std::size_t t = 0; t < tables.size(); ++t) {
    for (int a = tables[t].first(); a >= 0; a = tables[t].next(a)) {
      if (static_cast<std::size_t>(a) >= byAttribute.size()) {
        byAttribute.resize(static_cast<std::size_t>(a) + 1);
      }
      byAttribute[a].push_back(t);
    }
  }
}

std::vector<std::size_t> TableIndex::holding(const AttributeSet& set) const {
  std::vector<std::size_t> result;
  const int lowest = set.first();
  if (lowest < 0) {
    for (std::size_t t = 0; t < tables.size(); ++t) result.push_back(t);
    return result;
  }
  if (static_cast<std::size_t>(lowest) >= byAttribute.size()) return result;
  for (const std::size_t t : byAttribute[lowest]) {
    if (set.isSubsetOf(tables[t])) result.push_back(t);
  }
  return result;
}

}  // namespace fdtools::design
