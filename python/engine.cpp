// The engine for Python: the pipeline and the input format, with bytes for
// names and texts. The Python package (fdtools/__init__.py) turns these
// into its API; nothing here decides an answer.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "design/Audit.h"
#include "design/InputFormat.h"
#include "frame/TextInputFile.h"
#include "report/Command.h"
#include "report/DocumentWriter.h"
#include "report/JsonWriter.h"
#include "report/Pipeline.h"

namespace py = pybind11;

namespace {

// Raised as fdtools.InputError by the package: (message, input, line).
py::object inputError;

[[noreturn]] void raise(const std::string& message, int input, int line) {
  PyErr_SetObject(inputError.ptr(), py::make_tuple(message, input, line).ptr());
  throw py::error_already_set();
}

// The JSON of `fdtools --json COMMAND` on `text` (and `second`).
std::string run(const std::string& command, const py::bytes& text,
                const std::optional<py::bytes>& second,
                const py::bytes& attributes, bool bcnf, bool threeNf,
                bool fourNf, int maxKeys, const std::string& notation,
                const std::string& names, const std::string& to, bool steps,
                const std::string& format) {
  const std::optional<fdtools::report::Command> named =
      fdtools::report::commandNamed(command);
  if (!named) throw py::value_error("unknown command: " + command);
  if (maxKeys < 1) throw py::value_error("max_keys must be at least 1");
  fdtools::report::Options options;
  options.command = *named;
  options.attributes = attributes;
  options.bcnf = bcnf;
  options.threeNf = threeNf;
  options.fourNf = fourNf;
  options.maxKeys = maxKeys;
  options.steps = steps;
  if (format != "json" && format != "latex" && format != "markdown") {
    throw py::value_error("unknown format: " + format +
                          " (json, latex or markdown)");
  }
  if ((steps || format != "json") &&
      !fdtools::report::hasSteps(options.command)) {
    throw py::value_error(command + " has no steps");
  }
  if (format != "json") options.steps = true;
  const auto notationOf = [](const std::string& name) {
    const auto named = fdtools::report::notationNamed(name);
    if (!named) {
      throw py::value_error("unknown notation: " + name +
                            " (auto, strict or exercise)");
    }
    return *named;
  };
  options.notation = notationOf(notation);
  options.convertTo = notationOf(to);
  const auto letters = fdtools::report::letterModeNamed(names);
  if (!letters) {
    throw py::value_error("unknown names: " + names + " (letters or words)");
  }
  options.letters = *letters;
  std::optional<std::string> secondText;
  if (second) secondText = std::string(*second);
  const std::string input = text;
  fdtools::report::Outcome outcome;
  {
    py::gil_scoped_release unlocked;
    outcome = fdtools::report::run(input, secondText, options);
  }
  if (outcome.error) {
    raise(outcome.error->message, outcome.error->input,
          outcome.error->lineNumber);
  }
  std::ostringstream out;
  if (format == "json") {
    fdtools::report::writeJson(out, outcome.answers);
  } else {
    fdtools::report::writeDocument(
        out, outcome.answers,
        format == "latex" ? fdtools::report::DocumentFormat::kLatex
                          : fdtools::report::DocumentFormat::kMarkdown);
  }
  return out.str();
}

std::vector<std::string> asStrings(const std::vector<py::bytes>& names) {
  return {names.begin(), names.end()};
}

using Sides =
    std::vector<std::pair<std::vector<py::bytes>, std::vector<py::bytes>>>;

// An input text holding exactly these tables and dependencies (FDs, then
// MVDs); a table or name it cannot write raises InputError.
py::bytes writeInput(const std::vector<std::vector<py::bytes>>& tables,
                     const Sides& dependencies, const Sides& multivalued) {
  std::string text;
  for (std::size_t t = 0; t < tables.size(); ++t) {
    const fdtools::design::WrittenLine line =
        fdtools::design::writeTableLine(asStrings(tables[t]));
    if (!line.line)
      raise("table " + std::to_string(t) + ": " + line.problem, 0, 0);
    text += *line.line + "\n";
  }
  text += "\n";
  for (const bool isMultivalued : {false, true}) {
    const Sides& list = isMultivalued ? multivalued : dependencies;
    for (std::size_t d = 0; d < list.size(); ++d) {
      const fdtools::design::WrittenLine line =
          fdtools::design::writeDependencyLine(asStrings(list[d].first),
                                               asStrings(list[d].second),
                                               isMultivalued);
      if (!line.line) {
        raise(std::string(isMultivalued ? "multivalued dependency "
                                        : "dependency ") +
                  std::to_string(d) + ": " + line.problem,
              0, 0);
      }
      text += *line.line + "\n";
    }
  }
  return py::bytes(text);
}

// Names as a closure argument: one table line.
py::bytes nameList(const std::vector<py::bytes>& names) {
  if (names.empty()) return py::bytes("");
  const fdtools::design::WrittenLine line =
      fdtools::design::writeTableLine(asStrings(names));
  if (!line.line) raise(line.problem, 0, 0);
  return py::bytes(*line.line);
}

// A file read as fdtools reads one: CR LF as LF, a byte 0x1A ends it.
py::bytes readFile(const std::string& path) {
  std::string text;
  std::string error;
  if (!fdtools::readTextFile(path, text, error)) {
    throw py::value_error("cannot read " + path + ": " + error);
  }
  return py::bytes(text);
}

}  // namespace

PYBIND11_MODULE(_engine, module) {
  module.doc() = "The fdtools engine; use the fdtools package.";
  module.def("set_input_error", [](py::object type) { inputError = type; });
  module.def("run", &run, py::arg("command"), py::arg("text"),
             py::arg("second"), py::arg("attributes"), py::arg("bcnf"),
             py::arg("three_nf"), py::arg("four_nf"), py::arg("max_keys"),
             py::arg("notation"), py::arg("names"), py::arg("to"),
             py::arg("steps"), py::arg("format"));
  module.def("write_input", &writeInput, py::arg("tables"),
             py::arg("dependencies"), py::arg("multivalued"));
  module.def("name_list", &nameList, py::arg("names"));
  module.def("read_file", &readFile, py::arg("path"));
  module.attr("DEFAULT_MAX_KEYS") = fdtools::design::kDefaultMaxKeys;
  module.attr("JSON_VERSION") = fdtools::report::kJsonVersion;
}
