// The normal form of one relation, from a minimal cover of the
// dependencies that hold in it and its keys. BCNF: every nontrivial X -> A
// that holds has a superkey X. 3NF: or A is prime. 2NF: no non-prime
// attribute follows from a proper subset of a key. Checking the cover is
// enough for BCNF and 3NF; for 2NF the maximal proper subsets of each key
// are closed, since closure is monotone.
#ifndef DESIGN_NORMALFORM_H_
#define DESIGN_NORMALFORM_H_

#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Keys.h"
#include "design/Schema.h"

namespace fdtools::design {

struct Violation {
  Dependency dependency;
  // Strongest first: "BCNF", "3NF", "2NF".
  std::vector<std::string> violates;
};

struct NormalFormResult {
  AttributeSet attributes;
  bool decided = true;
  std::string reason;
  // "BCNF", "3NF", "2NF" or "1NF".
  std::string form;
  KeySet keys;
  std::vector<Dependency> cover;
  // Enough that every form the relation fails has at least one.
  std::vector<Violation> violations;
};

// `cover` is a minimal cover of the dependencies that hold in the relation
// on `attributes`, all inside it.
// `keys`, when given, are those of the relation, found before.
NormalFormResult analyzeRelation(int attributeCount,
                                 const AttributeSet& attributes,
                                 const std::vector<Dependency>& cover,
                                 int maxKeys, const KeySet* keys = nullptr);

// The result for a relation that could not be decided.
NormalFormResult undecidedRelation(const AttributeSet& attributes,
                                   std::string reason);

}  // namespace fdtools::design

#endif  // DESIGN_NORMALFORM_H_
