// How two tables are joined, and the size limits that keep a join from
// outgrowing time and memory: the nested loop examines every pair of rows,
// and a product of tables can be far larger than the input.
#ifndef JOIN_JOINPLAN_H_
#define JOIN_JOINPLAN_H_

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "join/Table.h"

namespace fdtools {

// At most this many pairs of rows are examined by one join.
constexpr std::uint64_t kMaxRowPairs = std::uint64_t{1} << 28;
// A join result may always hold this many cells...
constexpr std::uint64_t kMinCellLimit = std::uint64_t{1} << 22;
// ...and up to this many per cell read.
constexpr std::uint64_t kCellLimitPerInputCell = 4;

struct JoinPlan {
  // (source, column): source 0 is the left table, 1 the right one.
  using OutputColumn = std::pair<int, std::size_t>;
  // (left column, right column) whose cells must be equal.
  using Condition = std::pair<std::size_t, std::size_t>;

  std::vector<OutputColumn> outputColumns;
  std::vector<Condition> conditions;
};

// Which columns the result of joining `left` and `right` has: every left
// column, then each right column whose key no left column has. A right
// column whose key a left column has joins on the last such left column.
JoinPlan planJoin(const Table& left, const Table& right);

// Whether the rows agree on every condition of a plan.
bool rowsMatch(const Table::Row& left, const Table::Row& right,
               const std::vector<JoinPlan::Condition>& conditions);

// The most cells a join result may hold: the larger of kMinCellLimit and
// kCellLimitPerInputCell times the cells of all tables, where each row
// counts as one cell more, since a row costs about as much as a cell.
std::uint64_t cellLimit(const std::vector<Table>& tables);

// Whether joining `left` and `right` examines at most kMaxRowPairs pairs of
// rows and gives a result of at most `limit` cells (each row counting one
// more). Matches are counted only when the pairs alone could exceed the
// limit, and only until the answer is known.
bool joinFits(const Table& left, const Table& right, std::uint64_t limit);

}  // namespace fdtools

#endif  // JOIN_JOINPLAN_H_
