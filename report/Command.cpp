#include "report/Command.h"

namespace fdtools::report {

const std::vector<CommandInfo>& commands() {
  static const std::vector<CommandInfo> all = {
      {Command::kReport, "report",
       "all of keys, cover, normal-forms, lossless, preserve, in that order"},
      {Command::kClosure, "closure",
       "the closure of ATTRIBUTES (one argument, names split like a table "
       "line)"},
      {Command::kKeys, "keys", "every candidate key, and the prime attributes"},
      {Command::kCover, "cover", "a minimal cover"},
      {Command::kNormalForms, "normal-forms",
       "the normal form of the schema and of each table, with keys, cover "
       "and violations"},
      {Command::kLossless, "lossless",
       "whether the join is lossless, with the final chase tableau"},
      {Command::kPreserve, "preserve",
       "every dependency preserved or lost, with what its left side reaches "
       "pass by pass"},
      {Command::kSynthesize, "synthesize",
       "a decomposition (3NF synthesis, or BCNF or 4NF splits with --bcnf or "
       "--4nf), written as an input file for fdcheck"},
      {Command::kEquivalent, "equivalent",
       "whether the dependency sets of FILE and FILE2 are equivalent", "FILE2",
       true},
      {Command::kCheckCover, "check-cover",
       "whether COVERFILE's dependencies are a minimal cover of FILE's",
       "COVERFILE", true},
      {Command::kCheckDecomposition, "check-decomposition",
       "whether FILE's tables are lossless, dependency-preserving and (with "
       "--3nf, --bcnf or --4nf) in that form",
       nullptr, true},
      {Command::kConvert, "convert",
       "the same schema in the other notation (strict or exercise; --to "
       "chooses)"},
  };
  return all;
}

std::optional<Command> commandNamed(const std::string& name) {
  for (const CommandInfo& info : commands()) {
    if (name == info.name) return info.command;
  }
  return std::nullopt;
}

const char* commandName(Command command) {
  for (const CommandInfo& info : commands()) {
    if (info.command == command) return info.name;
  }
  return "";
}

std::vector<Command> reportParts(Command command) {
  if (command != Command::kReport) return {command};
  return {Command::kKeys, Command::kCover, Command::kNormalForms,
          Command::kLossless, Command::kPreserve};
}

}  // namespace fdtools::report
