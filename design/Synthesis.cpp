#include "design/Synthesis.h"

#include <map>

#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/FourthNormalForm.h"
#include "design/Projection.h"
#include "design/TableIndex.h"

namespace fdtools::design {
namespace {

// One key, polynomially, where listing every key may not be: the
// attributes on no right side, which every key holds, then each attribute
// that what is held so far does not determine, lowest first; then each
// attribute so added goes again, lowest first, if the rest still determines
// everything.
AttributeSet someKey(ClosureIndex& index, int attributeCount,
                     const std::vector<Dependency>& cover) {
  const AttributeSet all = AttributeSet::all(attributeCount);
  AttributeSet key = all;
  for (const Dependency& dependency : cover) key -= dependency.right;
  AttributeSet added(attributeCount);
  AttributeSet reached = index.closure(key);
  for (int a = 0; a < attributeCount; ++a) {
    if (reached.contains(a)) continue;
    key.insert(a);
    added.insert(a);
    reached = index.closure(key);
  }
  for (int a = added.first(); a >= 0; a = added.next(a)) {
    key.erase(a);
    if (!index.implies(key, all)) key.insert(a);
  }
  return key;
}

}  // namespace

std::vector<AttributeSet> withoutContainedTables(
    const std::vector<AttributeSet>& tables) {
  const TableIndex index(tables);
  std::vector<AttributeSet> kept;
  for (std::size_t i = 0; i < tables.size(); ++i) {
    bool inside = false;
    for (const std::size_t j : index.holding(tables[i])) {
      // Of two equal tables the first stays.
      if (j != i && (!(tables[i] == tables[j]) || j < i)) {
        inside = true;
        break;
      }
    }
    if (!inside) kept.push_back(tables[i]);
  }
  return kept;
}

Decomposition synthesize3nf(int attributeCount,
                            const std::vector<Dependency>& dependencies) {
  const std::vector<Dependency> cover =
      minimalCover(attributeCount, dependencies);
  // One table per distinct left side, in the order the cover first has it.
  std::vector<AttributeSet> tables;
  std::map<std::vector<int>, std::size_t> tableOfLeft;
  for (const Dependency& dependency : cover) {
    const auto [it, isNew] =
        tableOfLeft.emplace(dependency.left.ids(), tables.size());
    if (isNew) tables.push_back(dependency.left);
    tables[it->second] |= dependency.right;
  }
  tables = withoutContainedTables(tables);
  ClosureIndex index(attributeCount, cover);
  // A table that determines everything through the tables' own
  // dependencies holds a key; a schema without attributes needs no table.
  if (!losslessThroughTables(attributeCount, tables, cover) &&
      attributeCount > 0) {
    tables.push_back(someKey(index, attributeCount, cover));
  }
  Decomposition result;
  result.tables = std::move(tables);
  return result;
}

Decomposition decomposeBcnf(int attributeCount,
                            const std::vector<Dependency>& dependencies) {
  const std::vector<Dependency> cover =
      minimalCover(attributeCount, dependencies);
  ClosureIndex index(attributeCount, cover);
  Decomposition result;
  if (attributeCount == 0) return result;
  // Depth first, the part determined by the violating left side before the
  // rest, so the order of the result is fixed.
  std::vector<AttributeSet> pending = {AttributeSet::all(attributeCount)};
  while (!pending.empty()) {
    const AttributeSet table = std::move(pending.back());
    pending.pop_back();
    const Projection projection =
        projectOnto(table, attributeCount, cover, index);
    if (projection.undecided) {
      result.undecided = projection.undecided;
      result.tables.clear();
      return result;
    }
    const Dependency* violation = nullptr;
    for (const Dependency& dependency : projection.cover) {
      if (!index.implies(dependency.left, table)) {
        violation = &dependency;
        break;
      }
    }
    if (violation == nullptr) {
      result.tables.push_back(table);
      continue;
    }
    // X -> (X+ within the table) rather than X -> A: fewer splits.
    const AttributeSet determined = index.closure(violation->left) & table;
    pending.push_back(table - (determined - violation->left));
    pending.push_back(determined);
  }
  result.tables = withoutContainedTables(result.tables);
  return result;
}

Decomposition decompose4nf(const MixedImplication& dependencies) {
  const int n = dependencies.attributeCount();
  Decomposition result;
  if (n == 0) return result;
  std::vector<AttributeSet> pending = {AttributeSet::all(n)};
  WorkBudget budget;
  while (!pending.empty()) {
    const AttributeSet table = std::move(pending.back());
    pending.pop_back();
    const FourNfSplit split = first4nfViolation(table, dependencies, budget);
    if (split.undecided) {
      result.undecided = split.undecided;
      result.tables.clear();
      return result;
    }
    if (!split.violation) {
      result.tables.push_back(table);
      continue;
    }
    const Dependency& violation = *split.violation;
    pending.push_back(table - (violation.right - violation.left));
    pending.push_back(violation.left | violation.right);
  }
  result.tables = withoutContainedTables(result.tables);
  return result;
}

}  // namespace fdtools::design
