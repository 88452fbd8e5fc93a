#include "design/DecompositionAnalysis.h"

#include "design/Projection.h"

namespace fdtools::design {

ChaseResult losslessJoin(int attributeCount,
                         const std::vector<AttributeSet>& tables,
                         const std::vector<Dependency>& cover, Tableau tableau,
                         const std::vector<Dependency>& multivalued) {
  if (attributeCount == 0 && tables.empty()) return ChaseResult{true, {}, {}};
  // The FDs alone prove a lossless join under the MVDs too.
  if (tableau == Tableau::kIfLossy &&
      losslessThroughTables(attributeCount, tables, cover)) {
    return ChaseResult{true, {}, {}};
  }
  if (!multivalued.empty()) {
    return chaseWithMultivalued(attributeCount, tables, cover, multivalued);
  }
  return chase(attributeCount, tables, cover);
}

std::vector<DependencyPreservation> preservationOf(
    const std::vector<AttributeSet>& tables, ClosureIndex& index,
    const std::vector<Dependency>& dependencies, bool verdictOnly) {
  PreservationTester tester(tables, index);
  std::vector<DependencyPreservation> result;
  result.reserve(dependencies.size());
  for (const Dependency& dependency : dependencies) {
    result.push_back(tester.test(dependency, verdictOnly));
  }
  return result;
}

NormalFormResult analyzeTable(const AttributeSet& table, int attributeCount,
                              const std::vector<Dependency>& cover,
                              ClosureIndex& coverIndex, int maxKeys) {
  Projection projection = projectOnto(table, attributeCount, cover, coverIndex);
  if (projection.undecided) {
    return undecidedRelation(table, std::move(*projection.undecided));
  }
  return analyzeRelation(attributeCount, table, projection.cover, maxKeys);
}

}  // namespace fdtools::design
