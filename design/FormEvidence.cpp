#include "design/FormEvidence.h"

#include <string>
#include <utility>

#include "design/BcnfTest.h"

namespace fdtools::design {
namespace {

// Closures of parts of one table under F, each charged to the budget and
// refused once it is spent.
class TableClosures {
 public:
  TableClosures(const AttributeSet& table, ClosureIndex& index,
                WorkBudget& budget)
      : table(table), index(index), budget(budget) {}

  int attributeCount() const { return index.attributeCount(); }

  bool spent() const { return budget.left == 0; }

  // Whether `part` determines `goal`; nullopt once the budget is spent.
  std::optional<bool> implies(const AttributeSet& part,
                              const AttributeSet& goal) {
    if (spent()) return std::nullopt;
    const std::uint64_t before = index.work();
    const bool holds = index.implies(part, goal);
    budget.spend(index.work() - before);
    return holds;
  }

  std::optional<AttributeSet> closureWithin(const AttributeSet& part) {
    if (spent()) return std::nullopt;
    const std::uint64_t before = index.work();
    AttributeSet reached = index.closure(part) & table;
    budget.spend(index.work() - before);
    return reached;
  }

 private:
  const AttributeSet& table;
  ClosureIndex& index;
  WorkBudget& budget;
};

// The attributes of `table` in every one of its keys: those the rest of
// it does not determine.
std::optional<AttributeSet> inEveryKey(const AttributeSet& table,
                                       TableClosures& closures) {
  AttributeSet core(closures.attributeCount());
  for (int a = table.first(); a >= 0; a = table.next(a)) {
    AttributeSet rest = table;
    rest.erase(a);
    const std::optional<bool> determined = closures.implies(
        rest, AttributeSet::of(closures.attributeCount(), {a}));
    if (!determined) return std::nullopt;
    if (!*determined) core.insert(a);
  }
  return core;
}

// A key of `table`: the table less whatever the rest still determines,
// taken away one attribute at a time. Those in every key stay anyway.
std::optional<AttributeSet> oneKey(const AttributeSet& table,
                                   const AttributeSet& core,
                                   TableClosures& closures) {
  AttributeSet key = table;
  const AttributeSet others = table - core;
  for (int a = others.first(); a >= 0; a = others.next(a)) {
    key.erase(a);
    const std::optional<bool> still = closures.implies(key, table);
    if (!still) return std::nullopt;
    if (!*still) key.insert(a);
  }
  return key;
}

// Enough to prove the table in 1NF only: part of `key` determining
// non-prime attributes, one violation for each.
std::vector<Violation> partialDependencies(const AttributeSet& key,
                                           const AttributeSet& nonPrime,
                                           TableClosures& closures) {
  std::vector<Violation> found;
  for (int a = key.first(); a >= 0 && found.empty(); a = key.next(a)) {
    AttributeSet part = key;
    part.erase(a);
    const std::optional<AttributeSet> reached = closures.closureWithin(part);
    if (!reached) break;
    const AttributeSet partial = *reached & nonPrime;
    for (int b = partial.first(); b >= 0; b = partial.next(b)) {
      found.push_back(
          {{part, AttributeSet::of(closures.attributeCount(), {b})},
           {NormalFormName::kBcnf, NormalFormName::k3nf, NormalFormName::k2nf},
           false,
           {*reached, false, key}});
    }
  }
  return found;
}

}  // namespace

NormalFormResult formByEvidence(const AttributeSet& table, int attributeCount,
                                const std::vector<Dependency>& cover,
                                ClosureIndex& index,
                                const Undecided& projectionStop,
                                WorkBudget& budget) {
  const std::uint64_t granted = budget.share(kEvidenceWorkBudget);
  WorkBudget own{granted};
  const auto finish = [&](NormalFormResult result) {
    budget.spend(granted - own.left);
    return result;
  };
  const auto undecided = [&](const std::string& shown) {
    return finish(undecidedRelation(
        table, {projectionStop.reason + (shown.empty() ? "" : "; " + shown)}));
  };
  BcnfTester tester(attributeCount, cover, index);
  const BcnfEvidence bcnf = tester.test(table, own);
  TableClosures closures(table, index, own);
  const std::optional<AttributeSet> core = inEveryKey(table, closures);
  const std::optional<AttributeSet> key =
      core ? oneKey(table, *core, closures) : std::nullopt;
  if (!key) return undecided("");

  NormalFormResult result;
  result.attributes = table;
  result.coverStopped = projectionStop;
  result.keys.keys = {*key};
  result.keys.complete = false;
  result.keys.stoppedBy = KeyStop::kUnprojected;
  result.keys.prime = *key;
  if (bcnf.verdict == BcnfEvidence::Verdict::kInBcnf) {
    result.form = NormalFormName::kBcnf;
    return finish(std::move(result));
  }
  const std::optional<AttributeSet> reached = closures.closureWithin(*core);
  if (!reached) return undecided("");
  const AttributeSet nonPrime = *reached - *core;
  result.violations = partialDependencies(*key, nonPrime, closures);
  if (!result.violations.empty()) {
    result.form = NormalFormName::k1nf;
    return finish(std::move(result));
  }
  if (bcnf.verdict != BcnfEvidence::Verdict::kViolated) return undecided("");
  return undecided(bcnf.violation.right.intersects(nonPrime)
                       ? "not in 3NF, and whether in 2NF is unknown"
                       : "not in BCNF, and whether in 3NF is unknown");
}

}  // namespace fdtools::design
