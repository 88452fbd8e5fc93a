#include "design/Chase.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

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
// `changed`. For the tableaux of the MVD chase, which stay small.
void applyDependency(std::vector<std::vector<int>>& tableau,
                     const std::vector<int>& left,
                     const std::vector<int>& right, std::vector<int>& changed) {
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

// A chase tableau that stores only the cells whose symbol changed. Every
// other cell holds what it started with: 0 where the row's table has the
// attribute, row + 1 elsewhere. For each column, the rows of each symbol
// that changed are listed, so a renaming visits only the rows it moves.
class SparseTableau {
 public:
  SparseTableau(int attributeCount, const std::vector<AttributeSet>& tables)
      : tables_(tables),
        columns_(static_cast<std::size_t>(attributeCount)),
        holders_(static_cast<std::size_t>(attributeCount)),
        distinguished_(tables.size()) {
    for (std::size_t r = 0; r < tables.size(); ++r) {
      distinguished_[r] = tables[r].size();
      const AttributeSet& table = tables[r];
      for (int a = table.first(); a >= 0; a = table.next(a)) {
        holders_[static_cast<std::size_t>(a)].push_back(static_cast<int>(r));
      }
    }
  }

  // The rows whose symbol in `column` another row may share, in order:
  // any other row holds a symbol of its own there, which nothing equals.
  void sharedRows(int column, std::vector<int>& rows) const {
    const std::size_t c = static_cast<std::size_t>(column);
    rows = holders_[c];
    if (!columns_[c]) return;
    for (const auto& [symbol, listed] : columns_[c]->rowsOf) {
      rows.insert(rows.end(), listed.begin(), listed.end());
    }
    std::sort(rows.begin(), rows.end());
  }

  // How many rows sharedRows() gives.
  std::size_t sharedCount(int column) const {
    const std::size_t c = static_cast<std::size_t>(column);
    std::size_t count = holders_[c].size();
    if (columns_[c]) {
      for (const auto& [symbol, listed] : columns_[c]->rowsOf) {
        count += listed.size();
      }
    }
    return count;
  }

  int rows() const { return static_cast<int>(tables_.size()); }

  int at(int row, int column) const {
    if (const auto& c = columns_[static_cast<std::size_t>(column)]) {
      const auto it = c->symbolOf.find(row);
      if (it != c->symbolOf.end()) return it->second;
    }
    return tables_[static_cast<std::size_t>(row)].contains(column) ? 0
                                                                   : row + 1;
  }

  // `from` becomes `to` throughout `column`; `from` > `to`, so it is never
  // the distinguished symbol.
  void rename(int column, int from, int to) {
    std::unique_ptr<Column>& slot = columns_[static_cast<std::size_t>(column)];
    if (!slot) slot = std::make_unique<Column>();
    Column& c = *slot;
    std::vector<int> moved;
    if (const auto it = c.rowsOf.find(from); it != c.rowsOf.end()) {
      moved = std::move(it->second);
      c.rowsOf.erase(it);
    } else {
      // Still only in the row it started in.
      moved.push_back(from - 1);
    }
    std::vector<int>& into = c.rowsOf[to];
    // The rows that start distinguished are not listed: 0 is never renamed.
    if (into.empty() && to > 0) into.push_back(to - 1);
    for (const int row : moved) {
      c.symbolOf[row] = to;
      into.push_back(row);
      if (to == 0) ++distinguished_[static_cast<std::size_t>(row)];
    }
  }

  std::vector<int> distinguishedRows() const {
    std::vector<int> result;
    for (std::size_t r = 0; r < distinguished_.size(); ++r) {
      if (distinguished_[r] == static_cast<int>(columns_.size())) {
        result.push_back(static_cast<int>(r));
      }
    }
    return result;
  }

  std::vector<std::vector<int>> dense() const {
    std::vector<std::vector<int>> result;
    for (int r = 0; r < rows(); ++r) {
      std::vector<int> row(columns_.size());
      for (std::size_t a = 0; a < columns_.size(); ++a) {
        row[a] = at(r, static_cast<int>(a));
      }
      result.push_back(std::move(row));
    }
    return result;
  }

  std::vector<ChangedCell> changedCells() const {
    std::vector<ChangedCell> result;
    for (std::size_t a = 0; a < columns_.size(); ++a) {
      if (!columns_[a]) continue;
      for (const auto& [row, symbol] : columns_[a]->symbolOf) {
        result.push_back({row, static_cast<int>(a), symbol});
      }
    }
    std::sort(result.begin(), result.end(),
              [](const ChangedCell& x, const ChangedCell& y) {
                return x.row != y.row ? x.row < y.row : x.column < y.column;
              });
    return result;
  }

 private:
  struct Column {
    std::unordered_map<int, int> symbolOf;
    std::unordered_map<int, std::vector<int>> rowsOf;
  };
  const std::vector<AttributeSet>& tables_;
  // Made when a symbol of the column first changes.
  std::vector<std::unique_ptr<Column>> columns_;
  // Per column, the rows whose table holds it.
  std::vector<std::vector<int>> holders_;
  // Per row, its distinguished cells.
  std::vector<int> distinguished_;
};

struct Group {
  std::vector<int> left;
  std::vector<std::size_t> members;
};

struct SymbolsHash {
  std::size_t operator()(const std::vector<int>& symbols) const {
    std::size_t h = symbols.size();
    for (const int s : symbols) {
      h ^= static_cast<std::size_t>(s) + 0x9e3779b97f4a7c15ULL + (h << 6) +
           (h >> 2);
    }
    return h;
  }
};

}  // namespace

ChaseResult chase(int attributeCount, const std::vector<AttributeSet>& tables,
                  const std::vector<Dependency>& dependencies,
                  ChaseSteps* steps) {
  ChaseResult result;
  SparseTableau tableau(attributeCount, tables);
  const std::size_t cells =
      tables.size() * static_cast<std::size_t>(attributeCount);
  if (steps != nullptr) {
    steps->dependencies = dependencies;
    // The final tableau is there to see; a copy of a huge one is not.
    if (cells <= kMaxStepNames) {
      steps->initial = initialTableau(attributeCount, tables);
    } else {
      steps->moves.complete = false;
    }
  }
  // Dependencies with one left side are chased together: the rows are
  // grouped by that side once. With steps, each goes alone, so that the
  // moves come in the order of the dependencies.
  std::vector<Group> groups;
  {
    std::map<std::vector<int>, std::size_t> byLeftSide;
    for (std::size_t d = 0; d < dependencies.size(); ++d) {
      std::vector<int> left = dependencies[d].left.ids();
      std::size_t g = groups.size();
      if (steps == nullptr) {
        const auto [it, isNew] = byLeftSide.emplace(left, groups.size());
        g = it->second;
        if (!isNew) {
          groups[g].members.push_back(d);
          continue;
        }
      }
      groups.push_back({std::move(left), {d}});
    }
  }
  std::vector<std::vector<int>> rights;
  for (const Dependency& dependency : dependencies) {
    rights.push_back(dependency.right.ids());
  }
  // A group needs another look only after a column of its left side
  // changed: a worklist, not passes over the whole list.
  std::vector<std::vector<std::size_t>> byLeft(
      static_cast<std::size_t>(attributeCount));
  for (std::size_t g = 0; g < groups.size(); ++g) {
    for (const int a : groups[g].left) byLeft[a].push_back(g);
  }
  std::vector<std::size_t> work(groups.size());
  for (std::size_t g = 0; g < groups.size(); ++g) {
    work[g] = groups.size() - 1 - g;
  }
  std::vector<char> queued(groups.size(), 1);
  std::vector<int> changed;
  std::vector<int> firstOf(tables.size(), -1);
  std::vector<int> candidates;
  std::unordered_map<std::vector<int>, int, SymbolsHash> firstRow;
  std::vector<int> values;
  while (!work.empty()) {
    const std::size_t g = work.back();
    work.pop_back();
    queued[g] = 0;
    changed.clear();
    // The right sides never meet the left one, so the grouping of the rows
    // by their left-side symbols holds while the group is applied.
    const std::vector<int>& left = groups[g].left;
    firstRow.clear();
    // Only rows that share their symbol in one column of the left side
    // with some other row can agree with one on all of it; the column
    // with fewest such rows is taken.
    if (left.empty()) {
      candidates.resize(static_cast<std::size_t>(tableau.rows()));
      for (int r = 0; r < tableau.rows(); ++r) {
        candidates[static_cast<std::size_t>(r)] = r;
      }
    } else {
      int narrowest = left.front();
      std::size_t fewest = tableau.sharedCount(narrowest);
      for (const int column : left) {
        const std::size_t count = tableau.sharedCount(column);
        if (count < fewest) {
          fewest = count;
          narrowest = column;
        }
      }
      tableau.sharedRows(narrowest, candidates);
    }
    values.resize(left.size());
    for (const int r : candidates) {
      for (std::size_t i = 0; i < left.size(); ++i) {
        values[i] = tableau.at(r, left[i]);
      }
      const auto [it, isNew] = firstRow.emplace(values, r);
      if (!isNew) firstOf[static_cast<std::size_t>(r)] = it->second;
    }
    for (const std::size_t d : groups[g].members) {
      for (const int r : candidates) {
        const int first = firstOf[static_cast<std::size_t>(r)];
        if (first < 0) continue;
        for (const int column : rights[d]) {
          const int a = tableau.at(first, column);
          const int b = tableau.at(r, column);
          if (a == b) continue;
          tableau.rename(column, std::max(a, b), std::min(a, b));
          changed.push_back(column);
          if (steps != nullptr) {
            steps->moves.add({static_cast<int>(d),
                              {first, r},
                              column,
                              std::max(a, b),
                              std::min(a, b)});
          }
        }
      }
    }
    for (const int r : candidates) firstOf[static_cast<std::size_t>(r)] = -1;
    for (const int column : changed) {
      for (const std::size_t other : byLeft[column]) {
        if (!queued[other]) {
          queued[other] = 1;
          work.push_back(other);
        }
      }
    }
  }
  result.distinguishedRows = tableau.distinguishedRows();
  result.lossless = !result.distinguishedRows.empty();
  if (cells <= kMaxDenseTableauCells) {
    result.tableau = tableau.dense();
    result.distinguishedRows.clear();
  } else {
    result.compact = true;
    result.changed = tableau.changedCells();
  }
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
