// Candidate keys by Lucchesi and Osborn's enumeration: from a key K and a
// dependency X -> Y that meets K, X u (K - Y) is a superkey; minimised, it
// is a key, new unless a known key lies inside it. Polynomial per key, where
// trying every subset would be exponential in the attributes.
#ifndef DESIGN_KEYS_H_
#define DESIGN_KEYS_H_

#include <vector>

#include "design/AttributeSet.h"
#include "design/ClosureIndex.h"
#include "design/Schema.h"

namespace fdtools::design {

struct KeySet {
  // By size, then by their ids (so by their names) element by element.
  std::vector<AttributeSet> keys;
  // False when the enumeration stopped at its limit; then `keys` holds the
  // first ones found, sorted, and `prime` only their attributes.
  bool complete = true;
  AttributeSet prime;
};

// Removes from `superkey` every attribute, lowest id first, whose removal
// leaves a set whose closure under `index` still holds `universe`.
AttributeSet minimizeSuperkey(ClosureIndex& index, const AttributeSet& universe,
                              AttributeSet superkey);

// The keys of the relation on `universe` under `dependencies` (attributes
// of both sides inside `universe`), at most `maxKeys` of them.
KeySet findKeys(int attributeCount, const AttributeSet& universe,
                const std::vector<Dependency>& dependencies, int maxKeys);

}  // namespace fdtools::design

#endif  // DESIGN_KEYS_H_
