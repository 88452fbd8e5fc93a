// Runs every fdtools command, as text and as JSON (those with steps also
// with --steps and as a LaTeX document), on arbitrary input
// bytes read from standard input, and checks what every run must give: a
// status of 0 or 2 (or 1 from a check), and then either an answer (JSON
// that parses, with its version) and nothing on standard error, or nothing
// on standard output and one message starting "fdtools: ". A command that
// compares two files gets the bytes as the first and a fixed file as the
// second.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Program.h"
#include "fuzz/FuzzSupport.h"
#include "report/Command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace fdtools;
  const std::string input(reinterpret_cast<const char*>(data), size);
  static const std::string second = [] {
    const std::string path = scratchFolder() + "/second.txt";
    writeFile(path, "A,B\n\nA->B\nB->C\n");
    return path;
  }();
  for (const report::CommandInfo& info : report::commands()) {
    // Every input through the exercise reader too, not only those that
    // look like exercises: twice more for a few commands.
    const bool both = info.command == report::Command::kKeys ||
                      info.command == report::Command::kConvert;
    // And with the steps: as JSON (4) and as a LaTeX document (5).
    const bool steps = info.command == report::Command::kReport ||
                       info.command == report::Command::kSynthesize ||
                       info.command == report::Command::kClosure;
    for (const int variant : {0, 1, 2, 3, 4, 5}) {
      const bool json = variant % 2 == 1 && variant != 5;
      if (variant >= 2 && variant < 4 && !both) continue;
      if (variant >= 4 && !steps) continue;
      std::vector<const char*> argv = {"fdtools"};
      if (variant >= 2) {
        argv.push_back("--notation");
        argv.push_back("exercise");
      }
      if (json) argv.push_back("--json");
      if (variant >= 4) argv.push_back("--steps");
      if (variant == 5) {
        argv.push_back("--format");
        argv.push_back("latex");
      }
      argv.push_back(info.name);
      argv.push_back("-");
      if (info.command == report::Command::kClosure) argv.push_back("A,B");
      if (info.secondFile != nullptr) argv.push_back(second.c_str());
      std::istringstream in(input);
      std::ostringstream out;
      std::ostringstream err;
      const int status = cli::runProgram(static_cast<int>(argv.size()),
                                         argv.data(), in, out, err);
      require(status == 0 || status == 2 || (status == 1 && info.isCheck),
              "exit status other than 0 or 2, or 1 from a check");
      if (status == 2) {
        require(out.str().empty(), "output after an error");
        require(err.str().rfind("fdtools: ", 0) == 0 &&
                    err.str().find('\n') == err.str().size() - 1,
                "error is not one line starting \"fdtools: \"");
        continue;
      }
      // Only warnings may accompany an answer: lines "fdtools: warning: ".
      std::istringstream lines(err.str());
      for (std::string line; std::getline(lines, line);) {
        require(line.rfind("fdtools: warning: ", 0) == 0,
                "standard error after a successful run, not a warning");
      }
      if (json) {
        const auto parsed = nlohmann::json::parse(out.str(), nullptr, false);
        require(!parsed.is_discarded(), "the JSON does not parse");
        require(parsed.value("version", 0) == 1, "no version 1 in the JSON");
      }
    }
  }
  return 0;
}
