// Grading by properties: whether two dependency sets are equivalent,
// whether one is a minimal cover of another, and whether a decomposition is
// lossless, preserving and in a normal form. Each failed property comes
// with its witnesses, since right answers to design exercises are not
// unique and comparing text would mark them wrong.
#ifndef DESIGN_CHECKS_H_
#define DESIGN_CHECKS_H_

#include <optional>
#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Chase.h"
#include "design/NormalForm.h"
#include "design/Schema.h"
#include "design/Undecided.h"

namespace fdtools::design {

class Audit;

// Which of the two dependency sets compared: the given one (the first
// file) or the other (the second file: the other set, or the cover).
// Numbered as the files are.
enum class FileSide { kFirst = 1, kSecond = 2 };

// A dependency of one set that the other set does not imply.
struct ImplicationWitness {
  FileSide from = FileSide::kFirst;
  int index = 0;
};

// Every dependency of either set that the other does not imply, those of
// `first` first. Empty exactly when the sets are equivalent.
std::vector<ImplicationWitness> nonImplied(
    int attributeCount, const std::vector<Dependency>& first,
    const std::vector<Dependency>& second);

enum class CoverProperty {
  kEquivalent,
  kSingleRightSide,
  kNoExtraneousAttribute,
  kNoRedundantDependency,
};

// "equivalent", "single-right-side", "no-extraneous-attribute",
// "no-redundant-dependency".
const char* propertyName(CoverProperty property);

struct CoverFailure {
  CoverProperty property = CoverProperty::kEquivalent;
  // For kEquivalent, which set the dependency is from; otherwise the
  // cover's.
  FileSide from = FileSide::kSecond;
  int index = 0;
  // The extraneous attribute, for "no-extraneous-attribute".
  int attribute = -1;
};

// Whether `cover` is a minimal cover of `given`, property by property.
std::vector<CoverFailure> checkCover(int attributeCount,
                                     const std::vector<Dependency>& given,
                                     const std::vector<Dependency>& cover);

enum class DecompositionProperty { kLossless, kPreserving, k3nf, kBcnf, k4nf };

// "lossless", "preserving", "3NF", "BCNF", "4NF".
const char* propertyName(DecompositionProperty property);

struct DecompositionFailure {
  DecompositionProperty property = DecompositionProperty::kLossless;
  // The dependency (of the input, for "preserving"; of the table's cover,
  // for a normal form) and the table, where they apply.
  int index = -1;
  int table = -1;
  Dependency dependency;
  // What the tables do not reach, for "preserving".
  AttributeSet missing;
  // The dependency is X ->> Y, for 4NF.
  bool multivalued = false;
};

struct DecompositionCheck {
  // Set when a table was too large to decide; then the failures are not
  // complete.
  std::optional<Undecided> undecided;
  std::vector<DecompositionFailure> failures;
  // The final chase tableau, for the kLossless failure.
  ChaseResult chase;
};

// The schema's tables graded as a decomposition: lossless (under the MVDs
// too), preserving (the FDs) and, when `form` is 3NF, BCNF or 4NF, every
// table in it. Uses and fills `audit`.
DecompositionCheck checkDecomposition(Audit& audit,
                                      std::optional<NormalFormName> form);

}  // namespace fdtools::design

#endif  // DESIGN_CHECKS_H_
