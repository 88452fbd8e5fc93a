#include "design/DecompositionAnalysis.h"

#include <optional>

#include "design/FormEvidence.h"
#include "design/Multivalued.h"
#include "design/Projection.h"

namespace fdtools::design {
namespace {

ChaseResult losslessWithoutTableau() {
  ChaseResult result;
  result.lossless = true;
  return result;
}

}  // namespace

ChaseResult losslessJoin(int attributeCount,
                         const std::vector<AttributeSet>& tables,
                         const std::vector<Dependency>& cover, Tableau tableau,
                         const std::vector<Dependency>& multivalued,
                         ChaseSteps* steps) {
  if (attributeCount == 0 && tables.empty()) return losslessWithoutTableau();
  // The FDs alone prove a lossless join under the MVDs too.
  if (tableau == Tableau::kIfLossy &&
      losslessThroughTables(attributeCount, tables, cover)) {
    return losslessWithoutTableau();
  }
  if (!multivalued.empty()) {
    const MixedImplication implication(attributeCount, cover, multivalued);
    std::optional<bool> merged;
    const auto joinsPairwise = [&] {
      if (!merged) merged = losslessThroughMerges(tables, implication);
      return *merged;
    };
    if (tableau == Tableau::kIfLossy && joinsPairwise()) {
      return losslessWithoutTableau();
    }
    ChaseResult chased =
        chaseWithMultivalued(attributeCount, tables, cover, multivalued);
    // Rows can grow as their number to the power of the tables before one
    // is all distinguished; joining pair by pair may still prove it. Then
    // only the tables' own rows are shown.
    if (chased.undecided && joinsPairwise()) {
      chased.tableau.resize(tables.size());
      chased.undecided.reset();
      chased.lossless = true;
      chased.joinedPairwise = true;
    }
    return chased;
  }
  return chase(attributeCount, tables, cover, steps);
}

std::vector<DependencyPreservation> preservationOf(
    const std::vector<AttributeSet>& tables, ClosureIndex& index,
    const std::vector<Dependency>& dependencies, bool verdictOnly,
    std::size_t traceLimit) {
  PreservationTester tester(tables, index);
  std::vector<DependencyPreservation> result;
  result.reserve(dependencies.size());
  std::size_t traced = 0;
  for (const Dependency& dependency : dependencies) {
    const bool untraced = verdictOnly || traced >= traceLimit;
    DependencyPreservation& tested =
        result.emplace_back(tester.test(dependency, untraced));
    tested.traced = !untraced;
    if (untraced) continue;
    traced += static_cast<std::size_t>(tested.reached.size());
    for (const PreservationStep& step : tested.steps) {
      traced += static_cast<std::size_t>(step.added.size());
    }
  }
  return result;
}

NormalFormResult analyzeTable(const AttributeSet& table, int attributeCount,
                              const std::vector<Dependency>& cover,
                              ClosureIndex& coverIndex, int maxKeys,
                              WorkBudget* budget, Projector* projector) {
  Projection projection =
      projector != nullptr
          ? projector->project(table, budget)
          : projectOnto(table, attributeCount, cover, coverIndex, budget);
  if (projection.undecided) {
    WorkBudget own{kRunWorkBudget};
    return formByEvidence(table, attributeCount, cover, coverIndex,
                          *projection.undecided,
                          budget != nullptr ? *budget : own);
  }
  return analyzeRelation(attributeCount, table, projection.cover, maxKeys,
                         nullptr, budget);
}

}  // namespace fdtools::design
