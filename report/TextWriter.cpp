#include "report/TextWriter.h"

#include <string>
#include <vector>

#include "report/StepText.h"

namespace fdtools::report {
namespace {

using design::AttributeSet;
using design::Dependency;

// A set as it is written: names in braces, separated by commas.
struct SetText {
  const design::Schema& schema;
  const AttributeSet& set;
};

struct DependencyText {
  const design::Schema& schema;
  const Dependency& dependency;
  bool multivalued = false;
};

// The empty name would vanish between two commas.
std::string visibleName(const std::string& name) {
  return name.empty() ? std::string("''") : name;
}

// Appends to one string and hands it to the stream in large pieces: a
// report can run to many megabytes of short lines.
class Buffer {
 public:
  explicit Buffer(std::ostream& stream) : stream(stream) {}
  ~Buffer() { drain(); }

  Buffer& operator<<(const std::string& text) {
    text_ += text;
    if (text_.size() >= kDrainSize) drain();
    return *this;
  }
  Buffer& operator<<(const char* text) {
    text_ += text;
    return *this;
  }
  Buffer& operator<<(char c) {
    text_ += c;
    return *this;
  }
  Buffer& operator<<(const SetText& text) {
    text_ += '{';
    const char* separator = "";
    for (int id = text.set.first(); id >= 0; id = text.set.next(id)) {
      text_ += separator;
      text_ += visibleName(text.schema.name(id));
      separator = ",";
    }
    text_ += '}';
    if (text_.size() >= kDrainSize) drain();
    return *this;
  }
  Buffer& operator<<(const DependencyText& text) {
    return *this << SetText{text.schema, text.dependency.left}
                 << (text.multivalued ? " ->> " : " -> ")
                 << SetText{text.schema, text.dependency.right};
  }
  Buffer& operator<<(std::size_t number) {
    return *this << std::to_string(number);
  }
  Buffer& operator<<(int number) { return *this << std::to_string(number); }

  void drain() {
    stream.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
  }

 private:
  static constexpr std::size_t kDrainSize = 1 << 20;
  std::ostream& stream;
  std::string text_;
};

class Writer {
 public:
  Writer(std::ostream& stream, const design::Schema& schema,
         const std::vector<std::string>& tableNames, bool brief,
         const AnswerSteps* steps)
      : out(stream),
        schema(schema),
        tableNames(tableNames),
        brief(brief),
        steps(steps),
        spell(schema) {}

  // "step 0: ..." lines, then a note when some were left out.
  void stepLines(const std::vector<std::string>& texts, bool complete = true) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
      out << "step " << i << ": " << texts[i] << "\n";
    }
    if (!complete) out << stepsLeftOutText(complete) << "\n";
  }

  // "table 2", or the table's own name when the input gave one.
  std::string tableLabel(std::size_t t) const {
    return t < tableNames.size() ? tableNames[t] : "table " + std::to_string(t);
  }

  SetText set(const AttributeSet& attributes) const {
    return {schema, attributes};
  }

  DependencyText dependency(const Dependency& d,
                            bool multivalued = false) const {
    return {schema, d, multivalued};
  }

  static const char* yesNo(bool value) { return value ? "yes" : "no"; }

  void heading(const char* title) { out << "\n== " << title << " ==\n"; }

  void summary(const std::vector<std::string>& warnings) {
    out << "attributes: " << set(schema.allAttributes()) << "\n";
    for (std::size_t t = 0; t < schema.tables().size(); ++t) {
      out << tableLabel(t) << ": " << set(schema.tables()[t]) << "\n";
    }
    for (std::size_t d = 0; d < schema.dependencies().size(); ++d) {
      out << "dependency " << d << ": " << dependency(schema.dependencies()[d])
          << "\n";
    }
    for (std::size_t d = 0; d < schema.multivalued().size(); ++d) {
      out << "multivalued dependency " << d << ": "
          << dependency(schema.multivalued()[d], true) << "\n";
    }
    for (const std::string& warning : warnings) {
      out << "warning: " << warning << "\n";
    }
  }

  void closure(const ClosureAnswer& answer) {
    heading("closure");
    out << "of: " << set(answer.of) << "\n";
    out << "closure: " << set(answer.closure) << "\n";
    if (answer.basis) {
      out << "dependency basis:";
      for (const AttributeSet& block : *answer.basis) out << " " << set(block);
      out << "\n";
    }
    if (steps != nullptr && steps->closure) {
      std::vector<std::string> texts;
      for (const design::ClosureStep& step : steps->closure->steps) {
        texts.push_back(closureStepText(spell, schema.dependencies(), step));
      }
      stepLines(texts, steps->closure->complete);
    }
  }

  void keys(const design::KeySet& keys) {
    heading("keys");
    for (std::size_t k = 0; k < keys.keys.size(); ++k) {
      out << "key " << k << ": " << set(keys.keys[k]) << "\n";
    }
    out << "complete: " << yesNo(keys.complete);
    if (!keys.complete) out << " (stopped by " << stopDescription(keys) << ")";
    out << "\n";
    out << "prime: " << set(keys.prime) << "\n";
    if (steps != nullptr && steps->keys) {
      std::vector<std::string> texts = keyFactTexts(spell, keys);
      for (const design::KeyProof& proof : steps->keys->steps) {
        texts.push_back(keyProofText(spell, proof));
      }
      stepLines(texts, steps->keys->complete);
    }
  }

  void cover(const std::vector<Dependency>& cover) {
    heading("cover");
    for (std::size_t d = 0; d < cover.size(); ++d) {
      out << "cover " << d << ": " << dependency(cover[d]) << "\n";
    }
    if (steps != nullptr && steps->cover) {
      std::vector<std::string> texts;
      for (const design::CoverStep& step : steps->cover->steps) {
        texts.push_back(coverStepText(spell, step));
      }
      stepLines(texts, steps->cover->complete);
    }
  }

  void normalForm(const std::string& label,
                  const design::NormalFormResult& result) {
    out << label << ": " << set(result.attributes) << "\n";
    if (result.undecided) {
      out << label << " undecided: " << result.undecided->reason << "\n";
      return;
    }
    out << label << " form: " << design::formName(result.form) << "\n";
    for (std::size_t k = 0; !brief && k < result.keys.keys.size(); ++k) {
      out << label << " key " << k << ": " << set(result.keys.keys[k]) << "\n";
    }
    if (!brief && !result.keys.complete) {
      out << label << " keys: not all listed (key enumeration stopped by "
          << design::stopDescription(result.keys)
          << "; the form is decided without them)\n";
    }
    if (!brief && result.coverStopped) {
      out << label << " cover: not listed (" << result.coverStopped->reason
          << "; the form is decided without it)\n";
    }
    for (std::size_t d = 0; !brief && d < result.cover.size(); ++d) {
      out << label << " cover " << d << ": " << dependency(result.cover[d])
          << "\n";
    }
    for (const design::Violation& violation : result.violations) {
      out << label << " violation: "
          << dependency(violation.dependency, violation.multivalued)
          << " breaks";
      for (const design::NormalFormName form : violation.violates) {
        out << " " << design::formName(form);
      }
      out << "\n";
      if (steps != nullptr) {
        out << label << " reason: " << violationReasonText(spell, violation)
            << "\n";
      }
    }
  }

  void normalForms(const design::NormalForms& forms) {
    heading("normal forms");
    normalForm("schema", forms.schema);
    for (std::size_t t = 0; t < forms.tables.size(); ++t) {
      normalForm(tableLabel(t), forms.tables[t]);
    }
  }

  void lossless(const design::ChaseResult& result) {
    heading("lossless");
    if (result.undecided) {
      out << "lossless: undecided (" << result.undecided->reason << ")\n";
    } else {
      out << "lossless: " << yesNo(result.lossless) << "\n";
    }
    if (result.joinedPairwise) {
      out << "(the chase outgrew its limits; the tables join losslessly pair "
             "by pair, each on a shared part that multidetermines one side; "
             "their rows:)\n";
    }
    if (steps != nullptr && steps->lossless) {
      const design::ChaseSteps& chase = *steps->lossless;
      for (std::size_t r = 0; r < chase.initial.size(); ++r) {
        out << "initial row " << r << ":";
        for (std::size_t a = 0; a < chase.initial[r].size(); ++a) {
          out << ' ' << spell.symbol(chase.initial[r][a], static_cast<int>(a));
        }
        out << "\n";
      }
      std::vector<std::string> texts;
      for (const design::ChaseStep& step : chase.moves.steps) {
        texts.push_back(chaseStepText(spell, chase.dependencies, step));
      }
      stepLines(texts, chase.moves.complete);
    }
    tableau(result);
  }

  void tableau(const design::ChaseResult& result) {
    out << "columns: " << set(schema.allAttributes()) << "\n";
    if (result.compact) {
      compactTableau(result);
      return;
    }
    for (std::size_t r = 0; r < result.tableau.size(); ++r) {
      // Rows beyond the tables' are those that MVDs added.
      out << "row " << r << (r < schema.tables().size() ? ":" : " (added):");
      bool distinguished = true;
      for (const int symbol : result.tableau[r]) {
        out << ' ';
        if (symbol == 0) {
          out << 'a';
        } else {
          out << 'b' << symbol - 1;
          distinguished = false;
        }
      }
      out << (distinguished ? "  (all distinguished)" : "") << "\n";
    }
  }

  // One line per row with a changed cell, its cells as "column symbol".
  void compactTableau(const design::ChaseResult& result) {
    out << "("
        << compactTableauText(result, schema.tables().size(),
                              schema.attributeCount())
        << ")\n";
    for (std::size_t i = 0; i < result.changed.size(); ++i) {
      const design::ChangedCell& cell = result.changed[i];
      const bool first = i == 0 || result.changed[i - 1].row != cell.row;
      out << (first ? "row " + std::to_string(cell.row) + " changed: " : ", ")
          << spell.attribute(cell.column) << ' '
          << (cell.symbol == 0 ? "a" : "b" + std::to_string(cell.symbol - 1));
      if (i + 1 == result.changed.size() ||
          result.changed[i + 1].row != cell.row) {
        out << "\n";
      }
    }
    out << "rows all distinguished: ";
    if (result.distinguishedRows.empty()) out << "none";
    for (std::size_t i = 0; i < result.distinguishedRows.size(); ++i) {
      out << (i > 0 ? ", " : "") << result.distinguishedRows[i];
    }
    out << "\n";
  }

  void preservation(
      const std::vector<design::DependencyPreservation>& results) {
    heading("preserve");
    bool all = true;
    for (const auto& result : results) all = all && result.preserved;
    out << "preserved: " << yesNo(all) << "\n";
    const std::size_t traced = tracedCount(results);
    if (!brief && traced < results.size()) {
      out << "passes: shown for the first " << traced
          << " dependencies (the limit of " << design::kPreservationTraceNames
          << " names in all)\n";
    }
    for (std::size_t d = 0; d < results.size(); ++d) {
      const design::DependencyPreservation& result = results[d];
      out << "dependency " << d << ": " << dependency(schema.dependencies()[d])
          << (result.preserved ? " preserved" : " lost") << "\n";
      if (!brief && result.traced) {
        for (const design::PreservationStep& step : result.steps) {
          out << "  pass " << step.pass << ", " << tableLabel(step.table)
              << " adds " << set(step.added) << "\n";
        }
        out << "  reached: " << set(result.reached) << "\n";
      }
      if (!result.preserved) {
        out << "  missing: " << set(result.missing) << "\n";
        if (steps != nullptr)
          out << "  why: " << lostText(spell, result) << "\n";
      }
    }
  }

  void synthesis(const SynthesisAnswer& answer) {
    heading("synthesis");
    out << "method: " << design::formName(answer.method) << "\n";
    if (steps != nullptr && steps->synthesis) {
      const design::SynthesisSteps& made = *steps->synthesis;
      for (std::size_t d = 0; d < made.cover.size(); ++d) {
        out << "cover " << d << ": " << dependency(made.cover[d]) << "\n";
      }
      stepLines(synthesisStepTexts(spell, answer.method, made));
    }
    for (std::size_t t = 0; t < answer.tables.size(); ++t) {
      out << "table " << t << ": " << set(answer.tables[t]) << "\n";
    }
    out << "lossless: " << yesNo(answer.lossless) << "\n";
    bool preserved = true;
    for (const auto& result : answer.preservation) {
      preserved = preserved && result.preserved;
    }
    out << "preserved: " << yesNo(preserved) << "\n";
    for (std::size_t d = 0; d < answer.preservation.size(); ++d) {
      if (answer.preservation[d].preserved) continue;
      out << "lost: dependency " << d << ": "
          << dependency(schema.dependencies()[d]) << "\n";
    }
  }

  // "dependency 3 of file 2": which file the dependency is in.
  void fromFile(design::FileSide from, int index) {
    out << "dependency " << index << " of file " << static_cast<int>(from)
        << ": " << dependency(dependencyOf(schema, from, index));
  }

  void equivalent(const std::vector<design::ImplicationWitness>& witnesses,
                  bool ok) {
    heading("equivalent");
    out << "equivalent: " << yesNo(ok) << "\n";
    for (const design::ImplicationWitness& w : witnesses) {
      out << "not implied by the other file: ";
      fromFile(w.from, w.index);
      out << "\n";
    }
  }

  void checkCover(const std::vector<design::CoverFailure>& failures, bool ok) {
    heading("check cover");
    out << "minimal cover: " << yesNo(ok) << "\n";
    for (const design::CoverFailure& failure : failures) {
      out << "fails " << design::propertyName(failure.property) << ": ";
      fromFile(failure.from, failure.index);
      if (failure.attribute >= 0) {
        out << ", attribute " << visibleName(schema.name(failure.attribute));
      }
      out << "\n";
    }
  }

  void checkDecomposition(const design::DecompositionCheck& check, bool ok) {
    heading("check decomposition");
    out << "ok: " << yesNo(ok) << "\n";
    for (const design::DecompositionFailure& failure : check.failures) {
      out << "fails " << design::propertyName(failure.property);
      switch (failure.property) {
        case design::DecompositionProperty::kLossless:
          out << ": no row of the chase is all distinguished\n";
          tableau(check.chase);
          break;
        case design::DecompositionProperty::kPreserving:
          out << ": dependency " << failure.index << ": "
              << dependency(failure.dependency) << ", missing "
              << set(failure.missing) << "\n";
          break;
        case design::DecompositionProperty::k3nf:
        case design::DecompositionProperty::kBcnf:
        case design::DecompositionProperty::k4nf:
          out << ": " << tableLabel(failure.table) << " "
              << set(schema.tables()[failure.table]) << ": "
              << dependency(failure.dependency, failure.multivalued) << "\n";
          break;
      }
    }
  }

  void convert(const ConvertAnswer& answer) {
    heading("convert");
    out << "to: " << (answer.exercise ? "exercise notation" : "strict format")
        << "\n";
    out << answer.text;
  }

  void readAs(const std::string& description) {
    out << "read as: " << description << "\n";
  }

 private:
  Buffer out;
  const design::Schema& schema;
  const std::vector<std::string>& tableNames;
  bool brief;
  const AnswerSteps* steps;
  PlainSpelling spell;
};

}  // namespace

void writeText(std::ostream& out, const Answers& answers) {
  Writer writer(out, answers.schema, answers.tableNames, answers.brief,
                answers.steps ? &*answers.steps : nullptr);
  writer.readAs(readingDescription(answers));
  writer.summary(warningTexts(answers, visibleName));
  forEachPart(answers, writer);
}

}  // namespace fdtools::report
