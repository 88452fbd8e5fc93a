// Reads the checker's input format into names: a table section, one table
// per line with names separated by commas, then a dependency section, one
// "left->right" line per dependency. Each section ends at a line that is
// empty after trimming spaces, or at the end of the text; what follows the
// second section is ignored. The text has already been read in text mode.
#ifndef DESIGN_INPUTPARSER_H_
#define DESIGN_INPUTPARSER_H_

#include <string>
#include <vector>

#include "design/Schema.h"

namespace fdtools::design {

struct ParsedInput {
  std::vector<std::vector<std::string>> tables;
  std::vector<NamedDependency> dependencies;
  // Each dependency line as read, trimmed: to write the dependencies back
  // exactly as given.
  std::vector<std::string> dependencyLines;
};

struct ParseError {
  // 1-based.
  int lineNumber = 0;
  // The line as read, before trimming.
  std::string line;
};

// Returns false, with `error` filled, at the first dependency line without
// "->"; `input` then holds what came before it.
bool parseInput(const std::string& text, ParsedInput& input, ParseError& error);

}  // namespace fdtools::design

#endif  // DESIGN_INPUTPARSER_H_
