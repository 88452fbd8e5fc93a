#include "design/Audit.h"

#include <map>

#include "design/Cover.h"
#include "design/DecompositionAnalysis.h"
#include "design/FourthNormalForm.h"

namespace fdtools::design {

Audit::Audit(const Schema& schema, int maxKeys)
    : schema_(schema), maxKeys_(maxKeys) {}

std::vector<Warning> Audit::warnings() const {
  std::vector<Warning> result;
  if (!schema_.tablesGiven() && !tablesIgnored) {
    result.push_back({Warning::Kind::kNoTables, {}, {}, {}});
  }
  const AttributeSet uncovered = schema_.uncoveredAttributes();
  if (!uncovered.empty() && !tablesIgnored) {
    result.push_back({Warning::Kind::kUncoveredAttributes, uncovered, {}, {}});
  }
  if (keys_ && !keys_->complete) {
    result.push_back(
        {Warning::Kind::kKeysIncomplete, {}, stopDescription(*keys_), {}});
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
    if (stepsWanted) coverSteps_.emplace();
    cover_ = minimalCover(schema_.attributeCount(), schema_.dependencies(),
                          coverSteps_ ? &*coverSteps_ : nullptr);
  }
  return *cover_;
}

const KeySet& Audit::keys() {
  if (!keys_) {
    keys_ = findKeys(schema_.attributeCount(), schema_.allAttributes(), cover(),
                     maxKeys_, searchBudget.share(kKeyWorkBudget));
    searchBudget.spend(keys_->work);
  }
  return *keys_;
}

const MixedImplication& Audit::mixed() {
  if (!mixed_) {
    mixed_ = std::make_unique<MixedImplication>(schema_.attributeCount(),
                                                cover(), schema_.multivalued());
  }
  return *mixed_;
}

const NormalFormResult& Audit::mixedSchemaForm() {
  if (!mixedSchemaForm_) {
    mixedSchemaForm_ = analyzeWithMultivalued(schema_.allAttributes(), mixed(),
                                              maxKeys_, mixedBudget);
  }
  return *mixedSchemaForm_;
}

NormalForms Audit::normalForms() {
  NormalForms result;
  result.schema =
      schema_.hasMultivalued()
          ? mixedSchemaForm()
          : analyzeRelation(schema_.attributeCount(), schema_.allAttributes(),
                            cover(), maxKeys_, &keys(), &searchBudget);
  result.tables = tableForms();
  return result;
}

const std::vector<NormalFormResult>& Audit::tableForms() {
  if (!tableForms_) {
    const int n = schema_.attributeCount();
    ClosureIndex coverIndex(n, cover());
    Projector projector(n, cover());
    tableForms_.emplace();
    // A table of every attribute is the schema itself: what holds in it is
    // the cover, and its keys are the schema's. A table given twice is
    // analysed once.
    const AttributeSet all = schema_.allAttributes();
    std::map<std::vector<int>, std::size_t> seen;
    for (const AttributeSet& table : schema_.tables()) {
      const auto [it, isNew] = seen.emplace(table.ids(), tableForms_->size());
      if (!isNew) {
        tableForms_->push_back((*tableForms_)[it->second]);
        continue;
      }
      if (schema_.hasMultivalued()) {
        tableForms_->push_back(
            table == all ? mixedSchemaForm()
                         : analyzeWithMultivalued(table, mixed(), maxKeys_,
                                                  mixedBudget));
        continue;
      }
      tableForms_->push_back(
          table == all ? analyzeRelation(n, table, cover(), maxKeys_, &keys(),
                                         &searchBudget)
                       : analyzeTable(table, n, cover(), coverIndex, maxKeys_,
                                      &searchBudget, &projector));
    }
  }
  return *tableForms_;
}

const ChaseResult& Audit::lossless() {
  if (!lossless_) {
    if (stepsWanted && !schema_.hasMultivalued()) chaseSteps_.emplace();
    lossless_ = losslessJoin(schema_.attributeCount(), schema_.tables(),
                             cover(), Tableau::kAlways, schema_.multivalued(),
                             chaseSteps_ ? &*chaseSteps_ : nullptr);
  }
  return *lossless_;
}

const std::vector<DependencyPreservation>& Audit::preservation() {
  if (!preservation_) {
    preservation_ =
        preservationOf(schema_.tables(), index(), schema_.dependencies());
  }
  return *preservation_;
}

}  // namespace fdtools::design
