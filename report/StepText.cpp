#include "report/StepText.h"

namespace fdtools::report {
using design::AttributeSet;
using design::Dependency;

std::string listedInWords(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += items[i];
  }
  return text;
}

std::string PlainSpelling::set(const AttributeSet& set) const {
  std::string text = "{";
  for (int id = set.first(); id >= 0; id = set.next(id)) {
    if (text.size() > 1) text += ',';
    text += attribute(id);
  }
  return text + "}";
}

std::string PlainSpelling::attribute(int id) const {
  const std::string& name = schema().name(id);
  return name.empty() ? std::string("''") : name;
}

std::string PlainSpelling::dependency(const Dependency& dependency,
                                      bool multivalued) const {
  return set(dependency.left) + (multivalued ? " ->> " : " -> ") +
         set(dependency.right);
}

std::string PlainSpelling::symbol(int symbol, int column) const {
  if (symbol == 0) return "a";
  return "b" + std::to_string(symbol - 1) + "," + attribute(column);
}

std::string closureStepText(const Spelling& spell,
                            const std::vector<Dependency>& dependencies,
                            const design::ClosureStep& step) {
  return "apply dependency " + std::to_string(step.dependency) + ", " +
         spell.dependency(
             dependencies[static_cast<std::size_t>(step.dependency)]) +
         ": adds " + spell.set(step.added);
}

std::string coverStepText(const Spelling& spell,
                          const design::CoverStep& step) {
  using Rule = design::CoverStep::Rule;
  const Dependency& d = step.dependency;
  switch (step.rule) {
    case Rule::kSplit: {
      if (step.into.empty()) {
        return spell.dependency(d) +
               " is trivial (its right side lies in its "
               "left side) and goes";
      }
      std::vector<std::string> parts;
      for (const Dependency& part : step.into) {
        parts.push_back(spell.dependency(part));
      }
      return "split " + spell.dependency(d) + " into " + listedInWords(parts);
    }
    case Rule::kExtraneous: {
      AttributeSet smaller = d.left;
      smaller.erase(step.attribute);
      return spell.attribute(step.attribute) + " is extraneous in " +
             spell.dependency(d) + ": the closure of " + spell.set(smaller) +
             " is " + spell.set(step.closure) + ", which holds " +
             spell.set(d.right);
    }
    case Rule::kRedundant:
      return spell.dependency(d) +
             " is redundant: without it, the closure of " + spell.set(d.left) +
             " is " + spell.set(step.closure) + ", which holds " +
             spell.set(d.right);
  }
  return "";
}

std::vector<std::string> keyFactTexts(const Spelling& spell,
                                      const design::KeySet& keys) {
  return {"on no right side of the cover, so in every key: " +
              spell.set(keys.inEveryKey),
          "on right sides only, so in no key: " + spell.set(keys.inNoKey)};
}

std::string keyProofText(const Spelling& spell, const design::KeyProof& proof) {
  std::string text = "the closure of " + spell.set(proof.key) + " is " +
                     spell.set(proof.closure) + ", every attribute";
  std::vector<std::string> without;
  for (const auto& [attribute, closure] : proof.without) {
    without.push_back("without " + spell.attribute(attribute) + ", " +
                      spell.set(closure));
  }
  if (!without.empty()) {
    text +=
        ", and with any attribute less it is not: " + listedInWords(without);
  }
  return text;
}

std::string violationReasonText(const Spelling& spell,
                                const design::Violation& violation) {
  const Dependency& d = violation.dependency;
  const design::ViolationReason& reason = violation.reason;
  std::string text = "the closure of " + spell.set(d.left) +
                     " within the table is " + spell.set(reason.leftClosure) +
                     ", not every attribute, so " + spell.set(d.left) +
                     " is no superkey";
  if (violation.multivalued) {
    return text + ", and " + spell.dependency(d, true) + " is not trivial";
  }
  text += "; " + spell.set(d.right) +
          (reason.rightPrime ? " is prime" : " is not prime");
  if (reason.partOfKey) {
    text += "; " + spell.set(d.left) + " is a proper part of the key " +
            spell.set(*reason.partOfKey);
  }
  return text;
}

std::string chaseStepText(const Spelling& spell,
                          const std::vector<Dependency>& dependencies,
                          const design::ChaseStep& step) {
  const Dependency& d = dependencies[static_cast<std::size_t>(step.dependency)];
  return spell.dependency(d) + ": rows " + std::to_string(step.rows.first) +
         " and " + std::to_string(step.rows.second) + " agree on " +
         spell.set(d.left) + ", so in column " + spell.attribute(step.column) +
         ", " + spell.symbol(step.from, step.column) + " becomes " +
         spell.symbol(step.to, step.column);
}

std::size_t tracedCount(
    const std::vector<design::DependencyPreservation>& results) {
  std::size_t count = 0;
  while (count < results.size() && results[count].traced) ++count;
  return count;
}

std::string lostText(const Spelling& spell,
                     const design::DependencyPreservation& result) {
  return "the last reached set is " + spell.set(result.reached) +
         ": within every table, the closure of its part of it adds nothing "
         "new, so no table adds " +
         spell.set(result.missing);
}

std::vector<std::string> synthesisStepTexts(
    const Spelling& spell, design::NormalFormName method,
    const design::SynthesisSteps& steps) {
  std::vector<std::string> texts;
  for (const Dependency& made : steps.made) {
    texts.push_back("table " + spell.set(made.left | made.right) +
                    " from the left side " + spell.set(made.left) +
                    " and its right sides " + spell.set(made.right));
  }
  const char* form = design::formName(method);
  for (std::size_t n = 0; n < steps.splits.size(); ++n) {
    const design::SynthesisSteps::Split& split = steps.splits[n];
    std::string text =
        "node " + std::to_string(n) + ", " + spell.set(split.table) + ": ";
    if (!split.violation) {
      texts.push_back(text + "in " + form);
      continue;
    }
    const Dependency& v = *split.violation;
    const design::SynthesisSteps::Split& first =
        steps.splits[static_cast<std::size_t>(split.first)];
    const design::SynthesisSteps::Split& second =
        steps.splits[static_cast<std::size_t>(split.second)];
    if (split.byPairs) {
      texts.push_back(
          text + spell.dependency(v, false) +
          " holds in it and no attributes A, B of " + spell.set(first.table) +
          " have A in (" + spell.set(first.table) +
          " - {A,B})+, so that part is in BCNF and it splits "
          "into node " +
          std::to_string(split.first) + ", " + spell.set(first.table) +
          ", and node " + std::to_string(split.second) + ", " +
          spell.set(second.table) + ", losslessly");
      continue;
    }
    texts.push_back(text + spell.dependency(v, split.multivalued) + " breaks " +
                    form + " (" + spell.set(v.left) +
                    " is no superkey of it), so it splits into node " +
                    std::to_string(split.first) + ", " +
                    spell.set(first.table) + ", and node " +
                    std::to_string(split.second) + ", " +
                    spell.set(second.table));
  }
  for (const auto& [table, other] : steps.removed) {
    texts.push_back(table == other
                        ? spell.set(table) + " is there twice; one goes"
                        : spell.set(table) + " lies inside " +
                              spell.set(other) + " and goes");
  }
  if (steps.keyAdded) {
    texts.push_back("no table determines every attribute, so the key " +
                    spell.set(*steps.keyAdded) + " is added as a table");
  }
  if (steps.keyHeldBy) {
    texts.push_back(spell.set(*steps.keyHeldBy) +
                    " determines every attribute through the tables' own "
                    "dependencies, so no key table is needed");
  }
  return texts;
}

std::string compactTableauText(const design::ChaseResult& result,
                               std::size_t rows, int columns) {
  return "the tableau has " + std::to_string(rows) + " rows of " +
         std::to_string(columns) +
         " columns, too many cells to write each: every cell is as it "
         "started (a where the row's table has the attribute, the row's own "
         "unknown elsewhere) except the " +
         std::to_string(result.changed.size()) + " listed";
}

std::string stepsLeftOutText(bool complete) {
  if (complete) return "";
  return "(the steps stop here: a list of steps ends at " +
         std::to_string(design::kMaxSteps) + " steps or " +
         std::to_string(design::kMaxStepNames) + " attribute names)";
}

}  // namespace fdtools::report
