#include "design/Chase.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "design/ClosureIndex.h"
#include "design/TableIndex.h"

namespace fdtools::design {
namespace {

// Renames `from` to `to` throughout one column; true when anything changed.
bool rename(std::vector<std::vector<int>>& tableau, int column, int from,
            int to) {
  if (from == to) return false;
  for (std::vector<int>& row : tableau) {
    if (row[column] == from) row[column] = to;
  }
  return true;
}

// Equates, in each right-side column, the symbols of rows that agree on
// the left side. Appends each column in which a symbol changed to
// `changed`, and each move to `moves` (as made by dependency `d`).
void applyDependency(std::vector<std::vector<int>>& tableau,
                     const std::vector<int>& left,
                     const std::vector<int>& right, std::vector<int>& changed,
                     int d = 0, StepList<ChaseStep>* moves = nullptr) {
  std::map<std::vector<int>, std::size_t> firstRow;
  std::vector<int> values(left.size());
  for (std::size_t r = 0; r < tableau.size(); ++r) {
    for (std::size_t i = 0; i < left.size(); ++i) {
      values[i] = tableau[r][left[i]];
    }
    const auto [it, isNew] = firstRow.emplace(values, r);
    if (isNew) continue;
    std::vector<int>& first = tableau[it->second];
    for (const int column : right) {
      const int a = first[column];
      const int b = tableau[r][column];
      if (rename(tableau, column, std::max(a, b), std::min(a, b))) {
        changed.push_back(column);
        if (moves != nullptr) {
          moves->add({d,
                      {static_cast<int>(it->second), static_cast<int>(r)},
                      column,
                      std::max(a, b),
                      std::min(a, b)});
        }
      }
    }
  }
}

std::vector<std::vector<int>> initialTableau(
    int attributeCount, const std::vector<AttributeSet>& tables) {
  std::vector<std::vector<int>> tableau;
  for (std::size_t r = 0; r < tables.size(); ++r) {
    std::vector<int> row(static_cast<std::size_t>(attributeCount));
    for (int a = 0; a < attributeCount; ++a) {
      row[a] = tables[r].contains(a) ? 0 : static_cast<int>(r) + 1;
    }
    tableau.push_back(std::move(row));
  }
  return tableau;
}

bool someRowDistinguished(const std::vector<std::vector<int>>& tableau) {
  return std::any_of(tableau.begin(), tableau.end(), [](const auto& row) {
    return std::all_of(row.begin(), row.end(), [](int s) { return s == 0; });
  });
}

// Equated symbols can make rows equal: each row once, first ones first.
void dropRepeatedRows(std::vector<std::vector<int>>& tableau) {
  std::set<std::vector<int>> seen;
  std::vector<std::vector<int>> rows;
  for (std::vector<int>& row : tableau) {
    if (seen.insert(row).second) rows.push_back(std::move(row));
  }
  tableau = std::move(rows);
}

}  // namespace

ChaseResult chase(int attributeCount, const std::vector<AttributeSet>& tables,
                  const std::vector<Dependency>& dependencies,
                  ChaseSteps* steps) {
  ChaseResult result;
  result.tableau = initialTableau(attributeCount, tables);
  if (steps != nullptr) {
    steps->dependencies = dependencies;
    // The final tableau is there to see; a copy of a huge one is not.
    const std::size_t cells =
        tables.size() * static_cast<std::size_t>(attributeCount);
    if (cells <= kMaxStepNames) {
      steps->initial = result.tableau;
    } else {
      steps->moves.complete = false;
    }
  }
  std::vector<std::pair<std::vector<int>, std::vector<int>>> lists;
  // A dependency needs another look only after a column of its left side
  // changed: a worklist, not passes over the whole list.
  std::vector<std::vector<std::size_t>> byLeft(
      static_cast<std::size_t>(attributeCount));
  for (std::size_t d = 0; d < dependencies.size(); ++d) {
    lists.emplace_back(dependencies[d].left.ids(), dependencies[d].right.ids());
    for (const int a : lists.back().first) byLeft[a].push_back(d);
  }
  std::vector<std::size_t> work(lists.size());
  for (std::size_t d = 0; d < lists.size(); ++d) work[d] = lists.size() - 1 - d;
  std::vector<char> queued(lists.size(), 1);
  std::vector<int> changed;
  while (!work.empty()) {
    const std::size_t d = work.back();
    work.pop_back();
    queued[d] = 0;
    changed.clear();
    applyDependency(result.tableau, lists[d].first, lists[d].second, changed,
                    static_cast<int>(d),
                    steps != nullptr ? &steps->moves : nullptr);
    for (const int column : changed) {
      for (const std::size_t other : byLeft[column]) {
        if (!queued[other]) {
          queued[other] = 1;
          work.push_back(other);
        }
      }
    }
  }
  result.lossless = someRowDistinguished(result.tableau);
  return result;
}

ChaseResult chaseWithMultivalued(int attributeCount,
                                 const std::vector<AttributeSet>& tables,
                                 const std::vector<Dependency>& functional,
                                 const std::vector<Dependency>& multivalued,
                                 std::size_t maxRows) {
  ChaseResult result;
  std::vector<std::vector<int>>& tableau = result.tableau;
  tableau = initialTableau(attributeCount, tables);
  std::vector<std::pair<std::vector<int>, std::vector<int>>> fds;
  for (const Dependency& fd : functional) {
    fds.emplace_back(fd.left.ids(), fd.right.ids());
  }
  // An MVD copies its left and right side from one row and the rest from
  // another.
  std::vector<std::pair<std::vector<int>, std::vector<int>>> mvds;
  for (const Dependency& mvd : multivalued) {
    mvds.emplace_back(mvd.left.ids(), (mvd.left | mvd.right).ids());
  }
  std::vector<int> changed;
  std::uint64_t work = 0;
  for (bool grew = true; grew;) {
    grew = false;
    for (bool equated = true; equated;) {
      equated = false;
      for (const auto& [left, right] : fds) {
        changed.clear();
        applyDependency(tableau, left, right, changed);
        equated = equated || !changed.empty();
      }
    }
    dropRepeatedRows(tableau);
    if (someRowDistinguished(tableau)) break;
    std::set<std::vector<int>> present(tableau.begin(), tableau.end());
    for (const auto& [left, copied] : mvds) {
      std::map<std::vector<int>, std::vector<std::size_t>> byLeft;
      std::vector<int> values(left.size());
      for (std::size_t r = 0; r < tableau.size(); ++r) {
        for (std::size_t i = 0; i < left.size(); ++i) {
          values[i] = tableau[r][left[i]];
        }
        byLeft[values].push_back(r);
      }
      for (const auto& [key, rows] : byLeft) {
        for (const std::size_t from : rows) {
          for (const std::size_t rest : rows) {
            if (from == rest) continue;
            work += static_cast<std::uint64_t>(attributeCount) + 1;
            if (work > kChaseWorkBudget) {
              result.undecided = Undecided{
                  "the chase stopped at its work budget, at " +
                  std::to_string(tableau.size()) + " rows, before it ended"};
              return result;
            }
            std::vector<int> row = tableau[rest];
            for (const int column : copied) row[column] = tableau[from][column];
            if (!present.insert(row).second) continue;
            if (tableau.size() >= maxRows) {
              result.undecided =
                  Undecided{"the chase stopped at " + std::to_string(maxRows) +
                            " rows before it ended"};
              return result;
            }
            tableau.push_back(std::move(row));
            grew = true;
          }
        }
      }
    }
  }
  result.lossless = someRowDistinguished(tableau);
  return result;
}

bool losslessThroughTables(int attributeCount,
                           const std::vector<AttributeSet>& tables,
                           const std::vector<Dependency>& dependencies) {
  return tableDeterminingAll(attributeCount, tables, dependencies) >= 0;
}

int tableDeterminingAll(int attributeCount,
                        const std::vector<AttributeSet>& tables,
                        const std::vector<Dependency>& dependencies) {
  const TableIndex index(tables);
  std::vector<Dependency> inside;
  for (const Dependency& dependency : dependencies) {
    if (!index.holding(dependency.left | dependency.right).empty()) {
      inside.push_back(dependency);
    }
  }
  const AttributeSet all = AttributeSet::all(attributeCount);
  // Attributes on no right side are in every superkey: a table without
  // them all needs no closure.
  AttributeSet core = all;
  for (const Dependency& dependency : inside) core -= dependency.right;
  ClosureIndex closures(attributeCount, inside);
  for (std::size_t t = 0; t < tables.size(); ++t) {
    if (core.isSubsetOf(tables[t]) && closures.implies(tables[t], all)) {
      return static_cast<int>(t);
    }
  }
  return -1;
}

bool losslessThroughMerges(const std::vector<AttributeSet>& tables,
                           const MixedImplication& dependencies,
                           std::uint64_t budget) {
  const AttributeSet all = AttributeSet::all(dependencies.attributeCount());
  std::vector<AttributeSet> joined = tables;
  for (;;) {
    for (const AttributeSet& table : joined) {
      if (all.isSubsetOf(table)) return true;
    }
    bool merged = false;
    for (std::size_t i = 0; i < joined.size() && !merged; ++i) {
      for (std::size_t j = i + 1; j < joined.size() && !merged; ++j) {
        if (budget < dependencies.basisCost()) return false;
        budget -= dependencies.basisCost();
        const AttributeSet both = joined[i] | joined[j];
        const AttributeSet onlyFirst = joined[i] - joined[j];
        const AttributeSet onlySecond = joined[j] - joined[i];
        bool lossless = true;
        for (const AttributeSet& block :
             dependencies.basis(joined[i] & joined[j])) {
          const AttributeSet part = block & both;
          lossless = lossless && (part.isSubsetOf(onlyFirst) ||
                                  part.isSubsetOf(onlySecond));
        }
        if (!lossless) continue;
        joined[i] = both;
        joined.erase(joined.begin() + static_cast<std::ptrdiff_t>(j));
        merged = true;
      }
    }
    if (!merged) return false;
  }
}

}  // namespace fdtools::design
