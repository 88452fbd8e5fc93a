#include "design/InputFormat.h"

#include <algorithm>
#include <array>
#include <sstream>

#include "frame/TextUtil.h"

namespace fdtools::design {
namespace {

constexpr char kQuote = '\'';
constexpr char kBackslash = '\\';
constexpr char kSpace = ' ';

bool cutAtArrow(const std::string& line, std::string& left,
                std::string& right) {
  return splitAtFirst(line, "->", left, right);
}

// A name as written, and whether a quoted stretch is still open after it
// (then nothing may follow it on the line: the next comma would be quoted).
struct EncodedName {
  std::string text;
  bool endsQuoted = false;
};

// Writes `name` so that the split gives it back: every comma in it must
// fall inside quotes, which only the name's own quotes can open. A run of
// k backslashes is written as 2k (pairs collapse back to k), except that a
// lone backslash before a quote may be written as one, which escapes the
// quote: the one choice that changes where quotes open and close. The
// choices are made by a search over the two quote states.
std::optional<EncodedName> encodeName(const std::string& name) {
  if (name.find_first_of(std::string("\n\x1a\xff", 3)) != std::string::npos) {
    return std::nullopt;
  }
  // alive[s]: quote state s is reachable here. Per choice, for each state
  // after it, the state before it and whether the quote was escaped; per
  // stretch between choices, whether it flips the state.
  std::array<bool, 2> alive = {true, false};
  std::vector<std::array<std::pair<int, bool>, 2>> back;
  std::vector<int> flips = {0};
  const std::size_t n = name.size();
  for (std::size_t i = 0; i < n;) {
    if (name[i] == kBackslash) {
      std::size_t j = i;
      while (j < n && name[j] == kBackslash) ++j;
      const bool beforeQuote = j < n && name[j] == kQuote;
      if (beforeQuote && j - i == 1) {
        std::array<std::pair<int, bool>, 2> from = {};
        std::array<bool, 2> next = {false, false};
        for (int s = 0; s < 2; ++s) {
          if (!alive[s]) continue;
          // Escaped: the state stays; live: it flips.
          if (!next[s]) from[s] = {s, true};
          if (!next[1 - s]) from[1 - s] = {s, false};
          next[s] = next[1 - s] = true;
        }
        alive = next;
        back.push_back(from);
        flips.push_back(0);
        i = j + 1;
        continue;
      }
      if (beforeQuote) {
        std::swap(alive[0], alive[1]);
        flips.back() ^= 1;
        i = j + 1;
        continue;
      }
      i = j;
      continue;
    }
    if (name[i] == kQuote) {
      std::swap(alive[0], alive[1]);
      flips.back() ^= 1;
    } else if (name[i] == ',') {
      alive[0] = false;
    }
    if (!alive[0] && !alive[1]) return std::nullopt;
    ++i;
  }
  EncodedName result;
  int state = alive[0] ? 0 : 1;
  result.endsQuoted = state == 1;
  std::vector<bool> escaped(back.size());
  for (std::size_t c = back.size(); c-- > 0;) {
    state ^= flips[c + 1];
    escaped[c] = back[c][state].second;
    state = back[c][state].first;
  }
  std::size_t choice = 0;
  for (std::size_t i = 0; i < n;) {
    if (name[i] != kBackslash) {
      result.text += name[i++];
      continue;
    }
    std::size_t j = i;
    while (j < n && name[j] == kBackslash) ++j;
    std::size_t count = 2 * (j - i);
    if (j - i == 1 && j < n && name[j] == kQuote && escaped[choice++]) {
      count = 1;
    }
    result.text.append(count, kBackslash);
    i = j;
  }
  return result;
}

bool endsWithAny(const std::string& text, const char* bytes) {
  return !text.empty() &&
         std::string(bytes).find(text.back()) != std::string::npos;
}

std::vector<std::string> asSet(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

// The names of one side (or a whole table line) in an order that survives
// the split and the trimming: when the line is trimmed before the list, the
// first name must not start with a space; when after it, the last must not
// end with a space or a CR (CR LF reads as LF). A name that leaves a quote
// open must come last. A table is a set, so a name may be written twice.
// Right after the arrow of an FD, the first name must not start with ">"
// (the arrow would read as "->>"). Names come in attribute order, which is
// unsigned byte order.
WrittenLine writeList(const std::vector<std::string>& given, bool trimmedBefore,
                      bool trimmedAfter, bool afterFdArrow = false) {
  const std::vector<std::string> names = asSet(given);
  if (names.empty()) return {std::string(), {}};
  std::vector<EncodedName> encoded;
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::optional<EncodedName> name = encodeName(names[i]);
    if (!name) {
      return {std::nullopt,
              "the name '" + names[i] +
                  "' holds a line break, a byte 0x1A or 0xFF, or a comma "
                  "outside quotes"};
    }
    if (name->endsQuoted) open.push_back(i);
    encoded.push_back(std::move(*name));
  }
  if (open.size() > 1) {
    return {std::nullopt, "the names '" + names[open[0]] + "' and '" +
                              names[open[1]] + "' both leave a quote open"};
  }
  const auto canEnd = [&](std::size_t i) {
    return !trimmedAfter || !endsWithAny(names[i], " \r");
  };
  const auto startsWell = [&](std::size_t i) {
    return (!trimmedBefore || names[i].empty() || names[i][0] != kSpace) &&
           (!afterFdArrow || names[i].empty() || names[i][0] != '>');
  };
  const auto canStart = [&](std::size_t i) {
    return startsWell(i) && !encoded[i].endsQuoted;
  };
  std::optional<std::size_t> first;
  std::optional<std::size_t> last;
  // The names stay in their order (attribute order) when that order can be
  // read back: the last one that can end, the first other one that can
  // start; else any such pair; else one name written both first and last.
  for (std::size_t l = names.size(); l-- > 0 && !first;) {
    if (!canEnd(l) || (!open.empty() && open[0] != l)) continue;
    if (names.size() == 1) {
      // Alone, a name may leave its quote open: nothing follows it.
      if (startsWell(l)) {
        first = last = l;
      }
      continue;
    }
    for (std::size_t f = 0; f < names.size(); ++f) {
      if (f != l && canStart(f)) {
        first = f;
        last = l;
        break;
      }
    }
  }
  for (std::size_t l = names.size(); l-- > 0 && !first;) {
    if (canEnd(l) && canStart(l) && open.empty()) first = last = l;
  }
  if (!first) {
    return {std::nullopt,
            "no order of the names keeps their leading and trailing spaces"};
  }
  std::string line = encoded[*first].text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i == *first || i == *last) continue;
    line += ',';
    line += encoded[i].text;
  }
  if (*last != *first || names.size() > 1) {
    line += ',';
    line += encoded[*last].text;
  }
  // A final empty piece is made by a final comma.
  if (encoded[*last].text.empty()) line += ',';
  return {line, {}};
}

}  // namespace

bool splitDependency(const std::string& line, NamedDependency& dependency) {
  std::string left;
  std::string right;
  if (!cutAtArrow(line, left, right)) return false;
  // "->>" is the multivalued arrow: a name can still start with ">" when it
  // is not the first of the right side.
  const bool multivalued = !right.empty() && right[0] == '>';
  if (multivalued) right.erase(0, 1);
  dependency.left = split(left, ',');
  dependency.right = split(right, ',');
  dependency.multivalued = multivalued;
  return true;
}

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
      input.tablesEnded = true;
      continue;
    }
    if (inTables) {
      input.tables.push_back(split(trimmedLine, ','));
      input.tableLineNumbers.push_back(lineNumber);
      continue;
    }
    NamedDependency dependency;
    if (!splitDependency(trimmedLine, dependency)) {
      error = {lineNumber, line, {}};
      return false;
    }
    input.dependencies.push_back(std::move(dependency));
    input.dependencyLines.push_back(trimmedLine);
    input.dependencyLineNumbers.push_back(lineNumber);
  }
  // What follows the dependency section is ignored, but a dependency there
  // was most likely meant.
  while (readLine(in, line)) {
    ++lineNumber;
    if (line.find("->") != std::string::npos) {
      input.ignoredArrowLines.push_back(lineNumber);
    }
  }
  return true;
}

namespace {

// Lines listed one by one per kind of warning; the rest are counted.
constexpr int kWarningsPerKind = 5;

// Marks of other notations: "->" inside a name, the arrow U+2192, the
// braces of sets, the parentheses of R(A,B) and the "=" of R = AB.
const char* const kMarks[] = {"->", "\xe2\x86\x92", "{", "}", "(", ")", "="};

class WarningList {
 public:
  void add(ReadingWarning warning) {
    int& count = counts[static_cast<int>(warning.kind)];
    if (++count > kWarningsPerKind) {
      ++more;
      return;
    }
    warnings.push_back(std::move(warning));
  }

  std::vector<ReadingWarning> finish() {
    if (more > 0) {
      ReadingWarning rest{ReadingWarning::Kind::kMore, 0, {}, {}};
      rest.count = more;
      warnings.push_back(rest);
    }
    return std::move(warnings);
  }

 private:
  std::vector<ReadingWarning> warnings;
  int counts[8] = {};
  int more = 0;
};

// The first name of `names` with a mark of another notation, and the one
// with a space at either end; at most one of each per line.
void checkNames(const std::vector<std::string>& names, int lineNumber,
                bool arrowAllowed, WarningList& list) {
  bool marked = false;
  bool spaced = false;
  for (const std::string& name : names) {
    for (const char* mark : kMarks) {
      if (marked || (arrowAllowed && std::string(mark) == "->")) continue;
      if (name.find(mark) != std::string::npos) {
        list.add({ReadingWarning::Kind::kNameWithMark, lineNumber, name, mark});
        marked = true;
      }
    }
    if (!spaced && !name.empty() &&
        (name.front() == kSpace || name.back() == kSpace)) {
      list.add({ReadingWarning::Kind::kNameWithSpace, lineNumber, name, {}});
      spaced = true;
    }
  }
}

}  // namespace

std::vector<ReadingWarning> readingWarnings(const ParsedInput& input,
                                            const Schema& schema) {
  WarningList list;
  bool arrowSeen = false;
  // The exercise notation has its own grammar: only the relation among its
  // tables is worth a word there.
  for (std::size_t t = 0; t < input.tables.size() && !input.exercise; ++t) {
    const int lineNumber = input.tableLineNumbers[t];
    bool arrow = false;
    for (const std::string& name : input.tables[t]) {
      arrow = arrow || name.find("->") != std::string::npos;
    }
    if (arrow && !input.tablesEnded) {
      // Once is enough: every later line is read the same way.
      if (!arrowSeen) {
        list.add({ReadingWarning::Kind::kNoEmptyLine, lineNumber, {}, "->"});
      }
    } else if (arrow) {
      list.add({ReadingWarning::Kind::kArrowInTable, lineNumber, {}, "->"});
    }
    arrowSeen = arrowSeen || arrow;
    checkNames(input.tables[t], lineNumber, true, list);
  }
  for (std::size_t d = 0; d < input.dependencies.size() && !input.exercise;
       ++d) {
    const int lineNumber = input.dependencyLineNumbers[d];
    std::vector<std::string> names = input.dependencies[d].left;
    names.insert(names.end(), input.dependencies[d].right.begin(),
                 input.dependencies[d].right.end());
    checkNames(names, lineNumber, false, list);
  }
  for (const int lineNumber : input.ignoredArrowLines) {
    list.add({ReadingWarning::Kind::kIgnoredLine, lineNumber, {}, "->"});
  }
  if (schema.tables().size() > 1) {
    const AttributeSet all = schema.allAttributes();
    for (std::size_t t = 0; t < schema.tables().size(); ++t) {
      if (!(schema.tables()[t] == all)) continue;
      ReadingWarning warning{ReadingWarning::Kind::kTableIsTheRelation,
                             input.tableLineNumbers[t],
                             {},
                             {}};
      warning.table = static_cast<int>(t);
      list.add(std::move(warning));
    }
  }
  return list.finish();
}

std::string notTextReason(const std::string& text) {
  if (text.find('\0') != std::string::npos) {
    return "it holds NUL bytes, so it is UTF-16 or a binary file, not text: "
           "save it as UTF-8 (or ISO 8859-2)";
  }
  std::size_t control = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\n' && c != '\r' && c != '\t') || byte == 0x7F) {
      ++control;
    }
  }
  if (control * 2 > text.size()) {
    return "most of its bytes are control characters, so it is a binary "
           "file, not text";
  }
  return "";
}

WrittenLine writeTableLine(const std::vector<std::string>& names) {
  if (names.empty()) return {std::nullopt, "a table without attributes"};
  WrittenLine written = writeList(names, true, true);
  if (!written.line) return written;
  if (asSet(split(trimmed(*written.line), ',')) != asSet(names)) {
    return {std::nullopt, "the names do not read back as themselves"};
  }
  return written;
}

WrittenLine writeDependencyLine(const std::vector<std::string>& left,
                                const std::vector<std::string>& right,
                                bool multivalued) {
  WrittenLine leftSide = writeList(left, true, false);
  if (!leftSide.line) return leftSide;
  if (leftSide.line->find("->") != std::string::npos) {
    return {std::nullopt, "a name on the left side holds \"->\""};
  }
  WrittenLine rightSide = writeList(right, false, true, !multivalued);
  if (!rightSide.line) return rightSide;
  const std::string line =
      *leftSide.line + (multivalued ? "->>" : "->") + *rightSide.line;
  NamedDependency read;
  if (!splitDependency(trimmed(line), read) ||
      read.multivalued != multivalued || asSet(read.left) != asSet(left) ||
      asSet(read.right) != asSet(right)) {
    return {std::nullopt, "the names do not read back as themselves"};
  }
  return {line, {}};
}

WrittenInput writeInput(const Schema& schema,
                        const std::vector<AttributeSet>& tables,
                        const std::vector<std::string>& dependencyLines) {
  WrittenInput result;
  for (std::size_t t = 0; t < tables.size(); ++t) {
    const WrittenLine line = writeTableLine(schema.namesOf(tables[t]));
    if (!line.line) {
      result.text.clear();
      result.problem = "table " + std::to_string(t) + ": " + line.problem;
      return result;
    }
    result.text += *line.line;
    result.text += '\n';
  }
  result.text += '\n';
  for (const std::string& line : dependencyLines) {
    result.text += line;
    result.text += '\n';
  }
  return result;
}

}  // namespace fdtools::design
