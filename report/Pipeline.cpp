#include "report/Pipeline.h"

#include "design/DecompositionAnalysis.h"
#include "design/InputFormat.h"
#include "design/Synthesis.h"
#include "frame/TextUtil.h"
#include "report/StepText.h"

namespace fdtools::report {
namespace {

std::optional<Error> parse(const std::string& text, int which,
                           const Options& options, design::ParsedInput& input) {
  const std::string notText = design::notTextReason(text);
  if (!notText.empty()) {
    return Error{which, 0, "not an input file: " + notText, true};
  }
  design::ParseError parseError;
  const bool exercise = options.notation == Notation::kExercise ||
                        (options.notation == Notation::kAuto &&
                         (options.letters != design::LetterMode::kDecide ||
                          design::looksLikeExercise(text)));
  if (exercise) {
    if (design::parseExercise(text, options.letters, input, parseError)) {
      return std::nullopt;
    }
    return Error{which, parseError.lineNumber, parseError.message};
  }
  if (design::parseInput(text, input, parseError)) return std::nullopt;
  return Error{which, parseError.lineNumber,
               "no \"->\" in dependency line: " + parseError.line};
}

std::optional<Error> closureStart(const design::Schema& schema,
                                  const std::string& attributes,
                                  design::AttributeSet& start) {
  start = design::AttributeSet(schema.attributeCount());
  for (const std::string& name : split(trimmed(attributes), ',')) {
    const int id = schema.idOf(name);
    if (id < 0) return Error{0, 0, "attribute not in the schema: " + name};
    start.insert(id);
  }
  return std::nullopt;
}

std::optional<Error> synthesize(design::Audit& audit,
                                design::NormalFormName method,
                                const std::vector<std::string>& lines,
                                SynthesisAnswer& answer,
                                design::SynthesisSteps* steps) {
  const design::Schema& schema = audit.schema();
  const int n = schema.attributeCount();
  design::Decomposition decomposition;
  switch (method) {
    case design::NormalFormName::k4nf:
      decomposition = design::decompose4nf(audit.mixed(), steps);
      // The MVDs' implication runs on the cover.
      if (steps != nullptr) steps->cover = audit.cover();
      break;
    case design::NormalFormName::kBcnf:
      decomposition = design::decomposeBcnf(n, schema.dependencies(), steps);
      break;
    default:
      decomposition = design::synthesize3nf(n, schema.dependencies(), steps);
      break;
  }
  if (decomposition.undecided) {
    return Error{0, 0, "undecided: " + decomposition.undecided->reason};
  }
  answer.method = method;
  answer.tables = std::move(decomposition.tables);
  const design::ChaseResult chased =
      design::losslessJoin(n, answer.tables, audit.cover(),
                           design::Tableau::kIfLossy, schema.multivalued());
  if (chased.undecided) {
    return Error{0, 0, "undecided: lossless join: " + chased.undecided->reason};
  }
  answer.lossless = chased.lossless;
  // Only which are lost is shown: no passes kept.
  answer.preservation = design::preservationOf(answer.tables, audit.index(),
                                               schema.dependencies(), true);
  design::WrittenInput written =
      design::writeInput(schema, answer.tables, lines);
  if (!written.problem.empty()) {
    return Error{
        0, 0,
        "cannot write the decomposition as an input file: " + written.problem};
  }
  answer.file = std::move(written.text);
  return std::nullopt;
}

// Computes every part of `options.command` into `answers`.
std::optional<Error> compute(design::Audit& audit, const Options& options,
                             const std::vector<std::string>& lines,
                             Answers& answers) {
  const design::Schema& schema = audit.schema();
  const int n = schema.attributeCount();
  AnswerSteps* steps = answers.steps ? &*answers.steps : nullptr;
  for (const Command part : reportParts(options.command)) {
    switch (part) {
      case Command::kClosure: {
        ClosureAnswer closure;
        if (auto error = closureStart(schema, options.attributes, closure.of)) {
          return error;
        }
        if (schema.hasMultivalued()) {
          closure.basis = audit.mixed().basis(closure.of);
          closure.closure = audit.mixed().closure(closure.of, *closure.basis);
        } else if (steps != nullptr) {
          steps->closure.emplace();
          closure.closure =
              audit.index().closure(closure.of, -1, &*steps->closure);
        } else {
          closure.closure = audit.closure(closure.of);
        }
        answers.closure = std::move(closure);
        break;
      }
      case Command::kKeys:
        answers.keys = audit.keys();
        if (steps != nullptr) {
          steps->keys = design::keyProofs(audit.index(), schema.allAttributes(),
                                          audit.keys());
        }
        break;
      case Command::kCover:
        answers.cover = audit.cover();
        if (steps != nullptr) steps->cover = *audit.coverSteps();
        break;
      case Command::kNormalForms:
        answers.normalForms = audit.normalForms();
        break;
      case Command::kLossless:
        answers.lossless = audit.lossless();
        if (steps != nullptr && audit.chaseSteps() != nullptr) {
          steps->lossless = *audit.chaseSteps();
        }
        break;
      case Command::kPreserve:
        // Brief, the passes are not shown, so they need not be kept.
        answers.preservation =
            options.brief
                ? design::preservationOf(schema.tables(), audit.index(),
                                         schema.dependencies(), true)
                : audit.preservation();
        break;
      case Command::kSynthesize: {
        SynthesisAnswer synthesis;
        const design::NormalFormName method =
            options.fourNf ? design::NormalFormName::k4nf
            : options.bcnf ? design::NormalFormName::kBcnf
                           : design::NormalFormName::k3nf;
        design::SynthesisSteps* made = nullptr;
        if (steps != nullptr) made = &steps->synthesis.emplace();
        if (auto error = synthesize(audit, method, lines, synthesis, made)) {
          return error;
        }
        answers.synthesis = std::move(synthesis);
        break;
      }
      case Command::kEquivalent:
        answers.equivalent = design::nonImplied(n, schema.dependencies(),
                                                schema.otherDependencies());
        answers.ok = answers.equivalent->empty();
        break;
      case Command::kCheckCover:
        answers.checkCover = design::checkCover(n, schema.dependencies(),
                                                schema.otherDependencies());
        answers.ok = answers.checkCover->empty();
        break;
      case Command::kCheckDecomposition: {
        std::optional<design::NormalFormName> form;
        if (options.threeNf) form = design::NormalFormName::k3nf;
        if (options.bcnf) form = design::NormalFormName::kBcnf;
        if (options.fourNf) form = design::NormalFormName::k4nf;
        answers.checkDecomposition = design::checkDecomposition(audit, form);
        if (answers.checkDecomposition->undecided) {
          return Error{
              0, 0,
              "undecided: " + answers.checkDecomposition->undecided->reason};
        }
        answers.ok = answers.checkDecomposition->failures.empty();
        break;
      }
      case Command::kConvert: {
        ConvertAnswer convert;
        convert.exercise = options.convertTo == Notation::kAuto
                               ? !answers.exercise
                               : options.convertTo == Notation::kExercise;
        std::string problem;
        if (convert.exercise) {
          convert.text =
              design::writeExercise(schema, answers.tableNames, problem);
        } else {
          const std::vector<design::AttributeSet> none;
          design::WrittenInput written = design::writeInput(
              schema, schema.tablesGiven() ? schema.tables() : none, lines);
          problem = written.problem;
          convert.text = std::move(written.text);
        }
        if (!problem.empty()) {
          return Error{0, 0, "cannot convert: " + problem};
        }
        answers.convert = std::move(convert);
        break;
      }
      case Command::kReport:
        break;
    }
  }
  return std::nullopt;
}

bool hasMultivalued(const design::ParsedInput& input) {
  for (const design::NamedDependency& dependency : input.dependencies) {
    if (dependency.multivalued) return true;
  }
  return false;
}

// The parts of `options.command` that answer from the FDs alone although
// the input has MVDs, in words; "" when there are none. Without FDs, MVDs
// imply no FD, so keys, cover and preservation are the same either way.
std::string functionalOnlyParts(const Options& options, bool functional) {
  std::vector<std::string> names;
  const auto add = [&](const char* part) { names.emplace_back(part); };
  for (const Command part : reportParts(options.command)) {
    switch (part) {
      case Command::kKeys:
        if (functional) add("keys");
        break;
      case Command::kCover:
        if (functional) add("cover");
        break;
      case Command::kPreserve:
      case Command::kCheckDecomposition:
        if (functional) add("preservation");
        break;
      case Command::kSynthesize:
        if (!options.fourNf) {
          add(options.bcnf ? "BCNF decomposition" : "3NF synthesis");
        }
        if (functional) add("the preservation of the result");
        break;
      case Command::kEquivalent:
        add("equivalence");
        break;
      case Command::kCheckCover:
        add("check-cover");
        break;
      default:
        break;
    }
  }
  return listedInWords(names);
}

}  // namespace

std::optional<Notation> notationNamed(const std::string& name) {
  if (name.empty() || name == "auto") return Notation::kAuto;
  if (name == "strict") return Notation::kStrict;
  if (name == "exercise") return Notation::kExercise;
  return std::nullopt;
}

std::optional<design::LetterMode> letterModeNamed(const std::string& name) {
  if (name.empty()) return design::LetterMode::kDecide;
  if (name == "letters") return design::LetterMode::kLetters;
  if (name == "words") return design::LetterMode::kWords;
  return std::nullopt;
}

int Answers::exitStatus() const {
  for (const CommandInfo& info : commands()) {
    if (info.command == command && info.isCheck && !ok) return 1;
  }
  return 0;
}

Outcome run(const std::string& text, const std::optional<std::string>& second,
            const Options& options) {
  Outcome outcome;
  design::ParsedInput input;
  design::ParsedInput other;
  outcome.error = parse(text, 0, options, input);
  if (!outcome.error && second) {
    outcome.error = parse(*second, 1, options, other);
  }
  if (outcome.error) return outcome;
  Answers& answers = outcome.answers;
  answers.command = options.command;
  answers.brief = options.brief;
  answers.exercise = input.exercise;
  answers.lettersAsNames = input.lettersAsNames;
  answers.tableNames = input.tableNames;
  // Two inputs are compared on their dependencies; the second one's tables
  // play no part.
  answers.schema = design::Schema(input.tables, input.dependencies,
                                  other.dependencies, input.relationNames);
  for (auto& warning : design::readingWarnings(input, answers.schema)) {
    answers.readingWarnings.emplace_back(0, std::move(warning));
  }
  if (second) {
    // Read against no schema: the second input's tables play no part, so a
    // table of every attribute there is nothing to warn about.
    for (auto& warning : design::readingWarnings(other, design::Schema())) {
      answers.readingWarnings.emplace_back(1, std::move(warning));
    }
  }
  design::Audit audit(answers.schema, options.maxKeys);
  if (second) audit.ignoreTables();
  if (options.steps) {
    answers.steps.emplace();
    audit.recordSteps();
  }
  outcome.error = compute(audit, options, input.dependencyLines, answers);
  // Computing the parts can add warnings (a key search that stopped).
  answers.warnings = audit.warnings();
  if (hasMultivalued(input) || hasMultivalued(other)) {
    const std::string parts = functionalOnlyParts(
        options, !answers.schema.dependencies().empty() ||
                     !answers.schema.otherDependencies().empty());
    if (!parts.empty()) {
      answers.warnings.push_back(
          {design::Warning::Kind::kFunctionalOnly, {}, {}, parts});
    }
  }
  if (options.steps && answers.schema.hasMultivalued()) {
    std::string parts;
    if (answers.closure) parts = "the closure";
    if (answers.lossless) {
      parts += std::string(parts.empty() ? "" : " and ") + "the chase";
    }
    if (!parts.empty()) {
      answers.warnings.push_back(
          {design::Warning::Kind::kNoSteps, {}, {}, parts});
    }
  }
  return outcome;
}

bool hasSteps(Command command) {
  switch (command) {
    case Command::kEquivalent:
    case Command::kCheckCover:
    case Command::kCheckDecomposition:
    case Command::kConvert:
      return false;
    default:
      return true;
  }
}

std::string warningText(const design::Warning& warning,
                        const design::Schema& schema,
                        std::string (*spell)(const std::string&)) {
  switch (warning.kind) {
    case design::Warning::Kind::kNoTables:
      return "no tables given: the decomposition is one table holding every "
             "attribute";
    case design::Warning::Kind::kUncoveredAttributes: {
      std::string names;
      for (const std::string& name : schema.namesOf(warning.attributes)) {
        if (!names.empty()) names += ',';
        names += spell(name);
      }
      return "attributes in no table: " + names +
             " (never reached by the preservation test; fdcheck counts what "
             "follows from the empty set as reached)";
    }
    case design::Warning::Kind::kKeysIncomplete:
      return "key enumeration stopped by " + warning.limit +
             ": the keys listed are not all, nor are the prime attributes";
    case design::Warning::Kind::kFunctionalOnly:
      return "multivalued dependencies (->>) are not used by " + warning.parts +
             ": these answer from the functional "
             "dependencies alone";
    case design::Warning::Kind::kNoSteps:
      return "no steps for " + warning.parts +
             " with multivalued dependencies: only the answer is shown";
  }
  return "";
}

namespace {

std::string readingWarningText(int input, const design::ReadingWarning& warning,
                               std::string (*spell)(const std::string&)) {
  using Kind = design::ReadingWarning::Kind;
  std::string where = input == 1 ? "second file, " : "";
  if (warning.kind != Kind::kMore) {
    where += "line " + std::to_string(warning.lineNumber) + ": ";
  }
  const std::string name = "'" + spell(warning.name) + "'";
  switch (warning.kind) {
    case Kind::kNoEmptyLine:
      return where +
             "\"->\" in a table line, and no empty line ends the tables: did "
             "you forget the empty line between tables and dependencies? "
             "Every line was read as a table, so there are no dependencies";
    case Kind::kArrowInTable:
      return where +
             "\"->\" in a table line: is this a dependency? Dependencies go "
             "after the empty line that ends the tables";
    case Kind::kNameWithMark:
      return where + "the name " + name + " holds \"" + warning.mark +
             "\": this format separates names by commas only, without "
             "braces, parentheses, \"=\" or arrows inside names (A,B->C)";
    case Kind::kNameWithSpace:
      return where + "the name " + name +
             " starts or ends with a space: a space next to a comma or an "
             "arrow belongs to the name; remove it unless it is meant";
    case Kind::kIgnoredLine:
      return where +
             "ignored, though it holds \"->\": an empty line above it ends "
             "the dependencies; remove that line to read it as one";
    case Kind::kTableIsTheRelation:
      return where + "table " + std::to_string(warning.table) +
             " holds every attribute beside other tables: is this the "
             "relation itself? List only the tables of the decomposition";
    case Kind::kMore:
      return std::to_string(warning.count) +
             " more lines like the ones warned about above";
  }
  return "";
}

}  // namespace

std::string readingDescription(const Answers& answers) {
  if (!answers.exercise) return "strict format";
  return answers.lettersAsNames ? "exercise notation, one letter per attribute"
                                : "exercise notation, names as words";
}

std::vector<std::string> readingWarningTexts(
    const Answers& answers, std::string (*spell)(const std::string&)) {
  std::vector<std::string> texts;
  for (const auto& [input, warning] : answers.readingWarnings) {
    texts.push_back(readingWarningText(input, warning, spell));
  }
  return texts;
}

std::vector<std::string> warningTexts(
    const Answers& answers, std::string (*spell)(const std::string&)) {
  std::vector<std::string> texts = readingWarningTexts(answers, spell);
  for (const design::Warning& warning : answers.warnings) {
    texts.push_back(warningText(warning, answers.schema, spell));
  }
  return texts;
}

const design::Dependency& dependencyOf(const design::Schema& schema,
                                       design::FileSide from, int index) {
  return from == design::FileSide::kFirst ? schema.dependencies()[index]
                                          : schema.otherDependencies()[index];
}

}  // namespace fdtools::report
