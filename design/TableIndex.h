// Which tables hold a set of attributes, without testing every table: a
// table that holds the set holds its lowest attribute, so only the tables
// listed under that attribute are tested.
#ifndef DESIGN_TABLEINDEX_H_
#define DESIGN_TABLEINDEX_H_

#include <cstddef>
#include <vector>

#include "design/AttributeSet.h"

namespace fdtools::design {

class TableIndex {
 public:
  // `tables` must outlive the index.
  explicit TableIndex(const std::vector<AttributeSet>& tables);

  // The positions of the tables that hold all of `set`, ascending; every
  // table for the empty set.
  std::vector<std::size_t> holding(const AttributeSet& set) const;

 private:
  const std::vector<AttributeSet>& tables;
  std::vector<std::vector<std::size_t>> byAttribute;
};

}  // namespace fdtools::design

#endif  // DESIGN_TABLEINDEX_H_
