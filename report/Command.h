// The commands of fdtools and what one run is asked to do.
#ifndef REPORT_COMMAND_H_
#define REPORT_COMMAND_H_

#include <optional>
#include <string>
#include <vector>

namespace fdtools::report {

enum class Command {
  kReport,
  kClosure,
  kKeys,
  kCover,
  kNormalForms,
  kLossless,
  kPreserve,
  kSynthesize,
  kEquivalent,
  kCheckCover,
  kCheckDecomposition,
  kConvert,
};

struct CommandInfo {
  Command command;
  const char* name;
  const char* summary;
  // The name of a second file argument, or nullptr.
  const char* secondFile = nullptr;
  // Exits 1 when the answer is no, as cmp and diff do.
  bool isCheck = false;
};

// In the order `report` gives them, `report` and `closure` first.
const std::vector<CommandInfo>& commands();
std::optional<Command> commandNamed(const std::string& name);
const char* commandName(Command command);
// The parts `command` consists of: itself, or for `report` all five.
std::vector<Command> reportParts(Command command);

}  // namespace fdtools::report

#endif  // REPORT_COMMAND_H_
