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

 private:
  const design::Schema& schema;
};

}  // namespace

nlohmann::ordered_json buildJson(design::Audit& audit, Command command,
                                 const AttributeSet& closureStart) {
  const design::Schema& schema = audit.schema();
  const Writer writer(schema);
  Json json;
  json["version"] = kJsonVersion;
  json["attributes"] = writer.names(schema.allAttributes());
  json["tables"] = writer.sets(schema.tables());
  json["dependencies"] = writer.dependencies(schema.dependencies());
  // Filled in last: computing the parts can add warnings.
  json["warnings"] = Json::array();
  for (const Command part : reportParts(command)) {
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
      case Command::kReport:
        break;
    }
  }
  json["warnings"] = audit.warnings(toUtf8);
  return json;
}

}  // namespace fdtools::cli
