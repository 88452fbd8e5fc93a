// From input texts to answers: the one path that the fdtools command, the
// web page and every other front end take. It reads the input, runs what
// the command asks, and returns the answers complete, or one error; the
// writers then only format them.
#ifndef REPORT_PIPELINE_H_
#define REPORT_PIPELINE_H_

#include <optional>
#include <string>
#include <vector>

#include "design/Audit.h"
#include "design/Chase.h"
#include "design/Checks.h"
#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/ExerciseFormat.h"
#include "design/InputFormat.h"
#include "design/Keys.h"
#include "design/NormalForm.h"
#include "design/Schema.h"
#include "design/Steps.h"
#include "design/Synthesis.h"
#include "report/Command.h"

namespace fdtools::report {

// How an input text is read: the strict format of fdcheck, the exercise
// notation of textbooks, or whichever the text looks like.
enum class Notation { kAuto, kStrict, kExercise };

// "auto" (or ""), "strict", "exercise"; nullopt for any other name.
std::optional<Notation> notationNamed(const std::string& name);
// "" (the input decides), "letters", "words"; nullopt for any other name.
std::optional<design::LetterMode> letterModeNamed(const std::string& name);

struct Options {
  Command command = Command::kReport;
  Notation notation = Notation::kAuto;
  // For the exercise notation: letters or words, or decided by the input.
  design::LetterMode letters = design::LetterMode::kDecide;
  // For convert: the notation to write; kAuto means the other one.
  Notation convertTo = Notation::kAuto;
  // For closure: names separated by commas, as on a table line.
  std::string attributes;
  // For synthesize: BCNF splits instead of the 3NF synthesis; for
  // check-decomposition: every table in BCNF too.
  bool bcnf = false;
  // For check-decomposition: every table in 3NF too.
  bool threeNf = false;
  // For synthesize: 4NF splits on FDs and MVDs; for check-decomposition:
  // every table in 4NF too.
  bool fourNf = false;
  // At least 1.
  int maxKeys = design::kDefaultMaxKeys;
  // Per dependency only preserved or lost (and what is missing), per table
  // only its form and violations.
  bool brief = false;
  // The steps behind each answer and the reasons of violations.
  bool steps = false;
};

struct ClosureAnswer {
  design::AttributeSet of;
  design::AttributeSet closure;
  // With MVDs: the dependency basis of `of`.
  std::optional<std::vector<design::AttributeSet>> basis;
};

struct SynthesisAnswer {
  // 3NF synthesis, or BCNF or 4NF splits.
  design::NormalFormName method = design::NormalFormName::k3nf;
  std::vector<design::AttributeSet> tables;
  bool lossless = false;
  // Of each of the schema's dependencies by the new tables.
  std::vector<design::DependencyPreservation> preservation;
  // The tables as an input file, the dependency lines as given below them.
  std::string file;
};

struct ConvertAnswer {
  // Written in the exercise notation, else in the strict format.
  bool exercise = false;
  std::string text;
};

// How the answers were found, for the parts that have steps.
struct AnswerSteps {
  // Under the schema's dependencies (the index of a step is theirs).
  std::optional<design::StepList<design::ClosureStep>> closure;
  std::optional<design::StepList<design::CoverStep>> cover;
  std::optional<design::StepList<design::KeyProof>> keys;
  std::optional<design::ChaseSteps> lossless;
  std::optional<design::SynthesisSteps> synthesis;
};

// Every part the command asked for is set; the others are empty.
struct Answers {
  Command command = Command::kReport;
  // The short form of the answers (Options::brief).
  bool brief = false;
  // How the (first) input was read.
  bool exercise = false;
  bool lettersAsNames = false;
  design::Schema schema;
  // The tables' own names, in the exercise notation; else empty.
  std::vector<std::string> tableNames;
  // How the inputs were read that is likely not what was meant, each with
  // its input (0 or 1); then what the answers themselves warn about.
  std::vector<std::pair<int, design::ReadingWarning>> readingWarnings;
  std::vector<design::Warning> warnings;
  std::optional<ClosureAnswer> closure;
  std::optional<design::KeySet> keys;
  std::optional<std::vector<design::Dependency>> cover;
  std::optional<design::NormalForms> normalForms;
  std::optional<design::ChaseResult> lossless;
  std::optional<std::vector<design::DependencyPreservation>> preservation;
  std::optional<SynthesisAnswer> synthesis;
  std::optional<std::vector<design::ImplicationWitness>> equivalent;
  std::optional<std::vector<design::CoverFailure>> checkCover;
  std::optional<design::DecompositionCheck> checkDecomposition;
  std::optional<ConvertAnswer> convert;
  // With Options::steps; then violations are written with their reasons
  // and lost dependencies with why.
  std::optional<AnswerSteps> steps;
  // For the checks: whether every property holds.
  bool ok = true;

  // 0, or 1 when a check answers no.
  int exitStatus() const;
};

// Calls `writer`'s member for each part that is set, in the order that
// `report` gives them; the one place that knows that order.
template <class Writer>
void forEachPart(const Answers& answers, Writer& writer) {
  if (answers.closure) writer.closure(*answers.closure);
  if (answers.keys) writer.keys(*answers.keys);
  if (answers.cover) writer.cover(*answers.cover);
  if (answers.normalForms) writer.normalForms(*answers.normalForms);
  if (answers.lossless) writer.lossless(*answers.lossless);
  if (answers.preservation) writer.preservation(*answers.preservation);
  if (answers.synthesis) writer.synthesis(*answers.synthesis);
  if (answers.equivalent) writer.equivalent(*answers.equivalent, answers.ok);
  if (answers.checkCover) writer.checkCover(*answers.checkCover, answers.ok);
  if (answers.checkDecomposition) {
    writer.checkDecomposition(*answers.checkDecomposition, answers.ok);
  }
  if (answers.convert) writer.convert(*answers.convert);
}

struct Error {
  // Which input the error is in (0 the first, 1 the second) and the line,
  // from 1; 0 when it is not about one line.
  int input = 0;
  int lineNumber = 0;
  std::string message;
  // About the input as a whole (it is not text), so worth its name.
  bool wholeInput = false;
};

struct Outcome {
  std::optional<Error> error;
  Answers answers;
};

// Whether `command` (or each part of it) has steps to show.
bool hasSteps(Command command);

// Runs `options.command` on `text` (and, for equivalent and check-cover,
// on `second`, compared on its dependencies alone).
Outcome run(const std::string& text, const std::optional<std::string>& second,
            const Options& options);

// How the input was read, in words: "strict format", "exercise notation,
// one letter per attribute", "exercise notation, names as words".
std::string readingDescription(const Answers& answers);

// A warning in words; names spelled by `spell`, separated by commas.
std::string warningText(const design::Warning& warning,
                        const design::Schema& schema,
                        std::string (*spell)(const std::string&));

// The warnings about how the inputs were read, in words.
std::vector<std::string> readingWarningTexts(
    const Answers& answers, std::string (*spell)(const std::string&));

// Every warning of `answers` in words, those about reading first.
std::vector<std::string> warningTexts(const Answers& answers,
                                      std::string (*spell)(const std::string&));

// The dependency of the first (`from` kFirst) or second input.
const design::Dependency& dependencyOf(const design::Schema& schema,
                                       design::FileSide from, int index);

}  // namespace fdtools::report

#endif  // REPORT_PIPELINE_H_
