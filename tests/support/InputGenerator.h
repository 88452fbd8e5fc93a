// Deterministic checker inputs of a chosen size in which every dependency is
// preserved, so that a run tests all of them.
#ifndef TESTS_SUPPORT_INPUTGENERATOR_H_
#define TESTS_SUPPORT_INPUTGENERATOR_H_

#include <cstdint>
#include <string>

namespace fdtools {

struct InputShape {
  int attributes = 200;
  int dependencies = 400;
  int tables = 40;
  std::uint64_t seed = 1;
  // How many tables one dependency chain spans; the attributes are cut
  // into chains of that length. As many as `tables` gives one chain
  // through the whole schema, the costliest shape for the checker.
  int chainTables = 4;
};

// Attributes a0..aN-1 lie in overlapping windows, one per table, so that
// consecutive attributes always share a table. The dependencies, shuffled:
// chains a_i -> a_i+1 (each link inside a table); long-range a_i -> a_j,
// j > i in the same chain, which hold only through the chain and, with the
// tables shuffled, need several passes; and local ones with both sides in
// one table.
// Fewer than two attributes, fewer than one table, or fewer dependencies
// than the chain needs are raised to those minimums.
std::string generateCheckerInput(const InputShape& shape);

}  // namespace fdtools

#endif  // TESTS_SUPPORT_INPUTGENERATOR_H_
