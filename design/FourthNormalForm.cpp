#include "design/FourthNormalForm.h"

#include <cstdint>
#include <string>
#include <utility>

#include "design/Cover.h"

namespace fdtools::design {
namespace {

// A subset of the table, bit i for its i-th attribute.
using Mask = std::uint32_t;

// One X inside the table and what follows from it there.
struct Subset {
  Mask mask = 0;
  AttributeSet set;
  // X+ within the table.
  AttributeSet closure;
  // The blocks of X's dependency basis, within the table, none empty.
  std::vector<AttributeSet> blocks;
};

class TableSubsets {
 public:
  TableSubsets(const AttributeSet& table, const MixedImplication& dependencies,
               WorkBudget& budget)
      : table(table),
        dependencies(dependencies),
        members(table.ids()),
        budget(budget) {}

  std::optional<Undecided> tooLarge() const {
    if (members.size() <= kMaxMultivaluedTableAttributes) return std::nullopt;
    return Undecided{
        std::to_string(members.size()) +
        " attributes: with multivalued dependencies, tables of up to " +
        std::to_string(kMaxMultivaluedTableAttributes) +
        " attributes are decided (every subset is tried)"};
  }

  Mask full() const { return (Mask{1} << members.size()) - 1; }

  Mask maskOf(const AttributeSet& set) const {
    Mask mask = 0;
    for (std::size_t i = 0; i < members.size(); ++i) {
      if (set.contains(members[i])) mask |= Mask{1} << i;
    }
    return mask;
  }

  AttributeSet setOf(Mask mask) const {
    AttributeSet set(dependencies.attributeCount());
    for (std::size_t i = 0; i < members.size(); ++i) {
      if (mask >> i & 1) set.insert(members[i]);
    }
    return set;
  }

  // Every X by size, smallest first, until `visit` returns false. The
  // supersets of a superkey of the table are left out: nothing follows
  // from them that does not follow from it. Undecided when the budget runs
  // out first.
  template <class Visit>
  std::optional<Undecided> forEach(Visit visit) const {
    const int m = static_cast<int>(members.size());
    std::vector<Mask> superkeys;
    for (int size = 0; size <= m; ++size) {
      // Every mask of `size` bits, in increasing order (Gosper's hack).
      Mask mask = size == 0 ? 0 : (Mask{1} << size) - 1;
      while (mask <= full()) {
        bool skip = false;
        for (const Mask key : superkeys) skip = skip || (key & ~mask) == 0;
        if (!skip) {
          if (budget.left < dependencies.basisCost()) {
            budget.left = 0;
            return Undecided{
                "the work budget of the analysis with multivalued "
                "dependencies ran out (" +
                std::to_string(members.size()) + " attributes)"};
          }
          budget.left -= dependencies.basisCost();
          Subset subset;
          subset.mask = mask;
          subset.set = setOf(mask);
          const std::vector<AttributeSet> basis =
              dependencies.basis(subset.set);
          subset.closure = dependencies.closure(subset.set, basis) & table;
          for (const AttributeSet& block : basis) {
            if (block.intersects(table)) subset.blocks.push_back(block & table);
          }
          if (table.isSubsetOf(subset.closure)) superkeys.push_back(mask);
          if (!visit(subset)) return std::nullopt;
        }
        if (mask == 0) break;
        const Mask low = mask & (~mask + 1);
        const Mask ripple = mask + low;
        mask = (((ripple ^ mask) >> 2) / low) | ripple;
      }
    }
    return std::nullopt;
  }

  // The right side of an MVD from `subset` that no FD gives: the part of
  // a given MVD with that left side outside X+, when it is neither empty
  // nor all of it, else the first block outside X+. None when fewer than
  // two blocks lie outside X+ (then only FDs break 4NF there).
  std::optional<AttributeSet> multivaluedRight(const Subset& subset) const {
    const AttributeSet outside = table - subset.closure;
    std::vector<const AttributeSet*> free;
    for (const AttributeSet& block : subset.blocks) {
      if (block.isSubsetOf(outside)) free.push_back(&block);
    }
    if (free.size() < 2) return std::nullopt;
    for (const Dependency& mvd : dependencies.multivalued()) {
      if (!(mvd.left == subset.set)) continue;
      const AttributeSet right = mvd.right & outside;
      if (!right.empty() && !(right == outside)) return right;
    }
    return *free.front();
  }

  const AttributeSet& table;
  const MixedImplication& dependencies;
  std::vector<int> members;
  WorkBudget& budget;
};

bool breaks4nf(const Subset& subset, const AttributeSet& table) {
  return subset.blocks.size() >= 2 && !table.isSubsetOf(subset.closure);
}

}  // namespace

NormalFormResult analyzeWithMultivalued(const AttributeSet& table,
                                        const MixedImplication& dependencies,
                                        int maxKeys, WorkBudget& budget) {
  const TableSubsets subsets(table, dependencies, budget);
  if (auto undecided = subsets.tooLarge()) {
    return undecidedRelation(table, std::move(*undecided));
  }
  // X -> (X+ within the table) for every X whose closure the ones before
  // it do not give: with smaller X first, they imply all the others.
  std::vector<std::pair<Mask, Mask>> found;
  const auto closureOf = [&](Mask x) {
    for (bool grew = true; grew;) {
      grew = false;
      for (const auto& [left, right] : found) {
        if ((left & ~x) == 0 && (right & ~x) != 0) {
          x |= right;
          grew = true;
        }
      }
    }
    return x;
  };
  std::vector<Mask> violators;
  std::vector<Violation> multivalued;
  auto stopped = subsets.forEach([&](const Subset& subset) {
    const Mask closure = subsets.maskOf(subset.closure);
    if (closureOf(subset.mask) != closure) {
      found.emplace_back(subset.mask, closure & ~subset.mask);
    }
    if (!breaks4nf(subset, table)) return true;
    for (const Mask smaller : violators) {
      if ((smaller & ~subset.mask) == 0) return true;
    }
    violators.push_back(subset.mask);
    if (auto right = subsets.multivaluedRight(subset)) {
      Violation violation{
          {subset.set, *right}, {NormalFormName::k4nf}, true, {}};
      violation.reason.leftClosure = subset.closure & table;
      multivalued.push_back(std::move(violation));
    }
    return true;
  });
  if (stopped) return undecidedRelation(table, std::move(*stopped));
  std::vector<Dependency> holding;
  for (const auto& [left, right] : found) {
    holding.push_back({subsets.setOf(left), subsets.setOf(right)});
  }
  const int n = dependencies.attributeCount();
  NormalFormResult result =
      analyzeRelation(n, table, minimalCover(n, holding), maxKeys);
  if (result.undecided) return result;
  if (result.form == NormalFormName::kBcnf) {
    if (multivalued.empty()) result.form = NormalFormName::k4nf;
  } else {
    for (Violation& violation : result.violations) {
      violation.violates.insert(violation.violates.begin(),
                                NormalFormName::k4nf);
    }
  }
  for (Violation& violation : multivalued) {
    violation.reason.rightPrime =
        violation.dependency.right.isSubsetOf(result.keys.prime);
    result.violations.push_back(std::move(violation));
  }
  return result;
}

FourNfSplit first4nfViolation(const AttributeSet& table,
                              const MixedImplication& dependencies,
                              WorkBudget& budget) {
  const TableSubsets subsets(table, dependencies, budget);
  FourNfSplit result;
  result.undecided = subsets.tooLarge();
  if (result.undecided) return result;
  result.undecided = subsets.forEach([&](const Subset& subset) {
    if (!breaks4nf(subset, table)) return true;
    // X -> (X+ within the table) first, as a BCNF split would.
    AttributeSet right = subset.closure - subset.set;
    if (right.empty()) {
      right = subsets.multivaluedRight(subset).value_or(subset.blocks.front());
      result.multivalued = true;
    }
    result.violation = Dependency{subset.set, right};
    return false;
  });
  return result;
}

}  // namespace fdtools::design
