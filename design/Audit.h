// The whole design audit of one schema: each answer computed on first use
// and kept, so that a report shares the cover, the keys and the closure
// index between its parts.
#ifndef DESIGN_AUDIT_H_
#define DESIGN_AUDIT_H_

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "design/Keys.h"
#include "design/NormalForm.h"
#include "design/Preservation.h"
#include "design/Schema.h"

namespace fdtools::design {

constexpr int kDefaultMaxKeys = 10000;

struct NormalForms {
  NormalFormResult schema;
  std::vector<NormalFormResult> tables;
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
  // Facts about the input worth a warning, in a fixed order; names are
  // written as `spell` gives them.
  std::vector<std::string> warnings(
      const std::function<std::string(const std::string&)>& spell =
          [](const std::string& name) { return name; }) const;

  AttributeSet closure(const AttributeSet& start);
  const std::vector<Dependency>& cover();
  const KeySet& keys();
  NormalForms normalForms();
  ChaseResult lossless();
  std::vector<DependencyPreservation> preservation();

 private:
  ClosureIndex& index();

  const Schema& schema_;
  int maxKeys_;
  bool tablesIgnored = false;
  std::unique_ptr<ClosureIndex> index_;
  std::optional<std::vector<Dependency>> cover_;
  std::optional<KeySet> keys_;
};

}  // namespace fdtools::design

#endif  // DESIGN_AUDIT_H_
