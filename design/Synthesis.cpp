#include "design/Synthesis.h"

#include <algorithm>
#include <map>

#include "design/BcnfTest.h"
#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/FourthNormalForm.h"
#include "design/Keys.h"
#include "design/Projection.h"
#include "design/TableIndex.h"

namespace fdtools::design {
namespace {

// What the exact projection of one table may spend in a BCNF
// decomposition: all that textbook schemas need.
constexpr std::uint64_t kBcnfProjectionWorkBudget = std::uint64_t{1} << 22;
// The whole decomposition, projections and pair tests together: about
// two seconds at most.
constexpr std::uint64_t kBcnfWorkBudget = kRunWorkBudget / 2;
// Wider tables are decomposed by the pair test without trying to project
// them: the projection's preparation alone is linear in F.
constexpr int kMaxBcnfProjectedAttributes = 2 * kMaxProjectionLeftAttributes;

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

// Records the split tree beside the stack of tables still to split. Nodes
// are numbered as they are taken off the stack, so in the order the tree
// is walked: a node, its first part's subtree, then its second's.
class SplitTree {
 public:
  explicit SplitTree(SynthesisSteps* steps) : steps(steps) {}

  void root(const AttributeSet& table) { pendingNodes.push_back({-1, table}); }

  // The node of the table just taken off the stack.
  int take() {
    if (steps == nullptr) return -1;
    const auto [parent, table] = pendingNodes.back();
    pendingNodes.pop_back();
    const int node = static_cast<int>(steps->splits.size());
    steps->splits.push_back({table, std::nullopt, false, false, -1, -1});
    if (parent >= 0) {
      SynthesisSteps::Split& above =
          steps->splits[static_cast<std::size_t>(parent)];
      (above.first < 0 ? above.first : above.second) = node;
    }
    return node;
  }

  // `node` split on `violation` into the last two tables of `pending`,
  // the one on top (taken first) being the first part.
  void split(int node, const Dependency& violation, bool multivalued,
             const std::vector<AttributeSet>& pending, bool byPairs = false) {
    if (steps == nullptr) return;
    SynthesisSteps::Split& split =
        steps->splits[static_cast<std::size_t>(node)];
    split.violation = violation;
    split.multivalued = multivalued;
    split.byPairs = byPairs;
    pendingNodes.push_back({node, pending[pending.size() - 2]});
    pendingNodes.push_back({node, pending.back()});
  }

 private:
  SynthesisSteps* steps;
  // Parallel to the stack of tables: each one's parent node.
  std::vector<std::pair<int, AttributeSet>> pendingNodes;
};

}  // namespace

std::vector<AttributeSet> withoutContainedTables(
    const std::vector<AttributeSet>& tables,
    std::vector<std::pair<AttributeSet, AttributeSet>>* removed) {
  const TableIndex index(tables);
  std::vector<AttributeSet> kept;
  for (std::size_t i = 0; i < tables.size(); ++i) {
    bool inside = false;
    for (const std::size_t j : index.holding(tables[i])) {
      // Of two equal tables the first stays.
      if (j != i && (!(tables[i] == tables[j]) || j < i)) {
        inside = true;
        if (removed != nullptr) removed->emplace_back(tables[i], tables[j]);
        break;
      }
    }
    if (!inside) kept.push_back(tables[i]);
  }
  return kept;
}

Decomposition synthesize3nf(int attributeCount,
                            const std::vector<Dependency>& dependencies,
                            SynthesisSteps* steps) {
  const std::vector<Dependency> cover =
      minimalCover(attributeCount, dependencies);
  if (steps != nullptr) steps->cover = cover;
  // One table per distinct left side, in the order the cover first has it.
  std::vector<AttributeSet> tables;
  std::map<std::vector<int>, std::size_t> tableOfLeft;
  for (const Dependency& dependency : cover) {
    const auto [it, isNew] =
        tableOfLeft.emplace(dependency.left.ids(), tables.size());
    if (isNew) tables.push_back(dependency.left);
    tables[it->second] |= dependency.right;
  }
  if (steps != nullptr) {
    for (const auto& [left, t] : tableOfLeft) {
      const AttributeSet side = AttributeSet::of(attributeCount, left);
      steps->made.push_back({side, tables[t] - side});
    }
    // In the order the tables were made, not that of the map.
    std::sort(steps->made.begin(), steps->made.end(),
              [&](const Dependency& a, const Dependency& b) {
                return tableOfLeft.at(a.left.ids()) <
                       tableOfLeft.at(b.left.ids());
              });
  }
  tables = withoutContainedTables(tables,
                                  steps != nullptr ? &steps->removed : nullptr);
  ClosureIndex index(attributeCount, cover);
  // A table that determines everything through the tables' own
  // dependencies holds a key; a schema without attributes needs no table.
  const int holder = tableDeterminingAll(attributeCount, tables, cover);
  if (holder < 0 && attributeCount > 0) {
    tables.push_back(someKey(index, attributeCount, cover));
    if (steps != nullptr) steps->keyAdded = tables.back();
  } else if (holder >= 0 && steps != nullptr) {
    steps->keyHeldBy = tables[static_cast<std::size_t>(holder)];
  }
  Decomposition result;
  result.tables = std::move(tables);
  return result;
}

Decomposition decomposeBcnf(int attributeCount,
                            const std::vector<Dependency>& dependencies,
                            SynthesisSteps* steps, int maxProjectedSchema) {
  const std::vector<Dependency> cover =
      minimalCover(attributeCount, dependencies);
  if (steps != nullptr) steps->cover = cover;
  SplitTree tree(steps);
  ClosureIndex index(attributeCount, cover);
  BcnfTester tester(attributeCount, cover, index);
  Projector projector(attributeCount, cover);
  WorkBudget budget{kBcnfWorkBudget};
  Decomposition result;
  if (attributeCount == 0) return result;
  const auto overBudget = [&] {
    result.undecided =
        Undecided{"the BCNF decomposition stopped by the work budget"};
    result.tables.clear();
    return result;
  };
  // Depth first, the part determined by the violating left side before the
  // rest, so the order of the result is fixed.
  std::vector<AttributeSet> pending = {AttributeSet::all(attributeCount)};
  tree.root(pending.back());
  while (!pending.empty()) {
    const AttributeSet table = std::move(pending.back());
    pending.pop_back();
    const int node = tree.take();
    // A table narrow enough is projected exactly, and split on the first
    // dependency of its projection that breaks BCNF.
    std::optional<Dependency> violation;
    std::optional<AttributeSet> determinedPart;
    // A small share each: beyond it the pair test is cheaper. Wide tables
    // and all those of wide schemas, where the tables are many, go to it
    // straight away, but for the whole schema, which the projection
    // answers at once.
    WorkBudget projecting{budget.share(kBcnfProjectionWorkBudget)};
    const bool narrow = (attributeCount <= maxProjectedSchema &&
                         table.size() <= kMaxBcnfProjectedAttributes) ||
                        table.size() == attributeCount;
    std::optional<Projection> projection;
    if (narrow) {
      projection = projector.project(table, &projecting);
      budget.spend(budget.share(kBcnfProjectionWorkBudget) - projecting.left);
      if (projection->undecided) projection.reset();
    }
    bool inBcnf = false;
    if (projection) {
      inBcnf = true;
      for (const Dependency& dependency : projection->cover) {
        if (!index.implies(dependency.left, table)) {
          violation = dependency;
          inBcnf = false;
          break;
        }
      }
    } else {
      // Otherwise Tsou and Fischer's way: while pairs fire on superkeys,
      // narrow to a least determinant and what it determines; what passes
      // the pair test is in BCNF and splits off.
      AttributeSet part = table;
      int determined = -1;
      while (true) {
        const BcnfEvidence evidence = tester.test(part, budget);
        if (evidence.verdict == BcnfEvidence::Verdict::kOverBudget) {
          return overBudget();
        }
        if (evidence.verdict == BcnfEvidence::Verdict::kViolated) {
          // No superkey of the part is none of the whole table either.
          violation = evidence.violation;
          // Found in the table itself, it holds X+ within the table.
          if (determined < 0) {
            determinedPart = evidence.violation.left | evidence.violation.right;
          }
          break;
        }
        if (evidence.verdict == BcnfEvidence::Verdict::kInBcnf) {
          inBcnf = determined < 0;
          break;
        }
        part = evidence.determinant;
        part.insert(evidence.determined);
        determined = evidence.determined;
      }
      if (!inBcnf && !violation) {
        Dependency by{part, AttributeSet::of(attributeCount, {determined})};
        by.left.erase(determined);
        AttributeSet rest = table;
        rest.erase(determined);
        if (!index.implies(by.left, table)) {
          violation = std::move(by);
        } else {
          pending.push_back(std::move(rest));
          pending.push_back(std::move(part));
          tree.split(node, by, false, pending, true);
          continue;
        }
      }
    }
    if (inBcnf) {
      result.tables.push_back(table);
      continue;
    }
    // X -> (X+ within the table) rather than X -> A: fewer splits.
    const AttributeSet determined =
        determinedPart ? std::move(*determinedPart)
                       : index.closure(violation->left) & table;
    pending.push_back(table - (determined - violation->left));
    pending.push_back(determined);
    tree.split(node, {violation->left, determined - violation->left}, false,
               pending);
  }
  result.tables = withoutContainedTables(
      result.tables, steps != nullptr ? &steps->removed : nullptr);
  return result;
}

Decomposition decompose4nf(const MixedImplication& dependencies,
                           SynthesisSteps* steps) {
  const int n = dependencies.attributeCount();
  Decomposition result;
  if (n == 0) return result;
  SplitTree tree(steps);
  std::vector<AttributeSet> pending = {AttributeSet::all(n)};
  tree.root(pending.back());
  WorkBudget budget{kMultivaluedWorkBudget};
  while (!pending.empty()) {
    const AttributeSet table = std::move(pending.back());
    pending.pop_back();
    const int node = tree.take();
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
    tree.split(node, violation, split.multivalued, pending);
  }
  result.tables = withoutContainedTables(
      result.tables, steps != nullptr ? &steps->removed : nullptr);
  return result;
}

}  // namespace fdtools::design
