// What one run is asked, and the answers of the commands that need more
// than the audit of one input: computed once, then written as text or
// JSON.
#ifndef CLI_REQUEST_H_
#define CLI_REQUEST_H_

#include <string>
#include <vector>

#include "cli/Command.h"
#include "design/Audit.h"
#include "design/Checks.h"
#include "design/Synthesis.h"

namespace fdtools::cli {

struct Request {
  Command command = Command::kReport;
  // For closure.
  design::AttributeSet closureStart;
  // For synthesize: BCNF splits instead of the 3NF synthesis.
  bool bcnf = false;
  // For check-decomposition: "", "3NF" or "BCNF".
  std::string form;
  // For synthesize: the dependency lines as given, written after the
  // tables.
  std::vector<std::string> dependencyLines;
};

struct Answers {
  design::Decomposition synthesis;
  design::ChaseResult synthesisChase;
  std::vector<design::DependencyPreservation> synthesisPreservation;
  std::vector<design::ImplicationWitness> witnesses;
  std::vector<design::CoverFailure> coverFailures;
  design::DecompositionCheck decompositionCheck;
  // For the checks: whether every property holds.
  bool ok = true;
  // False when a table was too large to decide exactly; `reason` says why.
  bool decided = true;
  std::string reason;
};

// Fills `request` for `command` on `schema`. False, with `error` set, when
// a closure attribute is not in the schema.
bool makeRequest(Command command, const design::Schema& schema,
                 const std::string& attributes, bool bcnf, bool threeNf,
                 const std::vector<std::string>& dependencyLines,
                 Request& request, std::string& error);

// Computes the answers of synthesize, equivalent, check-cover and
// check-decomposition; nothing for the other commands.
Answers answer(design::Audit& audit, const Request& request);

// The synthesized decomposition as a checker input file: the tables, an
// empty line, the dependency lines as given.
std::string synthesizedInput(const design::Schema& schema,
                             const design::Decomposition& decomposition,
                             const std::vector<std::string>& dependencyLines);

}  // namespace fdtools::cli

#endif  // CLI_REQUEST_H_
