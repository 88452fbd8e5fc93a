// Candidate keys by Lucchesi and Osborn's enumeration: from a key K and a
// dependency X -> Y that meets K, X u (K - Y) is a superkey; minimised, it
// is a key, new unless a known key lies inside it. Polynomial per key, where
// trying every subset would be exponential in the attributes.
#ifndef DESIGN_KEYS_H_
#define DESIGN_KEYS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/ClosureIndex.h"
#include "design/Schema.h"

namespace fdtools::design {

struct KeySet {
  // By size, then by their ids (so by their names) element by element.
  std::vector<AttributeSet> keys;
  // False when the enumeration stopped at a limit; then `keys` holds the
  // first ones found, sorted, `prime` only their attributes, and
  // `stoppedBy` names the limit.
  bool complete = true;
  AttributeSet prime;
  std::string stoppedBy;
};

// Enough for every key of schemas with thousands of attributes and
// dependencies when their keys number in the hundreds; about a second.
constexpr std::uint64_t kKeyWorkBudget = std::uint64_t{1} << 28;

// The keys of the relation on `universe` under `dependencies` (attributes
// of both sides inside `universe`): at most `maxKeys` of them, and no more
// once the closures have done `workBudget` work (see ClosureIndex::work).
KeySet findKeys(int attributeCount, const AttributeSet& universe,
                const std::vector<Dependency>& dependencies, int maxKeys,
                std::uint64_t workBudget = kKeyWorkBudget);

}  // namespace fdtools::design

#endif  // DESIGN_KEYS_H_
