#include "design/Audit.h"

#include "design/Cover.h"
#include "design/Projection.h"

namespace fdtools::design {

Audit::Audit(const Schema& schema, int maxKeys)
    : schema_(schema), maxKeys_(maxKeys) {}

std::vector<std::string> Audit::warnings(
    const std::function<std::string(const std::string&)>& spell) const {
  std::vector<std::string> result;
  if (!schema_.tablesGiven() && !tablesIgnored) {
    result.push_back(
        "no tables given: the decomposition is one table holding every "
        "attribute");
  }
  const AttributeSet uncovered = schema_.uncoveredAttributes();
  if (!uncovered.empty() && !tablesIgnored) {
    std::string names;
    for (const std::string& name : schema_.namesOf(uncovered)) {
      if (!names.empty()) names += ',';
      names += spell(name);
    }
    result.push_back(
        "attributes in no table: " + names +
        " (never reached by the preservation test; fdcheck counts what "
        "follows from the empty set as reached)");
  }
  if (keys_ && !keys_->complete) {
    result.push_back("key enumeration stopped by " + keys_->stoppedBy +
                     ": the keys listed are not all, nor are the prime "
                     "attributes");
  }
  return result;
}

ClosureIndex& Audit::index() {
  if (!index_) {
    index_ = std::make_unique<ClosureIndex>(schema_.attributeCount(),
                                            schema_.dependencies());
  }
  return *index_;
}

AttributeSet Audit::closure(const AttributeSet& start) {
  return index().closure(start);
}

const std::vector<Dependency>& Audit::cover() {
  if (!cover_) {
    cover_ = minimalCover(schema_.attributeCount(), schema_.dependencies());
  }
  return *cover_;
}

const KeySet& Audit::keys() {
  if (!keys_) {
    keys_ = findKeys(schema_.attributeCount(), schema_.allAttributes(), cover(),
                     maxKeys_);
  }
  return *keys_;
}

NormalForms Audit::normalForms() {
  const int n = schema_.attributeCount();
  NormalForms result;
  result.schema =
      analyzeRelation(n, schema_.allAttributes(), cover(), maxKeys_, &keys());
  ClosureIndex coverIndex(n, cover());
  for (const AttributeSet& table : schema_.tables()) {
    Projection projection = projectOnto(table, n, cover(), coverIndex);
    if (!projection.decided) {
      result.tables.push_back(undecidedRelation(table, projection.reason));
      continue;
    }
    result.tables.push_back(
        analyzeRelation(n, table, projection.cover, maxKeys_));
  }
  return result;
}

ChaseResult Audit::lossless() {
  return chase(schema_.attributeCount(), schema_.tables(), cover());
}

std::vector<DependencyPreservation> Audit::preservation() {
  PreservationTester tester(schema_.tables(), index());
  std::vector<DependencyPreservation> result;
  for (const Dependency& dependency : schema_.dependencies()) {
    result.push_back(tester.test(dependency));
  }
  return result;
}

}  // namespace fdtools::design
