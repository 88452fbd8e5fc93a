#include "design/Preservation.h"

#include <algorithm>
#include <functional>
#include <queue>

namespace fdtools::design {

PreservationTester::PreservationTester(const std::vector<AttributeSet>& tables,
                                       ClosureIndex& index)
    : index(index),
      tables(tables),
      tablesOf(static_cast<std::size_t>(index.attributeCount())),
      memo(tables.size()),
      due(tables.size(), 0),
      reached(static_cast<std::size_t>(index.attributeCount()), 0) {
  const AttributeSet fromNothing =
      index.closure(AttributeSet(index.attributeCount()));
  for (std::size_t t = 0; t < tables.size(); ++t) {
    tableIds.push_back(tables[t].ids());
    for (const int a : tableIds.back()) {
      tablesOf[a].push_back(static_cast<int>(t));
    }
    if (tables[t].intersects(fromNothing)) {
      tablesFromNothing.push_back(static_cast<int>(t));
    }
  }
}

const PreservationTester::Ids& PreservationTester::closeWithin(
    int t, const Ids& part) {
  auto& known = memo[t];
  const auto it = known.find(part);
  if (it != known.end()) return it->second;
  // Once the whole table is reached the rest of the closure cannot add to
  // it: with dependencies sharing many left-side attributes, that rest is
  // most of the work.
  index.implies(AttributeSet::of(index.attributeCount(), part),
                tables[static_cast<std::size_t>(t)]);
  Ids inside;
  for (const int a : tableIds[t]) {
    if (index.inLastClosure(a)) inside.push_back(a);
  }
  // 4M ids, 16 MB.
  constexpr std::size_t kMaxMemoIds = std::size_t{1} << 22;
  if (memoIds + part.size() + inside.size() > kMaxMemoIds) {
    scratch = std::move(inside);
    return scratch;
  }
  memoIds += part.size() + inside.size();
  return known.emplace(part, std::move(inside)).first->second;
}

DependencyPreservation PreservationTester::test(const Dependency& dependency,
                                                bool verdictOnly) {
  DependencyPreservation result;
  // A table that holds both sides preserves it; for a verdict, that is
  // enough, and it is the common case of a designed decomposition.
  const AttributeSet both = dependency.left | dependency.right;
  if (verdictOnly && !both.empty()) {
    int fewest = both.first();
    for (int a = both.first(); a >= 0; a = both.next(a)) {
      if (tablesOf[a].size() < tablesOf[fewest].size()) fewest = a;
    }
    for (const int t : tablesOf[fewest]) {
      if (both.isSubsetOf(tables[static_cast<std::size_t>(t)])) {
        result.reached = both;
        result.missing = AttributeSet(index.attributeCount());
        result.preserved = true;
        return result;
      }
    }
  }
  // Z as flags and as a list, so that only what was reached is reset.
  Ids reachedIds;
  // The right side's attributes not reached yet, for a verdict only.
  std::size_t missing = (dependency.right - dependency.left).size();
  const auto reach = [&](int a) {
    if (!reached[a]) {
      reached[a] = 1;
      reachedIds.push_back(a);
      if (dependency.right.contains(a) && !dependency.left.contains(a)) {
        --missing;
      }
    }
  };
  // A table is closed again only when Z has gained one of its attributes
  // since its last visit, in this pass when the table comes later in the
  // order, else in the next. A table that meets neither the left side nor
  // the closure of the empty set cannot add anything in the first pass.
  std::fill(due.begin(), due.end(), 0);
  std::priority_queue<int, std::vector<int>, std::greater<>> thisPass;
  std::vector<int> nextPass;
  int current = -1;
  const auto markTables = [&](int a) {
    for (const int t : tablesOf[a]) {
      if (due[t]) continue;
      due[t] = 1;
      if (t > current) {
        thisPass.push(t);
      } else {
        nextPass.push_back(t);
      }
    }
  };
  for (int a = dependency.left.first(); a >= 0; a = dependency.left.next(a)) {
    reach(a);
    markTables(a);
  }
  for (const int t : tablesFromNothing) {
    if (!due[t]) {
      due[t] = 1;
      thisPass.push(t);
    }
  }
  Ids part;
  Ids added;
  const auto decided = [&] { return verdictOnly && missing == 0; };
  for (int pass = 1; !thisPass.empty() && !decided(); ++pass) {
    while (!thisPass.empty() && !decided()) {
      const int t = thisPass.top();
      thisPass.pop();
      current = t;
      due[t] = 0;
      part.clear();
      for (const int a : tableIds[t]) {
        if (reached[a]) part.push_back(a);
      }
      added.clear();
      for (const int a : closeWithin(t, part)) {
        if (!reached[a]) added.push_back(a);
      }
      if (added.empty()) continue;
      // Table t itself is not due again: closing it twice adds nothing.
      due[t] = 1;
      for (const int a : added) {
        reach(a);
        markTables(a);
      }
      due[t] = 0;
      if (!verdictOnly) {
        result.steps.push_back(
            {pass, t, AttributeSet::of(index.attributeCount(), added)});
      }
    }
    current = -1;
    for (const int t : nextPass) thisPass.push(t);
    nextPass.clear();
  }
  result.reached = AttributeSet::of(index.attributeCount(), reachedIds);
  result.missing = dependency.right - result.reached;
  result.preserved = result.missing.empty();
  for (const int a : reachedIds) reached[a] = 0;
  return result;
}

}  // namespace fdtools::design
