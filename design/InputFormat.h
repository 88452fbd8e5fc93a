// The input format shared with fdcheck, read and written. A table section,
// one table per line, then a dependency section, one "left->right" line per
// dependency. Each section ends at a line that is empty after trimming
// spaces, or at the end of the text; what follows the second section is
// ignored. The text has already been read in text mode (CR LF as LF, a
// byte 0x1A ends it).
//
// A line is trimmed of spaces (0x20 only) at both ends. A table line is
// cut into names at every comma outside single quotes and at every byte
// 0xFF; quotes stay part of the name; within a name each pair of
// backslashes stands for one backslash, and a quote right after a single
// backslash neither opens nor closes a quoted stretch. A dependency line
// is cut at its first "->", each side like a table line; when the right
// side then starts with ">", the line is a multivalued dependency X ->> Y.
//
// The writer is the reader's inverse: what it writes reads back as the same
// names, or it says it cannot write them.
#ifndef DESIGN_INPUTFORMAT_H_
#define DESIGN_INPUTFORMAT_H_

#include <optional>
#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Schema.h"

namespace fdtools::design {

struct ParsedInput {
  std::vector<std::vector<std::string>> tables;
  std::vector<NamedDependency> dependencies;
  // Each dependency line as read, trimmed: to write the dependencies back
  // exactly as given.
  std::vector<std::string> dependencyLines;
  // Where each table and dependency stood (lines from 1), whether an empty
  // line ended the table section, and the lines after the dependency
  // section, which are ignored, that hold "->": for the reading warnings.
  std::vector<int> tableLineNumbers;
  std::vector<int> dependencyLineNumbers;
  bool tablesEnded = false;
  std::vector<int> ignoredArrowLines;
  // Read in the exercise notation: the tables' own names (R1, R2, ...),
  // the attributes of the relation itself, and whether each letter was
  // read as one attribute.
  bool exercise = false;
  std::vector<std::string> tableNames;
  std::vector<std::string> relationNames;
  bool lettersAsNames = false;
};

// What in an input that reads without error is most likely a misreading:
// the notation of a textbook, a forgotten empty line, the relation itself
// among its tables. Each names its line.
struct ReadingWarning {
  enum class Kind {
    // "->" in the table section, which no empty line ends: every line is
    // a table and there are no dependencies.
    kNoEmptyLine,
    // "->" in a table line before the empty line.
    kArrowInTable,
    // `name` holds `mark`: "->", "→", a brace, a parenthesis or "=".
    kNameWithMark,
    // `name` starts or ends with a space.
    kNameWithSpace,
    // A line after the dependency section holds "->".
    kIgnoredLine,
    // Table `table` holds every attribute beside other tables.
    kTableIsTheRelation,
    // `count` more of the kinds above, not listed one by one.
    kMore,
  };
  Kind kind;
  int lineNumber = 0;
  std::string name;
  std::string mark;
  int table = -1;
  int count = 0;
};

// The warnings for `input`, read into `schema`, a few lines of each kind at
// most, in line order within each kind.
std::vector<ReadingWarning> readingWarnings(const ParsedInput& input,
                                            const Schema& schema);

// Why `text` cannot be an input at all, or "": NUL bytes (UTF-16, or a
// binary file) or mostly control bytes.
std::string notTextReason(const std::string& text);

struct ParseError {
  // 1-based.
  int lineNumber = 0;
  // The line as read, before trimming.
  std::string line;
  // What is wrong, when it is more than a missing "->".
  std::string message;
};

// Returns false, with `error` filled, at the first dependency line without
// "->"; `input` then holds what came before it.
bool parseInput(const std::string& text, ParsedInput& input, ParseError& error);

// Cuts a dependency line (trimmed) into the names of its two sides and its
// kind; false, leaving it unchanged, when it has no "->".
bool splitDependency(const std::string& line, NamedDependency& dependency);

// A line of the table section that reads back as exactly the set `names`
// (in any order, since a table is a set), or the reason none can: a name
// holding a line break, a byte 0x1A or 0xFF, or names whose quotes or
// spaces leave no order that survives the split and the trimming.
struct WrittenLine {
  std::optional<std::string> line;
  std::string problem;
};
WrittenLine writeTableLine(const std::vector<std::string>& names);

// A dependency line that reads back as `left -> right` (each a set), or
// as `left ->> right`.
WrittenLine writeDependencyLine(const std::vector<std::string>& left,
                                const std::vector<std::string>& right,
                                bool multivalued = false);

// A whole input: each table of `tables` (sets over `schema`), an empty
// line, then `dependencyLines` as they are. Empty `problem` on success.
struct WrittenInput {
  std::string text;
  std::string problem;
};
WrittenInput writeInput(const Schema& schema,
                        const std::vector<AttributeSet>& tables,
                        const std::vector<std::string>& dependencyLines);

}  // namespace fdtools::design

#endif  // DESIGN_INPUTFORMAT_H_
