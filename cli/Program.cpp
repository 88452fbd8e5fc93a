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

std::string helpFooter() {
  std::string footer = "\nCommands:\n";
  for (const CommandInfo& info : commands()) {
    const std::string name = info.name;
    footer +=
        "  " + name + std::string(name.size() < 12 ? 14 - name.size() : 2, ' ');
    footer += info.summary;
    footer += "\n";
  }
  footer +=
      "\nFILE is a checker input file (\"-\" reads standard input). Exit "
      "status: 0 when the command ran, 2 on trouble (usage, unreadable "
      "file, bad dependency line, unknown closure attribute).\n";
  return footer;
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
                 "Stop listing keys after N (default 10000)")
      ->type_name("N")
      ->check(CLI::Range(1, 1 << 30));
  app.require_subcommand(1);
  app.fallthrough();
  app.footer(helpFooter());
  std::vector<std::pair<CLI::App*, Command>> subcommands;
  for (const CommandInfo& info : commands()) {
    CLI::App* sub = app.add_subcommand(info.name, info.summary);
    sub->add_option("FILE", arguments.file, "Input file, - for standard input")
        ->required();
    if (info.command == Command::kClosure) {
      sub->add_option("ATTRIBUTES", arguments.attributes,
                      "Names separated by commas, as on a table line")
          ->required();
    }
    subcommands.emplace_back(sub, info.command);
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
