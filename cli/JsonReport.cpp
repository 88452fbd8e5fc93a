#include "cli/JsonReport.h"

#include <string>
#include <vector>

#include "cli/NameEncoding.h"

namespace fdtools::cli {
namespace {

using Json = nlohmann::ordered_json;
using design::AttributeSet;
using design::Dependency;

class Writer {
 public:
  explicit Writer(const design::Schema& schema) : schema(schema) {}

  Json names(const AttributeSet& set) const {
    Json list = Json::array();
    for (const std::string& name : schema.namesOf(set)) {
      list.push_back(toUtf8(name));
    }
    return list;
  }

  Json dependency(const Dependency& dependency) const {
    return Json{{"left", names(dependency.left)},
                {"right", names(dependency.right)}};
  }

  Json dependencies(const std::vector<Dependency>& list) const {
    Json result = Json::array();
    for (const Dependency& d : list) result.push_back(dependency(d));
    return result;
  }

  Json sets(const std::vector<AttributeSet>& list) const {
    Json result = Json::array();
    for (const AttributeSet& set : list) result.push_back(names(set));
    return result;
  }

  Json keys(const design::KeySet& keys) const {
    return Json{{"keys", sets(keys.keys)},
                {"complete", keys.complete},
                {"prime", names(keys.prime)}};
  }

  Json normalForm(const design::NormalFormResult& result) const {
    Json json{{"attributes", names(result.attributes)},
              {"decided", result.decided}};
    if (!result.decided) {
      json["reason"] = result.reason;
      return json;
    }
    json["form"] = result.form;
    json["keys"] = sets(result.keys.keys);
    json["cover"] = dependencies(result.cover);
    Json violations = Json::array();
    for (const design::Violation& violation : result.violations) {
      Json entry = dependency(violation.dependency);
      entry["violates"] = violation.violates;
      violations.push_back(std::move(entry));
    }
    json["violations"] = std::move(violations);
    return json;
  }

  Json lossless(const design::ChaseResult& result) const {
    Json tableau = Json::array();
    for (const std::vector<int>& row : result.tableau) {
      Json cells = Json::array();
      for (const int symbol : row) {
        std::string cell = "a";
        if (symbol != 0) {
          cell[0] = 'b';
          cell += std::to_string(symbol - 1);
        }
        cells.push_back(std::move(cell));
      }
      tableau.push_back(std::move(cells));
    }
    return Json{{"lossless", result.lossless}, {"tableau", std::move(tableau)}};
  }

  Json preservation(
      const std::vector<design::DependencyPreservation>& results) const {
    bool all = true;
    Json list = Json::array();
    for (std::size_t i = 0; i < results.size(); ++i) {
      const design::DependencyPreservation& result = results[i];
      all = all && result.preserved;
      Json entry = dependency(schema.dependencies()[i]);
      entry["preserved"] = result.preserved;
      entry["reached"] = names(result.reached);
      entry["missing"] = names(result.missing);
      Json steps = Json::array();
      for (const design::PreservationStep& step : result.steps) {
        steps.push_back(Json{{"pass", step.pass},
                             {"table", step.table},
                             {"added", names(step.added)}});
      }
      entry["steps"] = std::move(steps);
      list.push_back(std::move(entry));
    }
    return Json{{"preserved", all}, {"dependencies", std::move(list)}};
  }

  Json synthesis(const Request& request, const Answers& answers) const {
    bool preserved = true;
    Json lost = Json::array();
    for (std::size_t i = 0; i < answers.synthesisPreservation.size(); ++i) {
      if (answers.synthesisPreservation[i].preserved) continue;
      preserved = false;
      lost.push_back(dependency(schema.dependencies()[i]));
    }
    return Json{{"method", request.bcnf ? "BCNF" : "3NF"},
                {"tables", sets(answers.synthesis.tables)},
                {"lossless", answers.synthesisChase.lossless},
                {"preserved", preserved},
                {"lost", std::move(lost)}};
  }

  // A dependency of FILE (1) or of the second file (2).
  const Dependency& ofFile(int from, int index) const {
    return from == 1 ? schema.dependencies()[index]
                     : schema.otherDependencies()[index];
  }

  Json witnesses(const std::vector<design::ImplicationWitness>& list) const {
    Json result = Json::array();
    for (const design::ImplicationWitness& w : list) {
      result.push_back(Json{{"dependency", dependency(ofFile(w.from, w.index))},
                            {"from", w.from}});
    }
    return result;
  }

  Json checkCover(const Answers& answers) const {
    Json failures = Json::array();
    for (const design::CoverFailure& failure : answers.coverFailures) {
      Json witness{
          {"dependency", dependency(ofFile(failure.from, failure.index))}};
      if (failure.property == "equivalent") {
        witness["from"] = failure.from;
      } else {
        witness["index"] = failure.index;
      }
      if (failure.attribute >= 0) {
        witness["attribute"] = toUtf8(schema.name(failure.attribute));
      }
      failures.push_back(Json{{"property", failure.property},
                              {"witness", std::move(witness)}});
    }
    return Json{{"ok", answers.ok}, {"failures", std::move(failures)}};
  }

  Json checkDecomposition(const Answers& answers) const {
    const design::DecompositionCheck& check = answers.decompositionCheck;
    Json failures = Json::array();
    for (const design::DecompositionFailure& failure : check.failures) {
      Json witness;
      if (failure.property == "lossless") {
        witness = Json{{"tableau", lossless(check.chase)["tableau"]}};
      } else if (failure.property == "preserving") {
        witness = Json{{"dependency", dependency(failure.dependency)},
                       {"index", failure.index},
                       {"missing", names(failure.missing)}};
      } else {
        witness = Json{{"table", failure.table},
                       {"attributes", names(schema.tables()[failure.table])},
                       {"dependency", dependency(failure.dependency)}};
      }
      failures.push_back(Json{{"property", failure.property},
                              {"witness", std::move(witness)}});
    }
    return Json{{"ok", answers.ok}, {"failures", std::move(failures)}};
  }

 private:
  const design::Schema& schema;
};

}  // namespace

nlohmann::ordered_json buildJson(design::Audit& audit, const Request& request,
                                 const Answers& answers) {
  const AttributeSet& closureStart = request.closureStart;
  const design::Schema& schema = audit.schema();
  const Writer writer(schema);
  Json json;
  json["version"] = kJsonVersion;
  json["attributes"] = writer.names(schema.allAttributes());
  json["tables"] = writer.sets(schema.tables());
  json["dependencies"] = writer.dependencies(schema.dependencies());
  // Filled in last: computing the parts can add warnings.
  json["warnings"] = Json::array();
  for (const Command part : reportParts(request.command)) {
    switch (part) {
      case Command::kClosure:
        json["closure"] =
            Json{{"of", writer.names(closureStart)},
                 {"closure", writer.names(audit.closure(closureStart))}};
        break;
      case Command::kKeys:
        json["keys"] = writer.keys(audit.keys());
        break;
      case Command::kCover:
        json["cover"] = writer.dependencies(audit.cover());
        break;
      case Command::kNormalForms: {
        const design::NormalForms forms = audit.normalForms();
        Json tables = Json::array();
        for (const auto& table : forms.tables) {
          tables.push_back(writer.normalForm(table));
        }
        json["normalForms"] = Json{{"schema", writer.normalForm(forms.schema)},
                                   {"tables", std::move(tables)}};
        break;
      }
      case Command::kLossless:
        json["lossless"] = writer.lossless(audit.lossless());
        break;
      case Command::kPreserve:
        json["preservation"] = writer.preservation(audit.preservation());
        break;
      case Command::kSynthesize:
        json["synthesis"] = writer.synthesis(request, answers);
        break;
      case Command::kEquivalent:
        json["equivalent"] =
            Json{{"equivalent", answers.ok},
                 {"witnesses", writer.witnesses(answers.witnesses)}};
        break;
      case Command::kCheckCover:
        json["checkCover"] = writer.checkCover(answers);
        break;
      case Command::kCheckDecomposition:
        json["checkDecomposition"] = writer.checkDecomposition(answers);
        break;
      case Command::kReport:
        break;
    }
  }
  json["warnings"] = audit.warnings(toUtf8);
  return json;
}

std::string jsonText(design::Audit& audit, const Request& request,
                     const Answers& answers) {
  return buildJson(audit, request, answers).dump(2) + "\n";
}

}  // namespace fdtools::cli
