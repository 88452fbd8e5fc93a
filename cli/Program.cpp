#include "cli/Program.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "design/Audit.h"
#include "frame/TextInputFile.h"
#include "frame/TextOutputFile.h"
#include "report/Command.h"
#include "report/DocumentWriter.h"
#include "report/JsonWriter.h"
#include "report/Pipeline.h"
#include "report/TextWriter.h"

#ifndef FDTOOLS_VERSION
#define FDTOOLS_VERSION "unknown"
#endif

namespace fdtools::cli {
namespace {

using report::Command;
using report::CommandInfo;
using report::commandNamed;
using report::commands;

constexpr int kTrouble = 2;

struct Arguments {
  bool json = false;
  bool brief = false;
  bool steps = false;
  // --format: "text", "json", "latex" or "markdown"; "" when not given.
  std::string format;
  int maxKeys = design::kDefaultMaxKeys;
  Command command = Command::kReport;
  std::string file;
  // The second file of equivalent and check-cover.
  std::string file2;
  std::string attributes;
  bool bcnf = false;
  bool fourNf = false;
  bool threeNf = false;
  // synthesize -o.
  std::string output;
  std::string notation = "auto";
  bool letters = false;
  bool words = false;
  // convert --to: "", "strict" or "exercise".
  std::string convertTo;
};

int fail(std::ostream& err, const std::string& message) {
  err << "fdtools: " << message << "\n";
  return kTrouble;
}

// Reads `name` ("-": `in`) with the checker's text-mode rules. False, with
// `error` set to the reason, when it cannot.
bool readInput(const std::string& name, std::istream& in, std::string& text,
               std::string& error) {
  if (name != "-") return readTextFile(name, text, error);
  TextInputFile file;
  if (&in == &std::cin) {
    file.attachStandardInput();
  } else {
    file.attach(in);
  }
  return readAll(file, text, error);
}

// `status`, unless what was written to `out` did not reach it.
int finish(std::ostream& out, std::ostream& err, int status) {
  if (!out.flush()) return fail(err, "cannot write the output");
  return status;
}

const char kHelpFooter[] =
    "FILE is a checker input file, or an exercise as textbooks write one\n"
    "(R(A,B,C) and AB -> C, see --notation); \"-\" reads standard input.\n"
    "Exit status: 0 when the command ran, whatever the answers, except that\n"
    "the checks (equivalent, check-cover, check-decomposition) exit 1 when\n"
    "the answer is no; 2 on trouble: a usage error, an unreadable file, a\n"
    "line that cannot be read, a closure attribute that is not in the\n"
    "schema, or a table too large to decide.";

// The first argument that is neither an option nor an option's value, or
// nullptr. Names a command, when the command line is right.
const char* firstWord(int argc, const char* const argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--max-keys" || arg == "--notation" || arg == "--to" ||
        arg == "--format") {
      ++i;
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') continue;
    return argv[i];
  }
  return nullptr;
}

bool asksForHelpOrVersion(int argc, const char* const argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h" || arg == "--version") return true;
  }
  return false;
}

// Fills `arguments`; returns -1 to go on, else the exit status.
int parseArguments(int argc, const char* const argv[], Arguments& arguments,
                   std::ostream& out, std::ostream& err) {
  CLI::App app{
      "Design audit of a relation schema, its decomposition into "
      "tables and its functional dependencies.",
      "fdtools"};
  app.set_version_flag("--version", std::string("fdtools ") + FDTOOLS_VERSION);
  app.add_flag("--json", arguments.json, "Print one JSON object");
  app.add_option("--format", arguments.format,
                 "text (default), json (as --json), or a worked solution "
                 "with its steps as a latex or markdown document")
      ->check(CLI::IsMember({"text", "json", "latex", "markdown"}))
      ->type_name("FORMAT");
  app.add_flag("--brief", arguments.brief,
               "Per dependency only preserved or lost and what is missing, "
               "per table only its form and violations");
  app.add_flag("--steps", arguments.steps,
               "Show the steps behind each answer: closures, cover moves, key "
               "proofs, the reasons of violations, chase moves, synthesis");
  app.add_option("--max-keys", arguments.maxKeys,
                 "Stop listing keys after N, at least 1 (default 10000)")
      ->type_name("N");
  app.add_option("--notation", arguments.notation,
                 "How to read FILE: auto (default), strict (the format of "
                 "fdcheck) or exercise (R(A,B,C), AB -> C)")
      ->check(CLI::IsMember({"auto", "strict", "exercise"}))
      ->type_name("NOTATION");
  CLI::Option* letters = app.add_flag(
      "--letters", arguments.letters,
      "In the exercise notation, one letter per attribute (ABC is A, B, C)");
  CLI::Option* words =
      app.add_flag("--words", arguments.words,
                   "In the exercise notation, names are words (ABC is one)");
  letters->excludes(words);
  app.require_subcommand(1);
  app.fallthrough();
  app.footer(kHelpFooter);
  app.get_formatter()->label("SUBCOMMAND", "COMMAND FILE [ATTRIBUTES]");
  std::vector<std::pair<CLI::App*, Command>> subcommands;
  for (const CommandInfo& info : commands()) {
    CLI::App* sub = app.add_subcommand(info.name, info.summary);
    sub->group("Commands");
    sub->add_option("FILE", arguments.file, "Input file, - for standard input")
        ->required();
    if (info.secondFile != nullptr) {
      sub->add_option(info.secondFile, arguments.file2,
                      "Second input file, - for standard input")
          ->required();
    }
    if (info.command == Command::kClosure) {
      sub->add_option("ATTRIBUTES", arguments.attributes,
                      "Names separated by commas, as on a table line")
          ->required();
    }
    if (info.command == Command::kSynthesize) {
      CLI::Option* bcnf =
          sub->add_flag("--bcnf", arguments.bcnf,
                        "Split into BCNF instead of the 3NF synthesis");
      CLI::Option* fourNf =
          sub->add_flag("--4nf", arguments.fourNf,
                        "Split into 4NF on the FDs and MVDs (->>) instead");
      bcnf->excludes(fourNf);
      sub->add_option("-o,--output", arguments.output,
                      "Write the decomposition to OUT instead of standard "
                      "output")
          ->type_name("OUT");
    }
    if (info.command == Command::kConvert) {
      sub->add_option("--to", arguments.convertTo,
                      "The notation to write (default: the other one)")
          ->check(CLI::IsMember({"strict", "exercise"}))
          ->type_name("NOTATION");
    }
    if (info.command == Command::kCheckDecomposition) {
      CLI::Option* threeNf =
          sub->add_flag("--3nf", arguments.threeNf, "Every table in 3NF too");
      CLI::Option* bcnf =
          sub->add_flag("--bcnf", arguments.bcnf, "Every table in BCNF too");
      CLI::Option* fourNf = sub->add_flag(
          "--4nf", arguments.fourNf, "Every table in 4NF (FDs and MVDs) too");
      threeNf->excludes(bcnf);
      threeNf->excludes(fourNf);
      bcnf->excludes(fourNf);
    }
    subcommands.emplace_back(sub, info.command);
  }
  // CLI11 would call both of these "A subcommand is required".
  if (!asksForHelpOrVersion(argc, argv)) {
    const char* word = firstWord(argc, argv);
    if (word == nullptr)
      return fail(err, "no command given (see fdtools --help)");
    if (!commandNamed(word)) {
      return fail(err, std::string("unknown command: ") + word +
                           " (see fdtools --help)");
    }
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return finish(out, err, 0);
  } catch (const CLI::CallForAllHelp&) {
    out << app.help("", CLI::AppFormatMode::All);
    return finish(out, err, 0);
  } catch (const CLI::CallForVersion&) {
    out << "fdtools " << FDTOOLS_VERSION << "\n";
    return finish(out, err, 0);
  } catch (const CLI::ParseError& error) {
    std::string message = error.what();
    std::replace(message.begin(), message.end(), '\n', ' ');
    return fail(err, message + " (see fdtools --help)");
  }
  // Checked here rather than by CLI11, whose help would list them.
  if (arguments.json && !arguments.format.empty() &&
      arguments.format != "json") {
    return fail(err, "--json and --format " + arguments.format +
                         ": give one format (see fdtools --help)");
  }
  if (arguments.brief && arguments.steps) {
    return fail(err,
                "--brief and --steps: the short form has no steps (see "
                "fdtools --help)");
  }
  if (arguments.format == "json") arguments.json = true;
  const bool document =
      arguments.format == "latex" || arguments.format == "markdown";
  if (document && arguments.brief) {
    return fail(err, "--brief: a " + arguments.format +
                         " document is a worked solution, with every step "
                         "(see fdtools --help)");
  }
  if (arguments.maxKeys < 1) {
    return fail(err, "--max-keys: must be at least 1 (see fdtools --help)");
  }
  for (const auto& [sub, command] : subcommands) {
    if (sub->parsed()) arguments.command = command;
  }
  if ((arguments.steps || document) && !report::hasSteps(arguments.command)) {
    return fail(err, std::string(arguments.steps ? "--steps" : "--format ") +
                         (arguments.steps ? "" : arguments.format) + ": " +
                         report::commandName(arguments.command) +
                         " has no steps to show; report, closure, keys, "
                         "cover, normal-forms, lossless, preserve and "
                         "synthesize have (see fdtools --help)");
  }
  if (document) arguments.steps = true;
  return -1;
}

}  // namespace

namespace {

// Reads `name`; false after the message on `err`.
bool load(const std::string& name, std::istream& in, std::ostream& err,
          std::string& text) {
  std::string reason;
  if (readInput(name, in, text, reason)) return true;
  fail(err, "cannot read " + name + ": " + reason);
  return false;
}

bool writeFile(const std::string& name, const std::string& text,
               std::string& reason) {
  errno = 0;
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  if (file) file << text;
  if (file && file.flush()) return true;
  reason = errno != 0 ? std::strerror(errno) : "write error";
  return false;
}

}  // namespace

int runProgram(int argc, const char* const argv[], std::istream& in,
               std::ostream& out, std::ostream& err) {
  Arguments arguments;
  if (const int status = parseArguments(argc, argv, arguments, out, err);
      status >= 0) {
    return status;
  }
  if (arguments.file == "-" && arguments.file2 == "-") {
    return fail(err,
                "only one file can be standard input (see fdtools --help)");
  }
  const std::vector<std::string> inputNames = {arguments.file, arguments.file2};
  for (const std::string& name : inputNames) {
    if (!arguments.output.empty() && !name.empty() && name != "-" &&
        denoteSameFile(name, arguments.output)) {
      return fail(
          err, "cannot write " + arguments.output + ": it is the input file");
    }
  }
  std::string text;
  if (!load(arguments.file, in, err, text)) return kTrouble;
  std::optional<std::string> second;
  if (!arguments.file2.empty()) {
    second.emplace();
    if (!load(arguments.file2, in, err, *second)) return kTrouble;
  }
  report::Options options;
  options.command = arguments.command;
  options.attributes = arguments.attributes;
  options.bcnf = arguments.bcnf;
  options.threeNf = arguments.threeNf;
  options.fourNf = arguments.fourNf;
  options.maxKeys = arguments.maxKeys;
  options.brief = arguments.brief;
  options.steps = arguments.steps;
  // CLI11 has checked the names.
  options.notation = report::notationNamed(arguments.notation).value();
  options.convertTo = report::notationNamed(arguments.convertTo).value();
  options.letters = report::letterModeNamed(arguments.letters ? "letters"
                                            : arguments.words ? "words"
                                                              : "")
                        .value();
  const report::Outcome outcome = report::run(text, second, options);
  if (outcome.error) {
    const report::Error& error = *outcome.error;
    if (error.wholeInput) {
      return fail(err, inputNames[error.input] + ": " + error.message);
    }
    if (error.lineNumber == 0) return fail(err, error.message);
    return fail(err, inputNames[error.input] + ":" +
                         std::to_string(error.lineNumber) + ": " +
                         error.message);
  }
  const report::Answers& answers = outcome.answers;
  if (answers.synthesis) {
    const std::string& file = answers.synthesis->file;
    std::string reason;
    if (!arguments.output.empty() &&
        !writeFile(arguments.output, file, reason)) {
      return fail(err, "cannot write " + arguments.output + ": " + reason);
    }
    // Without -o the decomposition itself is the answer, ready to redirect;
    // a likely misreading of the input is told on standard error.
    if (arguments.output.empty() && !arguments.json && !arguments.steps) {
      const auto asIs = [](const std::string& name) { return name; };
      for (const std::string& warning :
           report::readingWarningTexts(answers, asIs)) {
        err << "fdtools: warning: " << warning << "\n";
      }
      // Of the answers' warnings only this one is about the decomposition.
      for (const design::Warning& warning : answers.warnings) {
        if (warning.kind != design::Warning::Kind::kFunctionalOnly) continue;
        err << "fdtools: warning: "
            << report::warningText(warning, answers.schema, asIs) << "\n";
      }
      out << file;
      return finish(out, err, 0);
    }
  }
  // Converted, the schema itself is the answer, as with synthesize.
  if (answers.convert && !arguments.json) {
    out << answers.convert->text;
    return finish(out, err, 0);
  }
  if (arguments.json) {
    report::writeJson(out, answers);
  } else if (arguments.format == "latex") {
    report::writeDocument(out, answers, report::DocumentFormat::kLatex);
  } else if (arguments.format == "markdown") {
    report::writeDocument(out, answers, report::DocumentFormat::kMarkdown);
  } else {
    report::writeText(out, answers);
  }
  return finish(out, err, answers.exitStatus());
}

}  // namespace fdtools::cli
