// The normal form of one relation, from a minimal cover of the
// dependencies that hold in it and its keys. BCNF: every nontrivial X -> A
// that holds has a superkey X. 3NF: or A is prime. 2NF: no non-prime
// attribute follows from a proper subset of a key. Checking the cover is
// enough for BCNF and 3NF; for 2NF the maximal proper subsets of each key
// are closed, since closure is monotone.
#ifndef DESIGN_NORMALFORM_H_
#define DESIGN_NORMALFORM_H_

#include <optional>
#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Keys.h"
#include "design/Schema.h"
#include "design/Undecided.h"
#include "design/WorkBudget.h"

namespace fdtools::design {

// Weakest first, so that a stronger form compares greater. 4NF only with
// multivalued dependencies.
enum class NormalFormName { k1nf, k2nf, k3nf, kBcnf, k4nf };

// "1NF", "2NF", "3NF", "BCNF", "4NF".
const char* formName(NormalFormName form);

// Why a dependency X -> Y breaks a form, by the definitions: X+ within the
// relation is not all of it (so X is no superkey), whether every attribute
// of Y is prime (if not, 3NF fails too), and for 2NF the key of which X is
// a proper part.
struct ViolationReason {
  AttributeSet leftClosure;
  bool rightPrime = false;
  std::optional<AttributeSet> partOfKey;
};

struct Violation {
  Dependency dependency;
  // Strongest first: 4NF, BCNF, 3NF, 2NF.
  std::vector<NormalFormName> violates;
  // X ->> Y rather than X -> Y.
  bool multivalued = false;
  ViolationReason reason;

  bool breaks(NormalFormName form) const;
};

struct NormalFormResult {
  AttributeSet attributes;
  std::optional<Undecided> undecided;
  // The strongest form the relation is in, when decided.
  NormalFormName form = NormalFormName::k1nf;
  KeySet keys;
  std::vector<Dependency> cover;
  // Set when the form was decided without the dependencies that hold in the
  // relation, from evidence (see FormEvidence.h): why they are not listed.
  // `cover` is then empty.
  std::optional<Undecided> coverStopped;
  // Enough that every form the relation fails has at least one.
  std::vector<Violation> violations;
};

// `cover` is a minimal cover of the dependencies that hold in the relation
// on `attributes`, all inside it.
// `keys`, when given, are those of the relation, found before (maybe not
// all of them: the form is then decided as far as the keys found and a
// search for the prime attributes allow). The key and primality searches
// draw on `budget`, or on a budget of their own.
NormalFormResult analyzeRelation(int attributeCount,
                                 const AttributeSet& attributes,
                                 const std::vector<Dependency>& cover,
                                 int maxKeys, const KeySet* keys = nullptr,
                                 WorkBudget* budget = nullptr);

// The result for a relation that could not be decided.
NormalFormResult undecidedRelation(const AttributeSet& attributes,
                                   Undecided why);

}  // namespace fdtools::design

#endif  // DESIGN_NORMALFORM_H_
