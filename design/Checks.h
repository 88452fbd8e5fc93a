// Grading by properties: whether two dependency sets are equivalent,
// whether one is a minimal cover of another, and whether a decomposition is
// lossless, preserving and in a normal form. Each failed property comes
// with its witnesses, since right answers to design exercises are not
// unique and comparing text would mark them wrong.
#ifndef DESIGN_CHECKS_H_
#define DESIGN_CHECKS_H_

#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Chase.h"
#include "design/Schema.h"

namespace fdtools::design {

// A dependency of one set that the other set does not imply.
struct ImplicationWitness {
  // 1 or 2: the set the dependency belongs to.
  int from = 1;
  int index = 0;
};

// Every dependency of either set that the other does not imply, those of
// `first` first. Empty exactly when the sets are equivalent.
std::vector<ImplicationWitness> nonImplied(
    int attributeCount, const std::vector<Dependency>& first,
    const std::vector<Dependency>& second);

struct CoverFailure {
  // "equivalent", "single-right-side", "no-extraneous-attribute" or
  // "no-redundant-dependency".
  std::string property;
  // For "equivalent", which set the dependency is from (1: the given set,
  // 2: the cover); otherwise 2.
  int from = 2;
  int index = 0;
  // The extraneous attribute, for "no-extraneous-attribute".
  int attribute = -1;
};

// Whether `cover` is a minimal cover of `given`, property by property.
std::vector<CoverFailure> checkCover(int attributeCount,
                                     const std::vector<Dependency>& given,
                                     const std::vector<Dependency>& cover);

struct DecompositionFailure {
  // "lossless", "preserving", "3NF" or "BCNF".
  std::string property;
  // The dependency (of the input, for "preserving"; of the table's cover,
  // for a normal form) and the table, where they apply.
  int index = -1;
  int table = -1;
  Dependency dependency;
  // What the tables do not reach, for "preserving".
  AttributeSet missing;
};

struct DecompositionCheck {
  // False when a table was too large to decide; then `reason` says why and
  // the failures are not complete.
  bool decided = true;
  std::string reason;
  std::vector<DecompositionFailure> failures;
  // The final chase tableau, for the "lossless" failure.
  ChaseResult chase;
};

// `form` is "", "3NF" or "BCNF".
DecompositionCheck checkDecomposition(const Schema& schema,
                                      const std::string& form, int maxKeys);

}  // namespace fdtools::design

#endif  // DESIGN_CHECKS_H_
