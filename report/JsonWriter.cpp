#include "report/JsonWriter.h"

#include <string>
#include <utility>
#include <vector>

#include "report/JsonStream.h"
#include "report/StepText.h"

namespace fdtools::report {
namespace {

using design::AttributeSet;
using design::Dependency;

std::string asIs(const std::string& name) { return name; }

class Writer {
 public:
  Writer(std::ostream& out, const design::Schema& schema, bool brief,
         const AnswerSteps* steps)
      : json(out), schema(schema), brief(brief), steps(steps), spell(schema) {}

  // A step object's first member.
  void rule(const char* name) {
    json.beginObject();
    json.key("rule");
    json.string(name);
  }

  void stepsComplete(bool complete) {
    json.key("stepsComplete");
    json.boolean(complete);
  }

  JsonStream json;

  void names(const AttributeSet& set) {
    json.beginArray();
    for (int id = set.first(); id >= 0; id = set.next(id)) {
      json.string(schema.name(id));
    }
    json.endArray();
  }

  void sets(const std::vector<AttributeSet>& list) {
    json.beginArray();
    for (const AttributeSet& set : list) names(set);
    json.endArray();
  }

  // The members of a dependency, inside an object the caller opened.
  void sides(const Dependency& dependency) {
    json.key("left");
    names(dependency.left);
    json.key("right");
    names(dependency.right);
  }

  // With MVDs in the input, the input's dependencies and those that break
  // a normal form say which kind they are; elsewhere only FDs appear.
  void kind(bool multivalued) {
    if (!schema.hasMultivalued()) return;
    json.key("kind");
    json.string(multivalued ? "mvd" : "fd");
  }

  void dependency(const Dependency& d) {
    json.beginObject();
    sides(d);
    json.endObject();
  }

  void dependencyOfKind(const Dependency& d, bool multivalued) {
    json.beginObject();
    sides(d);
    kind(multivalued);
    json.endObject();
  }

  void dependencies(const std::vector<Dependency>& list) {
    json.beginArray();
    for (const Dependency& d : list) dependency(d);
    json.endArray();
  }

  // The FDs in input order, then the MVDs: an FD's index is its place.
  void inputDependencies() {
    json.beginArray();
    for (const Dependency& d : schema.dependencies())
      dependencyOfKind(d, false);
    for (const Dependency& d : schema.multivalued()) dependencyOfKind(d, true);
    json.endArray();
  }

  void summary(const Answers& answers,
               const std::vector<std::string>& warnings) {
    json.key("version");
    json.number(kJsonVersion);
    json.key("input");
    json.beginObject();
    json.key("notation");
    json.string(answers.exercise ? "exercise" : "strict");
    json.key("lettersAsNames");
    json.boolean(answers.lettersAsNames);
    json.endObject();
    json.key("attributes");
    names(schema.allAttributes());
    json.key("tables");
    sets(schema.tables());
    if (!answers.tableNames.empty()) {
      json.key("tableNames");
      json.strings(answers.tableNames);
    }
    json.key("dependencies");
    inputDependencies();
    json.key("warnings");
    json.beginArray();
    for (const std::string& warning : warnings) json.string(warning);
    json.endArray();
  }

  void closure(const ClosureAnswer& answer) {
    json.key("closure");
    json.beginObject();
    json.key("of");
    names(answer.of);
    json.key("closure");
    names(answer.closure);
    if (answer.basis) {
      json.key("basis");
      sets(*answer.basis);
    }
    if (steps != nullptr && steps->closure) {
      json.key("steps");
      json.beginArray();
      for (const design::ClosureStep& step : steps->closure->steps) {
        rule("apply");
        json.key("dependency");
        dependency(
            schema.dependencies()[static_cast<std::size_t>(step.dependency)]);
        json.key("added");
        names(step.added);
        json.endObject();
      }
      json.endArray();
      stepsComplete(steps->closure->complete);
    }
    json.endObject();
  }

  void keys(const design::KeySet& keys) {
    json.key("keys");
    json.beginObject();
    json.key("keys");
    sets(keys.keys);
    json.key("complete");
    json.boolean(keys.complete);
    json.key("prime");
    names(keys.prime);
    if (steps != nullptr && steps->keys) {
      json.key("steps");
      json.beginArray();
      for (const auto& [name, set] : {std::pair{"inEveryKey", &keys.inEveryKey},
                                      std::pair{"inNoKey", &keys.inNoKey}}) {
        rule(name);
        json.key("attributes");
        names(*set);
        json.endObject();
      }
      for (const design::KeyProof& proof : steps->keys->steps) {
        rule("key");
        json.key("key");
        names(proof.key);
        json.key("closure");
        names(proof.closure);
        json.key("without");
        json.beginArray();
        for (const auto& [attribute, closure] : proof.without) {
          json.beginObject();
          json.key("attribute");
          json.string(schema.name(attribute));
          json.key("closure");
          names(closure);
          json.endObject();
        }
        json.endArray();
        json.endObject();
      }
      json.endArray();
      stepsComplete(steps->keys->complete);
    }
    json.endObject();
  }

  void cover(const std::vector<Dependency>& cover) {
    json.key("cover");
    dependencies(cover);
    if (steps == nullptr || !steps->cover) return;
    // The cover is a list; its steps sit beside it.
    json.key("coverSteps");
    json.beginObject();
    json.key("steps");
    json.beginArray();
    for (const design::CoverStep& step : steps->cover->steps) {
      switch (step.rule) {
        case design::CoverStep::Rule::kSplit:
          rule("split");
          json.key("dependency");
          dependency(step.dependency);
          json.key("into");
          dependencies(step.into);
          break;
        case design::CoverStep::Rule::kExtraneous:
          rule("extraneous");
          json.key("dependency");
          dependency(step.dependency);
          json.key("attribute");
          json.string(schema.name(step.attribute));
          json.key("closure");
          names(step.closure);
          break;
        case design::CoverStep::Rule::kRedundant:
          rule("redundant");
          json.key("dependency");
          dependency(step.dependency);
          json.key("closure");
          names(step.closure);
          break;
      }
      json.endObject();
    }
    json.endArray();
    stepsComplete(steps->cover->complete);
    json.endObject();
  }

  void normalForm(const design::NormalFormResult& result) {
    json.beginObject();
    json.key("attributes");
    names(result.attributes);
    json.key("decided");
    json.boolean(!result.undecided);
    if (result.undecided) {
      json.key("reason");
      json.string(result.undecided->reason);
      json.endObject();
      return;
    }
    json.key("form");
    json.string(design::formName(result.form));
    if (!brief) {
      json.key("keys");
      sets(result.keys.keys);
      // Only where the form was decided without every key.
      if (!result.keys.complete) {
        json.key("keysComplete");
        json.boolean(false);
      }
      // Only where the form was decided from evidence, the cover empty.
      if (result.coverStopped) {
        json.key("coverComplete");
        json.boolean(false);
      }
      json.key("cover");
      dependencies(result.cover);
    }
    json.key("violations");
    json.beginArray();
    for (const design::Violation& violation : result.violations) {
      json.beginObject();
      sides(violation.dependency);
      kind(violation.multivalued);
      json.key("violates");
      json.beginArray();
      for (const design::NormalFormName form : violation.violates) {
        json.string(design::formName(form));
      }
      json.endArray();
      if (steps != nullptr) {
        const design::ViolationReason& reason = violation.reason;
        json.key("reason");
        json.beginObject();
        json.key("leftClosure");
        names(reason.leftClosure);
        json.key("rightPrime");
        json.boolean(reason.rightPrime);
        json.key("partOfKey");
        if (reason.partOfKey) {
          names(*reason.partOfKey);
        } else {
          json.null();
        }
        json.endObject();
      }
      json.endObject();
    }
    json.endArray();
    json.endObject();
  }

  void normalForms(const design::NormalForms& forms) {
    json.key("normalForms");
    json.beginObject();
    json.key("schema");
    normalForm(forms.schema);
    json.key("tables");
    json.beginArray();
    for (const design::NormalFormResult& table : forms.tables) {
      normalForm(table);
    }
    json.endArray();
    json.endObject();
  }

  // The rows of every cell, or past a size the changed cells alone.
  void tableau(const design::ChaseResult& result) {
    if (!result.compact) {
      json.key("tableau");
      rows(result.tableau);
      return;
    }
    json.key("compactTableau");
    json.beginObject();
    json.key("rows");
    json.number(static_cast<long long>(schema.tables().size()));
    json.key("columns");
    json.number(schema.attributeCount());
    json.key("changed");
    json.beginArray();
    for (const design::ChangedCell& changed : result.changed) {
      json.beginObject();
      json.key("row");
      json.number(changed.row);
      json.key("column");
      json.string(schema.name(changed.column));
      json.key("symbol");
      json.string(cell(changed.symbol));
      json.endObject();
    }
    json.endArray();
    json.key("distinguishedRows");
    json.beginArray();
    for (const int row : result.distinguishedRows) json.number(row);
    json.endArray();
    json.endObject();
  }

  static std::string cell(int symbol) {
    return symbol == 0 ? std::string("a") : "b" + std::to_string(symbol - 1);
  }

  void rows(const std::vector<std::vector<int>>& tableau) {
    json.beginArray();
    for (const std::vector<int>& row : tableau) {
      json.beginArray();
      for (const int symbol : row) json.string(cell(symbol));
      json.endArray();
    }
    json.endArray();
  }

  void lossless(const design::ChaseResult& result) {
    json.key("lossless");
    json.beginObject();
    if (schema.hasMultivalued()) {
      json.key("decided");
      json.boolean(!result.undecided);
      if (result.undecided) {
        json.key("reason");
        json.string(result.undecided->reason);
      }
    }
    json.key("lossless");
    json.boolean(result.lossless);
    tableau(result);
    if (steps != nullptr && steps->lossless) {
      const design::ChaseSteps& chase = *steps->lossless;
      json.key("initial");
      rows(chase.initial);
      json.key("steps");
      json.beginArray();
      for (const design::ChaseStep& step : chase.moves.steps) {
        rule("equate");
        json.key("dependency");
        dependency(
            chase.dependencies[static_cast<std::size_t>(step.dependency)]);
        json.key("rows");
        json.beginArray();
        json.number(step.rows.first);
        json.number(step.rows.second);
        json.endArray();
        json.key("column");
        json.string(schema.name(step.column));
        json.key("from");
        json.string(cell(step.from));
        json.key("to");
        json.string(cell(step.to));
        json.endObject();
      }
      json.endArray();
      stepsComplete(chase.moves.complete);
    }
    json.endObject();
  }

  void preservation(
      const std::vector<design::DependencyPreservation>& results) {
    bool all = true;
    for (const auto& result : results) all = all && result.preserved;
    json.key("preservation");
    json.beginObject();
    json.key("preserved");
    json.boolean(all);
    // Only where the passes of some dependencies are left out.
    if (!brief && tracedCount(results) < results.size()) {
      json.key("passesComplete");
      json.boolean(false);
    }
    json.key("dependencies");
    json.beginArray();
    for (std::size_t i = 0; i < results.size(); ++i) {
      const design::DependencyPreservation& result = results[i];
      json.beginObject();
      sides(schema.dependencies()[i]);
      json.key("preserved");
      json.boolean(result.preserved);
      if (brief || !result.traced) {
        json.key("missing");
        names(result.missing);
        if (steps != nullptr && !result.preserved) {
          json.key("why");
          json.string(lostText(spell, result));
        }
        json.endObject();
        continue;
      }
      json.key("reached");
      names(result.reached);
      json.key("missing");
      names(result.missing);
      if (steps != nullptr && !result.preserved) {
        json.key("why");
        json.string(lostText(spell, result));
      }
      json.key("steps");
      json.beginArray();
      for (const design::PreservationStep& step : result.steps) {
        json.beginObject();
        json.key("pass");
        json.number(step.pass);
        json.key("table");
        json.number(step.table);
        json.key("added");
        names(step.added);
        json.endObject();
      }
      json.endArray();
      json.endObject();
    }
    json.endArray();
    json.endObject();
  }

  void synthesis(const SynthesisAnswer& answer) {
    bool preserved = true;
    for (const auto& result : answer.preservation) {
      preserved = preserved && result.preserved;
    }
    json.key("synthesis");
    json.beginObject();
    json.key("method");
    json.string(design::formName(answer.method));
    json.key("tables");
    sets(answer.tables);
    json.key("lossless");
    json.boolean(answer.lossless);
    json.key("preserved");
    json.boolean(preserved);
    json.key("lost");
    json.beginArray();
    for (std::size_t i = 0; i < answer.preservation.size(); ++i) {
      if (!answer.preservation[i].preserved) {
        dependency(schema.dependencies()[i]);
      }
    }
    json.endArray();
    json.key("file");
    json.string(answer.file);
    if (steps != nullptr && steps->synthesis) synthesisSteps(*steps->synthesis);
    json.endObject();
  }

  void synthesisSteps(const design::SynthesisSteps& made) {
    json.key("steps");
    json.beginArray();
    rule("cover");
    json.key("cover");
    dependencies(made.cover);
    json.endObject();
    for (const Dependency& table : made.made) {
      rule("table");
      sides(table);
      json.key("table");
      names(table.left | table.right);
      json.endObject();
    }
    for (std::size_t n = 0; n < made.splits.size(); ++n) {
      const design::SynthesisSteps::Split& split = made.splits[n];
      rule(split.violation ? "split" : "leaf");
      json.key("node");
      json.number(static_cast<int>(n));
      json.key("table");
      names(split.table);
      if (split.violation) {
        json.key("dependency");
        json.beginObject();
        sides(*split.violation);
        json.key("kind");
        json.string(split.multivalued ? "mvd" : "fd");
        json.endObject();
        if (split.byPairs) {
          json.key("byPairs");
          json.boolean(true);
        }
        json.key("children");
        json.beginArray();
        json.number(split.first);
        json.number(split.second);
        json.endArray();
      }
      json.endObject();
    }
    for (const auto& [table, other] : made.removed) {
      rule("removed");
      json.key("table");
      names(table);
      json.key("inside");
      names(other);
      json.endObject();
    }
    if (made.keyAdded) {
      rule("keyAdded");
      json.key("key");
      names(*made.keyAdded);
      json.endObject();
    }
    if (made.keyHeldBy) {
      rule("keyHeld");
      json.key("table");
      names(*made.keyHeldBy);
      json.endObject();
    }
    json.endArray();
  }

  void equivalent(const std::vector<design::ImplicationWitness>& witnesses,
                  bool ok) {
    json.key("equivalent");
    json.beginObject();
    json.key("equivalent");
    json.boolean(ok);
    json.key("witnesses");
    json.beginArray();
    for (const design::ImplicationWitness& w : witnesses) {
      json.beginObject();
      json.key("dependency");
      dependency(dependencyOf(schema, w.from, w.index));
      json.key("from");
      json.number(static_cast<int>(w.from));
      json.endObject();
    }
    json.endArray();
    json.endObject();
  }

  void checkCover(const std::vector<design::CoverFailure>& failures, bool ok) {
    json.key("checkCover");
    json.beginObject();
    json.key("ok");
    json.boolean(ok);
    json.key("failures");
    json.beginArray();
    for (const design::CoverFailure& failure : failures) {
      json.beginObject();
      json.key("property");
      json.string(design::propertyName(failure.property));
      json.key("witness");
      json.beginObject();
      json.key("dependency");
      dependency(dependencyOf(schema, failure.from, failure.index));
      if (failure.property == design::CoverProperty::kEquivalent) {
        json.key("from");
        json.number(static_cast<int>(failure.from));
      } else {
        json.key("index");
        json.number(failure.index);
      }
      if (failure.attribute >= 0) {
        json.key("attribute");
        json.string(schema.name(failure.attribute));
      }
      json.endObject();
      json.endObject();
    }
    json.endArray();
    json.endObject();
  }

  void checkDecomposition(const design::DecompositionCheck& check, bool ok) {
    json.key("checkDecomposition");
    json.beginObject();
    json.key("ok");
    json.boolean(ok);
    json.key("failures");
    json.beginArray();
    for (const design::DecompositionFailure& failure : check.failures) {
      json.beginObject();
      json.key("property");
      json.string(design::propertyName(failure.property));
      json.key("witness");
      json.beginObject();
      switch (failure.property) {
        case design::DecompositionProperty::kLossless:
          tableau(check.chase);
          break;
        case design::DecompositionProperty::kPreserving:
          json.key("dependency");
          dependency(failure.dependency);
          json.key("index");
          json.number(failure.index);
          json.key("missing");
          names(failure.missing);
          break;
        case design::DecompositionProperty::k3nf:
        case design::DecompositionProperty::kBcnf:
        case design::DecompositionProperty::k4nf:
          json.key("table");
          json.number(failure.table);
          json.key("attributes");
          names(schema.tables()[failure.table]);
          json.key("dependency");
          dependencyOfKind(failure.dependency, failure.multivalued);
          break;
      }
      json.endObject();
      json.endObject();
    }
    json.endArray();
    json.endObject();
  }

  void convert(const ConvertAnswer& answer) {
    json.key("convert");
    json.beginObject();
    json.key("to");
    json.string(answer.exercise ? "exercise" : "strict");
    json.key("text");
    json.string(answer.text);
    json.endObject();
  }

 private:
  const design::Schema& schema;
  bool brief;
  const AnswerSteps* steps;
  // Names as they are, for the sentences of JSON strings.
  PlainSpelling spell;
};

}  // namespace

void writeJson(std::ostream& out, const Answers& answers) {
  {
    Writer writer(out, answers.schema, answers.brief,
                  answers.steps ? &*answers.steps : nullptr);
    writer.json.beginObject();
    writer.summary(answers, warningTexts(answers, asIs));
    forEachPart(answers, writer);
    writer.json.endObject();
  }
  out << '\n';
}

}  // namespace fdtools::report
