// The whole design audit of one schema: each answer computed on first use
// and kept, so that a report shares the cover, the keys and the closure
// index between its parts, and a check reuses what the audit found.
#ifndef DESIGN_AUDIT_H_
#define DESIGN_AUDIT_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/FourthNormalForm.h"
#include "design/Keys.h"
#include "design/Multivalued.h"
#include "design/NormalForm.h"
#include "design/Preservation.h"
#include "design/Schema.h"

namespace fdtools::design {

constexpr int kDefaultMaxKeys = 10000;

struct NormalForms {
  NormalFormResult schema;
  std::vector<NormalFormResult> tables;
};

// A fact about the input or the answers worth telling the reader.
struct Warning {
  enum class Kind {
    // The decomposition is the one table of every attribute.
    kNoTables,
    // `attributes` lie in no table.
    kUncoveredAttributes,
    // The schema's key enumeration stopped by `limit`.
    kKeysIncomplete,
    // The input has MVDs, and `parts` answer from the FDs alone.
    kFunctionalOnly,
    // Steps were asked for, and `parts` (under MVDs) have none.
    kNoSteps,
  };
  Kind kind;
  AttributeSet attributes;
  std::string limit;
  std::string parts;
};

class Audit {
 public:
  // `schema` must outlive the audit. `maxKeys` (at least 1) stops each key
  // enumeration.
  explicit Audit(const Schema& schema, int maxKeys = kDefaultMaxKeys);

  const Schema& schema() const { return schema_; }
  // For commands that compare dependency sets only: no warnings about the
  // tables.
  void ignoreTables() { tablesIgnored = true; }
  int maxKeys() const { return maxKeys_; }
  // The cover and the chase computed from now on record their steps.
  void recordSteps() { stepsWanted = true; }
  // Set once the cover (the chase) was computed with its steps; the chase
  // records none with MVDs.
  const StepList<CoverStep>* coverSteps() const {
    return coverSteps_ ? &*coverSteps_ : nullptr;
  }
  const ChaseSteps* chaseSteps() const {
    return chaseSteps_ ? &*chaseSteps_ : nullptr;
  }
  // What is worth a warning, in a fixed order, given what has been
  // computed so far: ask after the answers.
  std::vector<Warning> warnings() const;

  // Over the schema's dependencies.
  ClosureIndex& index();
  AttributeSet closure(const AttributeSet& start);
  const std::vector<Dependency>& cover();
  const KeySet& keys();
  // Implication under the FDs and MVDs together.
  const MixedImplication& mixed();
  // The schema's own form and each table's; with MVDs, up to 4NF.
  NormalForms normalForms();
  const std::vector<NormalFormResult>& tableForms();
  // The full chase, with its final tableau; MVDs add rows.
  const ChaseResult& lossless();
  const std::vector<DependencyPreservation>& preservation();

 private:
  const Schema& schema_;
  int maxKeys_;
  bool tablesIgnored = false;
  bool stepsWanted = false;
  std::optional<StepList<CoverStep>> coverSteps_;
  std::optional<ChaseSteps> chaseSteps_;
  std::unique_ptr<ClosureIndex> index_;
  std::unique_ptr<MixedImplication> mixed_;
  // The schema's own form under the MVDs, also that of a table of every
  // attribute.
  const NormalFormResult& mixedSchemaForm();
  std::optional<NormalFormResult> mixedSchemaForm_;
  // Shared by every analysis of a table under the MVDs.
  WorkBudget mixedBudget{kMultivaluedWorkBudget};
  // Shared by every key and primality search of the audit.
  WorkBudget searchBudget{kRunWorkBudget};
  std::optional<std::vector<Dependency>> cover_;
  std::optional<KeySet> keys_;
  std::optional<std::vector<NormalFormResult>> tableForms_;
  std::optional<ChaseResult> lossless_;
  std::optional<std::vector<DependencyPreservation>> preservation_;
};

}  // namespace fdtools::design

#endif  // DESIGN_AUDIT_H_
