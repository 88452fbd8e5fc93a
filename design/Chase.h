// The lossless-join test: the chase of a tableau with one row per table and
// one column per attribute. A cell starts as the distinguished symbol where
// the row's table has the attribute, else as a symbol of its own; symbols
// are equated under the dependencies until nothing changes. The join is
// lossless exactly when some row ends all distinguished; otherwise the
// final tableau is itself a counterexample instance.
#ifndef DESIGN_CHASE_H_
#define DESIGN_CHASE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Multivalued.h"
#include "design/Schema.h"
#include "design/Steps.h"
#include "design/Undecided.h"

namespace fdtools::design {

// One chase move: rows `rows` agree on the left side of dependency
// `dependency` (of the list chased with), so in `column` the symbol `from`
// becomes `to` throughout. Symbols as in ChaseResult::tableau.
struct ChaseStep {
  int dependency = 0;
  std::pair<int, int> rows;
  int column = 0;
  int from = 0;
  int to = 0;
};

struct ChaseSteps {
  // The list chased with, which ChaseStep::dependency indexes.
  std::vector<Dependency> dependencies;
  // The tableau before the first move.
  std::vector<std::vector<int>> initial;
  StepList<ChaseStep> moves;
};

// A cell of a compact tableau that no longer holds its first symbol.
struct ChangedCell {
  int row = 0;
  int column = 0;
  int symbol = 0;
};

// Tableaux of more cells than this are kept by their changed cells only:
// tables of a few attributes each over thousands of attributes would take
// gigabytes as rows of every column, and nearly all of those cells never
// change.
constexpr std::size_t kMaxDenseTableauCells = std::size_t{1} << 22;

struct ChaseResult {
  bool lossless = false;
  // tableau[row][attribute]: 0 is the distinguished symbol, r + 1 the
  // symbol that started in row r. When two symbols are equated, the
  // distinguished one wins, else the one of the lower row. Multivalued
  // dependencies add rows after those of the tables.
  std::vector<std::vector<int>> tableau;
  // Set when the chase stopped at its row limit: then `lossless` is false
  // and says nothing.
  std::optional<Undecided> undecided;
  // Lossless because the tables join pair by pair, the chase having
  // stopped at its limits: `tableau` holds only the tables' rows.
  bool joinedPairwise = false;
  // Set by the chase under FDs when rows x attributes exceed
  // kMaxDenseTableauCells: `tableau` is then empty, `changed` lists, by row
  // and then column, every cell whose symbol is not the one it started
  // with, and `distinguishedRows` the rows that ended all distinguished.
  bool compact = false;
  std::vector<ChangedCell> changed;
  std::vector<int> distinguishedRows;
};

// With `steps`, the initial tableau and every move are recorded.
ChaseResult chase(int attributeCount, const std::vector<AttributeSet>& tables,
                  const std::vector<Dependency>& dependencies,
                  ChaseSteps* steps = nullptr);

constexpr std::size_t kMaxChaseRows = 2000;
// Cells of the rows that MVDs make, kept or not: about a quarter of a
// second.
constexpr std::uint64_t kChaseWorkBudget = std::uint64_t{1} << 25;

// The chase with multivalued dependencies too: an MVD X ->> Y adds, for
// two rows that agree on X, the row that takes X and Y from the first and
// the rest from the second. Stops at `maxRows` rows or at the work budget,
// undecided.
ChaseResult chaseWithMultivalued(int attributeCount,
                                 const std::vector<AttributeSet>& tables,
                                 const std::vector<Dependency>& functional,
                                 const std::vector<Dependency>& multivalued,
                                 std::size_t maxRows = kMaxChaseRows);

// A sufficient test under FDs and MVDs, without a tableau: joins two
// tables S and T whenever the join is lossless on its own (S & T ->> S - T
// within S | T: each block of the basis of S & T within S | T lies on one
// side), until one table holds every attribute (true) or no pair joins, or
// the budget of steps runs out (false, which says nothing).
bool losslessThroughMerges(const std::vector<AttributeSet>& tables,
                           const MixedImplication& dependencies,
                           std::uint64_t budget = kChaseWorkBudget);

// A sufficient test, without a tableau of tables times attributes: true
// when some table determines every attribute through the dependencies that
// lie inside a single table. The chase makes that table's row
// distinguished column by column: another row is distinguished on the
// whole dependency and agrees with it on the left side. False says
// nothing; then only the chase decides.
bool losslessThroughTables(int attributeCount,
                           const std::vector<AttributeSet>& tables,
                           const std::vector<Dependency>& dependencies);
// The first table that proves it so, or -1.
int tableDeterminingAll(int attributeCount,
                        const std::vector<AttributeSet>& tables,
                        const std::vector<Dependency>& dependencies);

}  // namespace fdtools::design

#endif  // DESIGN_CHASE_H_
