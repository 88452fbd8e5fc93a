#include "design/BcnfTest.h"

#include <algorithm>
#include <cstddef>

namespace fdtools::design {

BcnfTester::BcnfTester(int attributeCount, const std::vector<Dependency>& cover,
                       ClosureIndex& index)
    : attributeCount(attributeCount),
      cover(cover),
      index(index),
      startWork(index.work()),
      leftClosures(cover.size()),
      rightSides(attributeCount),
      usesOf(static_cast<std::size_t>(attributeCount)),
      counts(cover.size(), 0),
      stamps(cover.size(), 0) {
  for (std::size_t d = 0; d < cover.size(); ++d) {
    const Dependency& dependency = cover[d];
    rightSides |= dependency.right;
    if (dependency.left.empty()) emptyLeft.push_back(static_cast<int>(d));
    leftSizes.push_back(dependency.left.size());
    const AttributeSet& left = dependency.left;
    for (int a = left.first(); a >= 0; a = left.next(a)) {
      usesOf[static_cast<std::size_t>(a)].push_back(static_cast<int>(d));
    }
  }
}

std::optional<Dependency> BcnfTester::coverViolation(
    const AttributeSet& table) {
  // The dependencies with the left side inside the table, in cover order.
  ++stamp;
  inside = emptyLeft;
  for (int a = table.first(); a >= 0; a = table.next(a)) {
    const std::vector<int>& uses = usesOf[static_cast<std::size_t>(a)];
    scans += uses.size() + 1;
    for (const int d : uses) {
      const std::size_t at = static_cast<std::size_t>(d);
      if (stamps[at] != stamp) {
        stamps[at] = stamp;
        counts[at] = 0;
      }
      if (++counts[at] == leftSizes[at]) inside.push_back(d);
    }
  }
  std::sort(inside.begin(), inside.end());
  for (const int at : inside) {
    const std::size_t d = static_cast<std::size_t>(at);
    const Dependency& dependency = cover[d];
    if (!dependency.right.intersects(table - dependency.left)) continue;
    if (!leftClosures[d]) leftClosures[d] = index.closure(dependency.left);
    if (table.isSubsetOf(*leftClosures[d])) continue;
    return Dependency{dependency.left,
                      (*leftClosures[d] & table) - dependency.left};
  }
  return std::nullopt;
}

AttributeSet BcnfTester::leastDeterminant(const AttributeSet& within,
                                          int target) {
  const AttributeSet goal = AttributeSet::of(attributeCount, {target});
  const std::vector<int> ids = within.ids();
  AttributeSet kept = within;
  // Most attributes of a wide table play no part, so whole blocks go in
  // one closure each.
  std::vector<std::pair<std::size_t, std::size_t>> blocks = {{0, ids.size()}};
  while (!blocks.empty()) {
    const auto [begin, end] = blocks.back();
    blocks.pop_back();
    if (begin == end) continue;
    for (std::size_t i = begin; i < end; ++i) kept.erase(ids[i]);
    if (index.implies(kept, goal)) continue;
    for (std::size_t i = begin; i < end; ++i) kept.insert(ids[i]);
    if (end - begin == 1) continue;
    const std::size_t middle = begin + (end - begin) / 2;
    // The first half is tried first.
    blocks.emplace_back(middle, end);
    blocks.emplace_back(begin, middle);
  }
  return kept;
}

BcnfEvidence BcnfTester::test(const AttributeSet& table, WorkBudget& budget) {
  if (budget.left == 0) return {BcnfEvidence::Verdict::kOverBudget, {}, {}};
  const std::uint64_t before = work();
  BcnfEvidence evidence = search(table, before + budget.left);
  budget.spend(work() - before);
  return evidence;
}

BcnfEvidence BcnfTester::search(const AttributeSet& table,
                                std::uint64_t workLimit) {
  BcnfEvidence evidence;
  if (std::optional<Dependency> violation = coverViolation(table)) {
    evidence.verdict = BcnfEvidence::Verdict::kViolated;
    evidence.violation = std::move(*violation);
    return evidence;
  }
  // On the whole schema F holds as given, and its cover is the test.
  if (AttributeSet::all(attributeCount).isSubsetOf(table)) {
    evidence.verdict = BcnfEvidence::Verdict::kInBcnf;
    return evidence;
  }
  bool fired = false;
  const AttributeSet candidates = table & rightSides;
  for (int a = candidates.first(); a >= 0; a = candidates.next(a)) {
    if (work() > workLimit) {
      evidence.verdict = BcnfEvidence::Verdict::kOverBudget;
      return evidence;
    }
    AttributeSet rest = table;
    rest.erase(a);
    if (!index.implies(rest, AttributeSet::of(attributeCount, {a}))) continue;
    // A ∈ (T − {A,B})+ for every B outside a least part that gives A.
    AttributeSet least = leastDeterminant(rest, a);
    if (!index.implies(least, table)) {
      const AttributeSet reached = index.closure(least) & table;
      evidence.verdict = BcnfEvidence::Verdict::kViolated;
      evidence.violation = {least, reached - least};
      return evidence;
    }
    const AttributeSet outside = rest - least;
    if (!fired && !outside.empty()) {
      fired = true;
      evidence.determinant = std::move(least);
      evidence.determined = a;
      evidence.other = outside.first();
    }
  }
  evidence.verdict =
      fired ? BcnfEvidence::Verdict::kUnknown : BcnfEvidence::Verdict::kInBcnf;
  return evidence;
}

}  // namespace fdtools::design
