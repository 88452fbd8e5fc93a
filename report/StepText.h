// The steps of a worked solution in words: one sentence per step, the same
// in every format that people read (text, LaTeX, Markdown), which differ
// only in how they spell a set, a dependency or a chase symbol.
#ifndef REPORT_STEPTEXT_H_
#define REPORT_STEPTEXT_H_

#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/Keys.h"
#include "design/NormalForm.h"
#include "design/Preservation.h"
#include "design/Schema.h"
#include "design/Synthesis.h"

namespace fdtools::report {

class Spelling {
 public:
  explicit Spelling(const design::Schema& schema) : schema_(schema) {}
  virtual ~Spelling() = default;

  virtual std::string set(const design::AttributeSet& set) const = 0;
  virtual std::string attribute(int id) const = 0;
  virtual std::string dependency(const design::Dependency& dependency,
                                 bool multivalued = false) const = 0;
  // A chase symbol in `column`: the distinguished a, or the unknown that
  // started in a row, named by that row and the column.
  virtual std::string symbol(int symbol, int column) const = 0;

  const design::Schema& schema() const { return schema_; }

 private:
  const design::Schema& schema_;
};

// Sets as "{A,B}", dependencies as "{A} -> {B}", unknowns as "b0,A": the
// text report's own notation, names as their bytes ('' for the empty one).
class PlainSpelling : public Spelling {
 public:
  using Spelling::Spelling;
  std::string set(const design::AttributeSet& set) const override;
  std::string attribute(int id) const override;
  std::string dependency(const design::Dependency& dependency,
                         bool multivalued = false) const override;
  std::string symbol(int symbol, int column) const override;
};

// "A, B and C".
std::string listedInWords(const std::vector<std::string>& items);

// `dependencies` is the list the closure ran under.
std::string closureStepText(const Spelling& spell,
                            const std::vector<design::Dependency>& dependencies,
                            const design::ClosureStep& step);
std::string coverStepText(const Spelling& spell, const design::CoverStep& step);
// The attributes in every key and in none, in two sentences.
std::vector<std::string> keyFactTexts(const Spelling& spell,
                                      const design::KeySet& keys);
std::string keyProofText(const Spelling& spell, const design::KeyProof& proof);
std::string violationReasonText(const Spelling& spell,
                                const design::Violation& violation);
// `dependencies` is the list chased with.
std::string chaseStepText(const Spelling& spell,
                          const std::vector<design::Dependency>& dependencies,
                          const design::ChaseStep& step);
// How many of `results`, from the first, have their passes recorded.
std::size_t tracedCount(
    const std::vector<design::DependencyPreservation>& results);
// Why a lost dependency is lost.
std::string lostText(const Spelling& spell,
                     const design::DependencyPreservation& result);
// How a decomposition was made, one sentence per step, in order.
std::vector<std::string> synthesisStepTexts(
    const Spelling& spell, design::NormalFormName method,
    const design::SynthesisSteps& steps);
// What a compact tableau (one kept by its changed cells) stands for.
std::string compactTableauText(const design::ChaseResult& result,
                               std::size_t rows, int columns);
// Where the steps of a list were cut; "" when `complete`.
std::string stepsLeftOutText(bool complete);

}  // namespace fdtools::report

#endif  // REPORT_STEPTEXT_H_
