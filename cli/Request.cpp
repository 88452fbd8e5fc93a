#include "cli/Request.h"

#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "design/Preservation.h"
#include "frame/TextUtil.h"

namespace fdtools::cli {

bool makeRequest(Command command, const design::Schema& schema,
                 const std::string& attributes, bool bcnf, bool threeNf,
                 const std::vector<std::string>& dependencyLines,
                 Request& request, std::string& error) {
  request.command = command;
  request.bcnf = bcnf;
  request.form = threeNf ? "3NF" : bcnf ? "BCNF" : "";
  request.dependencyLines = dependencyLines;
  request.closureStart = design::AttributeSet(schema.attributeCount());
  if (command != Command::kClosure) return true;
  for (const std::string& name : split(trimmed(attributes), ',')) {
    const int id = schema.idOf(name);
    if (id < 0) {
      error = "attribute not in the schema: " + name;
      return false;
    }
    request.closureStart.insert(id);
  }
  return true;
}

Answers answer(design::Audit& audit, const Request& request) {
  const design::Schema& schema = audit.schema();
  const int n = schema.attributeCount();
  Answers answers;
  switch (request.command) {
    case Command::kSynthesize: {
      answers.synthesis = request.bcnf
                              ? design::decomposeBcnf(n, schema.dependencies())
                              : design::synthesize3nf(n, schema.dependencies());
      if (!answers.synthesis.decided) {
        answers.decided = false;
        answers.reason = answers.synthesis.reason;
        break;
      }
      answers.synthesisChase.lossless =
          design::losslessThroughTables(n, answers.synthesis.tables,
                                        audit.cover()) ||
          design::chase(n, answers.synthesis.tables, audit.cover()).lossless;
      design::ClosureIndex index(n, schema.dependencies());
      design::PreservationTester tester(answers.synthesis.tables, index);
      for (const design::Dependency& dependency : schema.dependencies()) {
        answers.synthesisPreservation.push_back(tester.test(dependency));
      }
      break;
    }
    case Command::kEquivalent:
      answers.witnesses = design::nonImplied(n, schema.dependencies(),
                                             schema.otherDependencies());
      answers.ok = answers.witnesses.empty();
      break;
    case Command::kCheckCover:
      answers.coverFailures = design::checkCover(n, schema.dependencies(),
                                                 schema.otherDependencies());
      answers.ok = answers.coverFailures.empty();
      break;
    case Command::kCheckDecomposition:
      answers.decompositionCheck =
          design::checkDecomposition(schema, request.form, audit.maxKeys());
      answers.decided = answers.decompositionCheck.decided;
      answers.reason = answers.decompositionCheck.reason;
      answers.ok = answers.decompositionCheck.failures.empty();
      break;
    default:
      break;
  }
  return answers;
}

std::string synthesizedInput(const design::Schema& schema,
                             const design::Decomposition& decomposition,
                             const std::vector<std::string>& dependencyLines) {
  std::string text;
  for (const design::AttributeSet& table : decomposition.tables) {
    const char* separator = "";
    for (const std::string& name : schema.namesOf(table)) {
      text += separator;
      text += name;
      separator = ",";
    }
    text += '\n';
  }
  text += '\n';
  for (const std::string& line : dependencyLines) text += line + '\n';
  return text;
}

}  // namespace fdtools::cli
