#include "join/JoinPlan.h"

#include <algorithm>
#include <map>
#include <string>

namespace fdtools {

JoinPlan planJoin(const Table& left, const Table& right) {
  JoinPlan plan;
  std::map<std::string, std::size_t> keyToLeftColumn;
  for (std::size_t i = 0; i < left.columns.size(); ++i) {
    plan.outputColumns.emplace_back(0, i);
    keyToLeftColumn[columnKey(left, i)] = i;
  }
  for (std::size_t j = 0; j < right.columns.size(); ++j) {
    const auto found = keyToLeftColumn.find(columnKey(right, j));
    if (found != keyToLeftColumn.end()) {
      plan.conditions.emplace_back(found->second, j);
    } else {
      plan.outputColumns.emplace_back(1, j);
    }
  }
  return plan;
}

bool rowsMatch(const Table::Row& left, const Table::Row& right,
               const std::vector<JoinPlan::Condition>& conditions) {
  for (const auto& [l, r] : conditions) {
    if (left[l] != right[r]) return false;
  }
  return true;
}

std::uint64_t cellLimit(const std::vector<Table>& tables) {
  std::uint64_t cells = 0;
  for (const Table& table : tables) {
    cells += table.rows.size() * (table.columns.size() + 1);
  }
  return std::max(kMinCellLimit, kCellLimitPerInputCell * cells);
}

bool joinFits(const Table& left, const Table& right, std::uint64_t limit) {
  const std::uint64_t pairs =
      std::uint64_t{left.rows.size()} * std::uint64_t{right.rows.size()};
  if (pairs > kMaxRowPairs) return false;
  const JoinPlan plan = planJoin(left, right);
  const std::uint64_t rowCost = plan.outputColumns.size() + 1;
  if (pairs * rowCost <= limit) return true;
  const std::uint64_t maxMatches = limit / rowCost;
  std::uint64_t matches = 0;
  for (const Table::Row& a : left.rows) {
    for (const Table::Row& b : right.rows) {
      if (rowsMatch(a, b, plan.conditions) && ++matches > maxMatches) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace fdtools
