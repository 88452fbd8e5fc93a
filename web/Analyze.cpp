#include "web/Analyze.h"

#include <exception>
#include <nlohmann/json.hpp>
#include <sstream>

#include "report/Command.h"
#include "report/DocumentWriter.h"
#include "report/JsonWriter.h"
#include "report/Pipeline.h"

namespace fdtools::web {
namespace {

std::string errorJson(const std::string& message) {
  return nlohmann::json{{"error", message}}.dump();
}

std::string run(const std::string& command, const std::string& inputText,
                const std::string& optionsText) {
  const std::optional<report::Command> named = report::commandNamed(command);
  if (!named) return errorJson("unknown command: " + command);
  const nlohmann::json json =
      optionsText.empty() ? nlohmann::json::object()
                          : nlohmann::json::parse(optionsText, nullptr, false);
  if (!json.is_object()) return errorJson("options are not a JSON object");
  report::Options options;
  options.command = *named;
  options.maxKeys = json.value("maxKeys", design::kDefaultMaxKeys);
  if (options.maxKeys < 1) return errorJson("maxKeys must be at least 1");
  options.attributes = json.value("attributes", std::string());
  options.bcnf = json.value("bcnf", false);
  options.threeNf = json.value("threeNf", false);
  options.fourNf = json.value("fourNf", false);
  options.brief = json.value("brief", false);
  options.steps = json.value("steps", false);
  // "json", or a worked solution: "latex" or "markdown", given back as
  // {"document": text}.
  const std::string format = json.value("format", std::string("json"));
  if (format != "json" && format != "latex" && format != "markdown") {
    return errorJson("format must be json, latex or markdown");
  }
  if (format != "json") {
    if (!report::hasSteps(options.command)) {
      return errorJson(command + " has no steps to write as a document");
    }
    options.steps = true;
  }
  const auto notation =
      report::notationNamed(json.value("notation", std::string()));
  const auto to = report::notationNamed(json.value("to", std::string()));
  const auto letters =
      report::letterModeNamed(json.value("names", std::string()));
  if (!notation || !to) {
    return errorJson("notation must be auto, strict or exercise");
  }
  if (!letters) return errorJson("names must be letters or words");
  options.notation = *notation;
  options.convertTo = *to;
  options.letters = *letters;
  std::optional<std::string> second;
  if (json.contains("second")) second = json.value("second", std::string());

  const report::Outcome outcome = report::run(inputText, second, options);
  if (outcome.error) {
    const report::Error& error = *outcome.error;
    std::string where;
    if (error.wholeInput && error.input == 1) where = "second file: ";
    if (error.lineNumber > 0) {
      where = (error.input == 1 ? "second file, line " : "line ") +
              std::to_string(error.lineNumber) + ": ";
    }
    return errorJson(where + error.message);
  }
  std::ostringstream out;
  if (format == "json") {
    report::writeJson(out, outcome.answers);
    return out.str();
  }
  report::writeDocument(out, outcome.answers,
                        format == "latex" ? report::DocumentFormat::kLatex
                                          : report::DocumentFormat::kMarkdown);
  return nlohmann::json{{"document", out.str()}}.dump();
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
