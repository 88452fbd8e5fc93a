#include "cli/Program.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/Command.h"
#include "cli/JsonReport.h"
#include "cli/TextReport.h"
#include "design/Audit.h"
#include "design/InputParser.h"
#include "frame/TextInputFile.h"
#include "frame/TextUtil.h"

#ifndef FDTOOLS_VERSION
#define FDTOOLS_VERSION "unknown"
#endif

namespace fdtools::cli {
namespace {

constexpr int kTrouble = 2;

struct Arguments {
  bool json = false;
  int maxKeys = design::kDefaultMaxKeys;
  Command command = Command::kReport;
  std::string file;
  std::string attributes;
};

int fail(std::ostream& err, const std::string& message) {
  err << "fdtools: " << message << "\n";
  return kTrouble;
}

// Reads `name` ("-": `in`) with the checker's text-mode rules. False, with
// `error` set to the reason, when it cannot.
bool readInput(const std::string& name, std::istream& in, std::string& text,
               std::string& error) {
  TextInputFile file;
  if (name == "-") {
    file.attach(in);
  } else {
    errno = 0;
    if (!file.open(name)) {
      std::error_code ignored;
      error = std::filesystem::is_directory(name, ignored)
                  ? std::strerror(EISDIR)
                  : std::strerror(errno != 0 ? errno : ENOENT);
      return false;
    }
  }
  text.reserve(file.sizeHint());
  char ch = 0;
  while (file.get(ch)) text += ch;
  if (file.readFailed()) {
    error = errno != 0 ? std::strerror(errno) : "read error";
    return false;
  }
  return true;
}

const char kHelpFooter[] =
    "FILE is a checker input file; \"-\" reads standard input. Exit status: 0\n"
    "when the command ran, whatever the answers; 2 on trouble: a usage error,\n"
    "an unreadable file, a dependency line without \"->\", or a closure\n"
    "attribute that is not in the schema.";

// The first argument that is neither an option nor an option's value, or
// nullptr. Names a command, when the command line is right.
const char* firstWord(int argc, const char* const argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--max-keys") {
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
  app.add_option("--max-keys", arguments.maxKeys,
                 "Stop listing keys after N, at least 1 (default 10000)")
      ->type_name("N");
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
    if (info.command == Command::kClosure) {
      sub->add_option("ATTRIBUTES", arguments.attributes,
                      "Names separated by commas, as on a table line")
          ->required();
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
    return 0;
  } catch (const CLI::CallForAllHelp&) {
    out << app.help("", CLI::AppFormatMode::All);
    return 0;
  } catch (const CLI::CallForVersion&) {
    out << "fdtools " << FDTOOLS_VERSION << "\n";
    return 0;
  } catch (const CLI::ParseError& error) {
    std::string message = error.what();
    std::replace(message.begin(), message.end(), '\n', ' ');
    return fail(err, message + " (see fdtools --help)");
  }
  if (arguments.maxKeys < 1) {
    return fail(err, "--max-keys: must be at least 1 (see fdtools --help)");
  }
  for (const auto& [sub, command] : subcommands) {
    if (sub->parsed()) arguments.command = command;
  }
  return -1;
}

}  // namespace

int runProgram(int argc, const char* const argv[], std::istream& in,
               std::ostream& out, std::ostream& err) {
  Arguments arguments;
  if (const int status = parseArguments(argc, argv, arguments, out, err);
      status >= 0) {
    return status;
  }
  std::string text;
  std::string reason;
  if (!readInput(arguments.file, in, text, reason)) {
    return fail(err, "cannot read " + arguments.file + ": " + reason);
  }
  design::ParsedInput input;
  design::ParseError parseError;
  if (!design::parseInput(text, input, parseError)) {
    return fail(err, arguments.file + ":" +
                         std::to_string(parseError.lineNumber) +
                         ": no \"->\" in dependency line: " + parseError.line);
  }
  const design::Schema schema(input.tables, input.dependencies);
  design::AttributeSet closureStart(schema.attributeCount());
  if (arguments.command == Command::kClosure) {
    for (const std::string& name : split(trimmed(arguments.attributes), ',')) {
      const int id = schema.idOf(name);
      if (id < 0) return fail(err, "attribute not in the schema: " + name);
      closureStart.insert(id);
    }
  }
  design::Audit audit(schema, arguments.maxKeys);
  if (arguments.json) {
    out << buildJson(audit, arguments.command, closureStart).dump(2) << "\n";
  } else {
    writeText(out, audit, arguments.command, closureStart);
  }
  if (!out.flush()) return fail(err, "cannot write the output");
  return 0;
}

}  // namespace fdtools::cli
