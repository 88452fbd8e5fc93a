// Dependency preservation without projecting: for X -> Y, start with
// Z = X and, pass after pass, add (closure of Z within a table) within that
// table, for every table, until a pass adds nothing. X -> Y is preserved
// when Y lies in Z. Attributes in no table are never reached this way,
// unlike in fdcheck, which counts what follows from the empty set as
// reached; the two agree whenever every attribute lies in some table.
#ifndef DESIGN_PRESERVATION_H_
#define DESIGN_PRESERVATION_H_

#include <cstddef>
#include <map>
#include <vector>

#include "design/AttributeSet.h"
#include "design/ClosureIndex.h"
#include "design/Schema.h"

namespace fdtools::design {

struct PreservationStep {
  // From 1.
  int pass = 0;
  int table = 0;
  AttributeSet added;
};

struct DependencyPreservation {
  bool preserved = false;
  // Z at the end, the left side included.
  AttributeSet reached;
  // The right side's attributes outside Z.
  AttributeSet missing;
  std::vector<PreservationStep> steps;
  // False when the test ran for the verdict only (see
  // PreservationTester::test): `steps` is empty, and `reached` is the final
  // Z only when the dependency is lost.
  bool traced = true;
};

// How many attribute names the passes of one run may record in all, the
// reached sets included: beyond it the tests run for the verdict only. A
// chain of 10,000 attributes in one table would otherwise record 200
// million names (600 MB of text); this is about 60 MB.
constexpr std::size_t kPreservationTraceNames = std::size_t{1} << 23;

class PreservationTester {
 public:
  // `index` is over the dependencies of the schema (or an equivalent set)
  // and must outlive the tester; `tables` need not.
  PreservationTester(const std::vector<AttributeSet>& tables,
                     ClosureIndex& index);

  // With `verdictOnly`, the test stops once the right side is reached and
  // records no steps; `reached` then holds what was reached by then. For
  // callers that need the verdict and what is missing, not the passes.
  DependencyPreservation test(const Dependency& dependency,
                              bool verdictOnly = false);

 private:
  using Ids = std::vector<int>;
  // The ids of table `t` in the closure of `part` (ids of the table);
  // remembered, since different dependencies meet the same part of a table
  // again and again.
  const Ids& closeWithin(int t, const Ids& part);

  ClosureIndex& index;
  std::vector<Ids> tableIds;
  const std::vector<AttributeSet>& tables;
  // The tables that hold each attribute.
  std::vector<Ids> tablesOf;
  // The tables that meet the closure of the empty set.
  Ids tablesFromNothing;
  std::vector<std::map<Ids, Ids>> memo;
  // Ids the memo holds: past a limit, closures are no longer kept, so
  // that memory stays near the input's size.
  std::size_t memoIds = 0;
  Ids scratch;
  // Per test: whether a table is waiting to be closed, whether an
  // attribute is in Z.
  std::vector<char> due;
  std::vector<char> reached;
};

}  // namespace fdtools::design

#endif  // DESIGN_PRESERVATION_H_
