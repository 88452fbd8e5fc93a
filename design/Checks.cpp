#include "design/Checks.h"

#include "design/Audit.h"
#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/NormalForm.h"
#include "design/Preservation.h"
#include "design/Projection.h"

namespace fdtools::design {
namespace {

void addNonImplied(int attributeCount, const std::vector<Dependency>& these,
                   const std::vector<Dependency>& others, int from,
                   std::vector<ImplicationWitness>& witnesses) {
  ClosureIndex index(attributeCount, others);
  for (std::size_t i = 0; i < these.size(); ++i) {
    if (!index.implies(these[i].left, these[i].right)) {
      witnesses.push_back({from, static_cast<int>(i)});
    }
  }
}

}  // namespace

std::vector<ImplicationWitness> nonImplied(
    int attributeCount, const std::vector<Dependency>& first,
    const std::vector<Dependency>& second) {
  std::vector<ImplicationWitness> witnesses;
  addNonImplied(attributeCount, first, second, 1, witnesses);
  addNonImplied(attributeCount, second, first, 2, witnesses);
  return witnesses;
}

std::vector<CoverFailure> checkCover(int attributeCount,
                                     const std::vector<Dependency>& given,
                                     const std::vector<Dependency>& cover) {
  std::vector<CoverFailure> failures;
  for (const ImplicationWitness& w : nonImplied(attributeCount, given, cover)) {
    failures.push_back({"equivalent", w.from, w.index, -1});
  }
  for (std::size_t i = 0; i < cover.size(); ++i) {
    if (cover[i].right.size() != 1) {
      failures.push_back({"single-right-side", 2, static_cast<int>(i), -1});
    }
  }
  ClosureIndex index(attributeCount, cover);
  for (std::size_t i = 0; i < cover.size(); ++i) {
    const AttributeSet& left = cover[i].left;
    for (int a = left.first(); a >= 0; a = left.next(a)) {
      AttributeSet smaller = left;
      smaller.erase(a);
      if (index.implies(smaller, cover[i].right)) {
        failures.push_back(
            {"no-extraneous-attribute", 2, static_cast<int>(i), a});
      }
    }
  }
  for (std::size_t i = 0; i < cover.size(); ++i) {
    if (index.implies(cover[i].left, cover[i].right, static_cast<int>(i))) {
      failures.push_back(
          {"no-redundant-dependency", 2, static_cast<int>(i), -1});
    }
  }
  return failures;
}

DecompositionCheck checkDecomposition(const Schema& schema,
                                      const std::string& form, int maxKeys) {
  DecompositionCheck result;
  Audit audit(schema, maxKeys);
  result.chase.lossless = losslessThroughTables(schema.attributeCount(),
                                                schema.tables(), audit.cover());
  if (!result.chase.lossless) result.chase = audit.lossless();
  if (!result.chase.lossless) {
    DecompositionFailure failure;
    failure.property = "lossless";
    result.failures.push_back(std::move(failure));
  }
  const std::vector<DependencyPreservation> preservation = audit.preservation();
  for (std::size_t i = 0; i < preservation.size(); ++i) {
    if (preservation[i].preserved) continue;
    DecompositionFailure failure;
    failure.property = "preserving";
    failure.index = static_cast<int>(i);
    failure.dependency = schema.dependencies()[i];
    failure.missing = preservation[i].missing;
    result.failures.push_back(std::move(failure));
  }
  if (form.empty()) return result;
  const int n = schema.attributeCount();
  ClosureIndex coverIndex(n, audit.cover());
  for (std::size_t t = 0; t < schema.tables().size(); ++t) {
    const AttributeSet& table = schema.tables()[t];
    const Projection projection =
        projectOnto(table, n, audit.cover(), coverIndex);
    const NormalFormResult relation =
        projection.decided
            ? analyzeRelation(n, table, projection.cover, maxKeys)
            : undecidedRelation(table, projection.reason);
    if (!relation.decided) {
      result.decided = false;
      result.reason = "table " + std::to_string(t) + ": " + relation.reason;
      return result;
    }
    for (const Violation& violation : relation.violations) {
      bool breaks = false;
      for (const std::string& broken : violation.violates) {
        breaks = breaks || broken == form;
      }
      if (!breaks) continue;
      DecompositionFailure failure;
      failure.property = form;
      failure.table = static_cast<int>(t);
      failure.dependency = violation.dependency;
      result.failures.push_back(std::move(failure));
      break;
    }
  }
  return result;
}

}  // namespace fdtools::design
