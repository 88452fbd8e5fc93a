#include "web/Analyze.h"

#include <exception>
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "cli/JsonReport.h"
#include "cli/Request.h"
#include "design/Audit.h"
#include "design/InputParser.h"

namespace fdtools::web {
namespace {

std::string errorJson(const std::string& message) {
  return nlohmann::json{{"error", message}}.dump();
}

// Parses `text`; false with `error` naming the line.
bool parse(const std::string& text, const char* which,
           design::ParsedInput& input, std::string& error) {
  design::ParseError parseError;
  if (design::parseInput(text, input, parseError)) return true;
  error = std::string(which) + "line " + std::to_string(parseError.lineNumber) +
          ": no \"->\" in dependency line: " + parseError.line;
  return false;
}

std::string run(const std::string& command, const std::string& inputText,
                const std::string& optionsText) {
  const std::optional<cli::Command> named = cli::commandNamed(command);
  if (!named) return errorJson("unknown command: " + command);
  const nlohmann::json options =
      optionsText.empty() ? nlohmann::json::object()
                          : nlohmann::json::parse(optionsText, nullptr, false);
  if (!options.is_object()) return errorJson("options are not a JSON object");
  const int maxKeys = options.value("maxKeys", design::kDefaultMaxKeys);
  if (maxKeys < 1) return errorJson("maxKeys must be at least 1");

  std::string error;
  design::ParsedInput input;
  if (!parse(inputText, "", input, error)) return errorJson(error);
  design::ParsedInput second;
  const bool twoFiles = options.contains("second");
  if (twoFiles && !parse(options.value("second", std::string()),
                         "second file, ", second, error)) {
    return errorJson(error);
  }
  const design::Schema schema(input.tables, input.dependencies,
                              second.dependencies);
  cli::Request request;
  if (!cli::makeRequest(*named, schema,
                        options.value("attributes", std::string()),
                        options.value("bcnf", false),
                        options.value("threeNf", false),
                        input.dependencyLines, request, error)) {
    return errorJson(error);
  }
  design::Audit audit(schema, maxKeys);
  if (twoFiles) audit.ignoreTables();
  const cli::Answers answers = cli::answer(audit, request);
  if (!answers.decided) return errorJson("undecided: " + answers.reason);
  return cli::jsonText(audit, request, answers);
}

}  // namespace

std::string analyze(const std::string& command, const std::string& inputText,
                    const std::string& options) {
  try {
    return run(command, inputText, options);
  } catch (const std::exception& e) {
    // Wrong option types, or memory running out on a huge schema.
    return errorJson(e.what());
  }
}

}  // namespace fdtools::web
