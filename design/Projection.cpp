#include "design/Projection.h"

#include <cstdint>
#include <string>

#include "design/Cover.h"
#include "design/Elimination.h"

namespace fdtools::design {
namespace {

// The next larger number with the same count of one bits (Gosper).
std::uint32_t nextSameCount(std::uint32_t mask) {
  const std::uint32_t lowest = mask & (~mask + 1);
  const std::uint32_t ripple = mask + lowest;
  return ripple | (((mask ^ ripple) >> 2) / lowest);
}

Undecided stoppedByBudget() {
  return Undecided{"the exact projection stopped by the work budget"};
}

// `result` with a minimal cover of `projected` when minimising it fits in
// what is left of `allowed` after `spent`.
Projection minimised(int attributeCount, std::vector<Dependency> projected,
                     std::uint64_t spent, std::uint64_t allowed,
                     WorkBudget& work, Projection result) {
  std::uint64_t minimising = 0;
  std::optional<std::vector<Dependency>> cover =
      spent > allowed ? std::nullopt
                      : minimalCoverWithin(attributeCount, projected,
                                           allowed - spent, &minimising);
  work.spend(spent + minimising);
  if (!cover) {
    result.undecided = stoppedByBudget();
    return result;
  }
  result.cover = std::move(*cover);
  return result;
}

}  // namespace

Projection projectOnto(const AttributeSet& table, int attributeCount,
                       const std::vector<Dependency>& cover,
                       ClosureIndex& /*index*/, WorkBudget* budget) {
  return Projector(attributeCount, cover).project(table, budget);
}

Projector::Projector(int attributeCount, const std::vector<Dependency>& cover,
                     int maxListedLeft)
    : attributeCount(attributeCount),
      cover(cover),
      maxListedLeft(maxListedLeft),
      byRight(static_cast<std::size_t>(attributeCount)) {
  for (std::size_t d = 0; d < cover.size(); ++d) {
    const AttributeSet& right = cover[d].right;
    for (int a = right.first(); a >= 0; a = right.next(a))
      byRight[a].push_back(d);
  }
}

Projection Projector::project(const AttributeSet& table, WorkBudget* budget) {
  WorkBudget own{kProjectionWorkBudget};
  WorkBudget& work = budget != nullptr ? *budget : own;
  const std::uint64_t allowed = work.share(kProjectionWorkBudget);
  Projection result;
  // A table of every attribute keeps F as it is.
  if (AttributeSet::all(attributeCount).isSubsetOf(table)) {
    result.cover = cover;
    return result;
  }
  // Only dependencies whose right side can still lead into the table take
  // part: an attribute from which no chain of dependencies reaches the
  // table cannot add to what any subset determines within it. On long
  // chains this keeps each closure near the table instead of running to
  // the end of the schema.
  std::vector<char> relevant(static_cast<std::size_t>(attributeCount), 0);
  std::vector<char> used(cover.size(), 0);
  std::vector<int> pending = table.ids();
  for (const int a : pending) relevant[a] = 1;
  std::vector<Dependency> leading;
  while (!pending.empty()) {
    const int a = pending.back();
    pending.pop_back();
    for (const std::size_t d : byRight[a]) {
      if (used[d]) continue;
      used[d] = 1;
      leading.push_back(cover[d]);
      const AttributeSet& left = cover[d].left;
      for (int b = left.first(); b >= 0; b = left.next(b)) {
        if (!relevant[b]) {
          relevant[b] = 1;
          pending.push_back(b);
        }
      }
    }
  }
  ClosureIndex near(attributeCount, leading);
  AttributeSet leftAttributes(attributeCount);
  for (const Dependency& dependency : leading)
    leftAttributes |= dependency.left;
  const std::vector<int> candidates = (table & leftAttributes).ids();
  const int m = static_cast<int>(candidates.size());
  if (m > maxListedLeft) {
    // Too many subsets to list: the attributes outside go by resolution
    // instead.
    const std::uint64_t resolving = work.share(kResolutionWorkBudget);
    std::uint64_t spentHere = near.work();
    std::optional<std::vector<Dependency>> eliminated =
        eliminateOutside(attributeCount, table, leading, resolving, &spentHere);
    if (!eliminated) {
      work.spend(spentHere);
      result.undecided = Undecided{
          std::to_string(m) +
          " of the table's attributes occur on left sides, and projecting "
          "by resolution stopped by the work budget"};
      return result;
    }
    return minimised(attributeCount, std::move(*eliminated), spentHere,
                     resolving, work, std::move(result));
  }
  // Sets are taken by growing size, so that a superset of a set that
  // already determines the whole table is skipped: what it implies follows
  // from that set. And X -> A is kept only when no X less one attribute
  // gives A already: the others follow from those by augmentation, and the
  // cover of the rest is far cheaper to minimise.
  std::vector<std::uint32_t> superkeys;
  std::vector<Dependency> projected;
  const std::uint32_t end = std::uint32_t{1} << m;
  std::vector<AttributeSet> within(end);
  // Every superkey test scans the superkeys found so far.
  std::uint64_t scans = 0;
  const auto spent = [&] { return near.work() + scans; };
  for (int size = 0; size <= m; ++size) {
    std::uint32_t mask = size == 0 ? 0 : (std::uint32_t{1} << size) - 1;
    for (; mask < end; mask = size == 0 ? end : nextSameCount(mask)) {
      if (spent() > allowed) {
        work.spend(spent());
        result.undecided = stoppedByBudget();
        return result;
      }
      bool skip = false;
      scans += superkeys.size();
      for (const std::uint32_t key : superkeys) {
        if ((mask & key) == key) {
          skip = true;
          break;
        }
      }
      if (skip) continue;
      AttributeSet left(attributeCount);
      for (int i = 0; i < m; ++i) {
        if (mask >> i & 1) left.insert(candidates[i]);
      }
      within[mask] = near.closure(left) & table;
      if (table.isSubsetOf(within[mask])) superkeys.push_back(mask);
      AttributeSet added = within[mask] - left;
      for (int i = 0; i < m && !added.empty(); ++i) {
        if (mask >> i & 1) added -= within[mask & ~(std::uint32_t{1} << i)];
      }
      if (!added.empty()) projected.push_back({left, added});
      if (size == 0) break;
    }
  }
  return minimised(attributeCount, std::move(projected), spent(), allowed, work,
                   std::move(result));
}

}  // namespace fdtools::design
