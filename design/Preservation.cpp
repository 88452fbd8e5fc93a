#include "design/Preservation.h"

namespace fdtools::design {

PreservationTester::PreservationTester(const std::vector<AttributeSet>& tables,
                                       ClosureIndex& index)
    : tables(tables),
      index(index),
      tablesOf(static_cast<std::size_t>(index.attributeCount())),
      fromNothing(index.closure(AttributeSet(index.attributeCount()))),
      memo(tables.size()) {
  for (std::size_t t = 0; t < tables.size(); ++t) {
    tableIds.push_back(tables[t].ids());
    for (const int a : tableIds.back()) {
      tablesOf[a].push_back(static_cast<int>(t));
    }
  }
}

const PreservationTester::Ids& PreservationTester::closeWithin(
    int t, const Ids& part) {
  auto& known = memo[t];
  const auto it = known.find(part);
  if (it != known.end()) return it->second;
  const AttributeSet closed =
      index.closure(AttributeSet::of(index.attributeCount(), part));
  Ids inside;
  for (const int a : tableIds[t]) {
    if (closed.contains(a)) inside.push_back(a);
  }
  return known.emplace(part, std::move(inside)).first->second;
}

DependencyPreservation PreservationTester::test(const Dependency& dependency) {
  DependencyPreservation result;
  AttributeSet reached = dependency.left;
  // A table is closed again only when Z has gained one of its attributes
  // since its last visit. A table that meets neither the left side nor the
  // closure of the empty set cannot add anything in the first pass.
  std::vector<char> due(tables.size(), 0);
  const auto markTables = [&](const AttributeSet& added) {
    for (int a = added.first(); a >= 0; a = added.next(a)) {
      for (const int t : tablesOf[a]) due[t] = 1;
    }
  };
  markTables(dependency.left);
  markTables(fromNothing);
  Ids part;
  for (int pass = 1;; ++pass) {
    bool grew = false;
    for (std::size_t t = 0; t < tables.size(); ++t) {
      if (!due[t]) continue;
      due[t] = 0;
      part.clear();
      for (const int a : tableIds[t]) {
        if (reached.contains(a)) part.push_back(a);
      }
      AttributeSet added(index.attributeCount());
      for (const int a : closeWithin(static_cast<int>(t), part)) {
        if (!reached.contains(a)) added.insert(a);
      }
      if (added.empty()) continue;
      reached |= added;
      markTables(added);
      result.steps.push_back({pass, static_cast<int>(t), std::move(added)});
      grew = true;
    }
    if (!grew) break;
  }
  result.missing = dependency.right - reached;
  result.preserved = result.missing.empty();
  result.reached = std::move(reached);
  return result;
}

}  // namespace fdtools::design
