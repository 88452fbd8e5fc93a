#include "design/InputParser.h"

#include <sstream>

#include "frame/TextUtil.h"

namespace fdtools::design {

bool parseInput(const std::string& text, ParsedInput& input,
                ParseError& error) {
  std::istringstream in(text);
  std::string line;
  int lineNumber = 0;
  bool inTables = true;
  while (readLine(in, line)) {
    ++lineNumber;
    const std::string trimmedLine = trimmed(line);
    if (isEmptyLine(trimmedLine)) {
      if (!inTables) break;
      inTables = false;
      continue;
    }
    if (inTables) {
      input.tables.push_back(split(trimmedLine, ','));
      continue;
    }
    NamedDependency dependency;
    if (!splitDependencyLine(trimmedLine, dependency.left, dependency.right)) {
      error = {lineNumber, line};
      return false;
    }
    input.dependencies.push_back(std::move(dependency));
    input.dependencyLines.push_back(trimmedLine);
  }
  return true;
}

}  // namespace fdtools::design
