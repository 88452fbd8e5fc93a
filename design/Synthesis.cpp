#include "design/Synthesis.h"

#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/Projection.h"

namespace fdtools::design {
namespace {

// One key, by dropping each attribute, lowest first, that the rest still
// determines: polynomial, where listing every key may not be.
AttributeSet someKey(ClosureIndex& index, int attributeCount) {
  const AttributeSet all = AttributeSet::all(attributeCount);
  AttributeSet key = all;
  for (int a = 0; a < attributeCount; ++a) {
    key.erase(a);
    if (!index.implies(key, all)) key.insert(a);
  }
  return key;
}

}  // namespace

std::vector<AttributeSet> withoutContainedTables(
    const std::vector<AttributeSet>& tables) {
  std::vector<AttributeSet> kept;
  for (std::size_t i = 0; i < tables.size(); ++i) {
    bool inside = false;
    for (std::size_t j = 0; j < tables.size() && !inside; ++j) {
      if (i == j || !tables[i].isSubsetOf(tables[j])) continue;
      // Of two equal tables the first stays.
      inside = !(tables[i] == tables[j]) || j < i;
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
  std::vector<AttributeSet> lefts;
  for (const Dependency& dependency : cover) {
    std::size_t t = 0;
    while (t < lefts.size() && !(lefts[t] == dependency.left)) ++t;
    if (t == lefts.size()) {
      lefts.push_back(dependency.left);
      tables.push_back(dependency.left);
    }
    tables[t] |= dependency.right;
  }
  tables = withoutContainedTables(tables);
  ClosureIndex index(attributeCount, cover);
  const AttributeSet all = AttributeSet::all(attributeCount);
  bool holdsKey = false;
  for (const AttributeSet& table : tables) {
    holdsKey = holdsKey || index.implies(table, all);
  }
  // A schema without attributes needs no table.
  if (!holdsKey && attributeCount > 0) {
    tables.push_back(someKey(index, attributeCount));
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
    if (!projection.decided) {
      result.decided = false;
      result.reason = projection.reason;
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

}  // namespace fdtools::design
