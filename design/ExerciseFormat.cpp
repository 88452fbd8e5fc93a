#include "design/ExerciseFormat.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

#include "design/Schema.h"
#include "frame/TextUtil.h"

namespace fdtools::design {
namespace {

const std::string kRightArrow = "\xe2\x86\x92";      // →
const std::string kTwoHeadedArrow = "\xe2\x86\xa0";  // ↠, multivalued
const std::string kEmptySet = "\xe2\x88\x85";        // ∅

struct Token {
  enum class Kind {
    kWord,
    kOpen,
    kClose,
    kBraceOpen,
    kBraceClose,
    kComma,
    kSemicolon,
    kEquals,
    kArrow,
    kEmptySet,
    kOther
  };
  Kind kind;
  std::string text;
  // Whether white space stood right before it.
  bool spaced = false;
};
using Kind = Token::Kind;

bool isWordByte(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         (c >= '0' && c <= '9') || c == '_' || c == '\'' || c >= 0x80;
}

// The line without its comment: from "#" at the start or after a space,
// or from "--" that is not "-->".
std::string withoutComment(const std::string& line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    // Inside a name, as in Property_id#, "#" belongs to the name.
    if (line[i] == '#' &&
        (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
      return line.substr(0, i);
    }
    if (line.compare(i, 2, "--") == 0 && line.compare(i, 3, "-->") != 0) {
      return line.substr(0, i);
    }
  }
  return line;
}

bool startsWith(const std::string& text, std::size_t at,
                const std::string& what) {
  return text.compare(at, what.size(), what) == 0;
}

std::vector<Token> tokenize(const std::string& line) {
  std::vector<Token> tokens;
  bool spaced = false;
  for (std::size_t i = 0; i < line.size();) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c == ' ' || c == '\t' || c == '\r') {
      spaced = true;
      ++i;
      continue;
    }
    Token token{Kind::kOther, std::string(1, line[i]), spaced};
    std::size_t length = 1;
    if (startsWith(line, i, "->>")) {
      token = {Kind::kArrow, "->>", spaced};
      length = 3;
    } else if (startsWith(line, i, kTwoHeadedArrow)) {
      token = {Kind::kArrow, kTwoHeadedArrow, spaced};
      length = kTwoHeadedArrow.size();
    } else if (startsWith(line, i, "->") || startsWith(line, i, "=>")) {
      token = {Kind::kArrow, line.substr(i, 2), spaced};
      length = 2;
    } else if (startsWith(line, i, kRightArrow)) {
      token = {Kind::kArrow, kRightArrow, spaced};
      length = kRightArrow.size();
    } else if (startsWith(line, i, kEmptySet)) {
      token = {Kind::kEmptySet, kEmptySet, spaced};
      length = kEmptySet.size();
    } else if (isWordByte(c)) {
      std::size_t j = i;
      while (
          j < line.size() &&
          (isWordByte(static_cast<unsigned char>(line[j])) || line[j] == '#') &&
          !startsWith(line, j, kRightArrow) &&
          !startsWith(line, j, kTwoHeadedArrow) &&
          !startsWith(line, j, kEmptySet)) {
        ++j;
      }
      token = {Kind::kWord, line.substr(i, j - i), spaced};
      length = j - i;
    } else {
      switch (c) {
        case '(':
          token.kind = Kind::kOpen;
          break;
        case ')':
          token.kind = Kind::kClose;
          break;
        case '{':
          token.kind = Kind::kBraceOpen;
          break;
        case '}':
          token.kind = Kind::kBraceClose;
          break;
        case ',':
          token.kind = Kind::kComma;
          break;
        case ';':
          token.kind = Kind::kSemicolon;
          break;
        case '=':
          token.kind = Kind::kEquals;
          break;
        default:
          break;
      }
    }
    tokens.push_back(std::move(token));
    spaced = false;
    i += length;
  }
  return tokens;
}

bool hasArrow(const std::vector<Token>& tokens, std::size_t from = 0,
              std::size_t to = std::string::npos) {
  to = std::min(to, tokens.size());
  for (std::size_t i = from; i < to; ++i) {
    if (tokens[i].kind == Kind::kArrow) return true;
  }
  return false;
}

// One letter per attribute: each ASCII letter, or each character from
// 0x80, starts a name; digits, "_" and primes after it stay with it.
std::vector<std::string> letters(const std::string& word) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < word.size();) {
    const auto c = static_cast<unsigned char>(word[i]);
    std::size_t length = 1;
    if (c >= 0xC0) {
      while (i + length < word.size() &&
             (static_cast<unsigned char>(word[i + length]) & 0xC0) == 0x80) {
        ++length;
      }
    }
    const bool starts = std::isalpha(c) || c >= 0x80 || names.empty();
    if (starts) {
      names.push_back(word.substr(i, length));
    } else {
      names.back() += word.substr(i, length);
    }
    i += length;
  }
  return names;
}

struct Relation {
  std::string name;
  std::vector<std::string> words;
  // One word, or words separated: what decides letters or words.
  bool separated = false;
  int lineNumber = 0;
};

struct RawDependency {
  std::vector<std::string> left;
  std::vector<std::string> right;
  int lineNumber = 0;
  bool multivalued = false;
};

bool isMultivaluedArrow(const Token& token) {
  return token.text == "->>" || token.text == kTwoHeadedArrow;
}

class Reader {
 public:
  explicit Reader(ParseError& error) : error(error) {}

  bool fail(int lineNumber, const std::string& line, const std::string& why) {
    error = {lineNumber, line, why};
    return false;
  }

  // A relation at `tokens[at]`: Name(list) or Name = list; moves `at` past
  // it. The list of Name = ... without braces ends at the next Name( or
  // Name =.
  bool relation(const std::vector<Token>& tokens, std::size_t& at,
                Relation& result, const std::string& line, int lineNumber) {
    result.name = tokens[at].text;
    result.lineNumber = lineNumber;
    ++at;
    bool parenthesis = tokens[at].kind == Kind::kOpen;
    ++at;
    // R = (A, B, C), as some books write it.
    if (!parenthesis && at < tokens.size() && tokens[at].kind == Kind::kOpen) {
      parenthesis = true;
      ++at;
    }
    bool braced = false;
    if (at < tokens.size() && tokens[at].kind == Kind::kBraceOpen) {
      braced = true;
      ++at;
    }
    int words = 0;
    for (; at < tokens.size(); ++at) {
      const Token& token = tokens[at];
      if (parenthesis && token.kind == Kind::kClose) {
        ++at;
        break;
      }
      if (braced && token.kind == Kind::kBraceClose) {
        ++at;
        if (parenthesis) {
          if (at < tokens.size() && tokens[at].kind == Kind::kClose) ++at;
        }
        break;
      }
      if (!parenthesis && !braced && token.kind == Kind::kWord &&
          at + 1 < tokens.size() &&
          (tokens[at + 1].kind == Kind::kOpen ||
           tokens[at + 1].kind == Kind::kEquals)) {
        break;
      }
      if (token.kind == Kind::kComma) {
        result.separated = true;
        continue;
      }
      if (token.kind != Kind::kWord) {
        return fail(
            lineNumber, line,
            "unexpected \"" + token.text + "\" in the relation " + result.name);
      }
      if (words > 0 && token.spaced) result.separated = true;
      result.words.push_back(token.text);
      ++words;
    }
    return true;
  }

  // The names of one side: its words, braces and "∅" left out.
  std::vector<std::string> side(const std::vector<Token>& tokens,
                                std::size_t from, std::size_t to) {
    std::vector<std::string> words;
    for (std::size_t i = from; i < to; ++i) {
      if (tokens[i].kind == Kind::kWord) words.push_back(tokens[i].text);
    }
    return words;
  }

  // Dependencies from `tokens`; in a set, line ends separate too.
  bool dependencies(const std::vector<Token>& tokens, const std::string& line,
                    int lineNumber) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= tokens.size(); ++i) {
      const bool end = i == tokens.size();
      if (!end && tokens[i].kind != Kind::kComma &&
          tokens[i].kind != Kind::kSemicolon) {
        // Parentheses and "=" belong to relations, never to a dependency.
        if (tokens[i].kind == Kind::kOther || tokens[i].kind == Kind::kOpen ||
            tokens[i].kind == Kind::kClose || tokens[i].kind == Kind::kEquals) {
          return fail(lineNumber, line,
                      "unexpected \"" + tokens[i].text + "\"");
        }
        continue;
      }
      if (!piece(tokens, start, i, line, lineNumber)) return false;
      if (!end && tokens[i].kind == Kind::kSemicolon) open = false;
      start = i + 1;
    }
    return true;
  }

  bool piece(const std::vector<Token>& tokens, std::size_t from, std::size_t to,
             const std::string& line, int lineNumber) {
    std::vector<std::size_t> arrows;
    for (std::size_t i = from; i < to; ++i) {
      if (tokens[i].kind == Kind::kArrow) arrows.push_back(i);
    }
    if (arrows.empty()) {
      std::vector<std::string> words = side(tokens, from, to);
      if (words.empty()) return true;
      if (open && !raw.empty()) {
        raw.back().right.insert(raw.back().right.end(), words.begin(),
                                words.end());
      } else {
        pendingLeft.insert(pendingLeft.end(), words.begin(), words.end());
      }
      return true;
    }
    std::size_t leftFrom = from;
    std::vector<std::string> left = std::move(pendingLeft);
    pendingLeft.clear();
    for (std::size_t k = 0; k < arrows.size(); ++k) {
      const std::vector<std::string> more = side(tokens, leftFrom, arrows[k]);
      left.insert(left.end(), more.begin(), more.end());
      std::size_t rightTo = k + 1 < arrows.size() ? arrows[k + 1] : to;
      std::size_t nextLeft = rightTo;
      if (k + 1 < arrows.size()) {
        // The last word before the next arrow is that arrow's left side.
        std::size_t w = rightTo;
        while (w > arrows[k] + 1 && tokens[w - 1].kind != Kind::kWord) --w;
        if (w <= arrows[k] + 1) {
          return fail(lineNumber, line, "two arrows with no side between");
        }
        nextLeft = w - 1;
        rightTo = nextLeft;
      }
      RawDependency dependency{left, side(tokens, arrows[k] + 1, rightTo),
                               lineNumber,
                               isMultivaluedArrow(tokens[arrows[k]])};
      if (dependency.right.empty() && k + 1 < arrows.size()) {
        return fail(lineNumber, line, "a dependency without a right side");
      }
      raw.push_back(std::move(dependency));
      left.clear();
      leftFrom = nextLeft;
    }
    open = true;
    return true;
  }

  ParseError& error;
  std::vector<Relation> relations;
  std::vector<RawDependency> raw;
  std::vector<std::string> pendingLeft;
  // Whether a piece without an arrow continues the last right side.
  bool open = false;
};

// Name(..., Name = ..., or Name = { with arrows inside: a dependency set.
bool startsRelation(const std::vector<Token>& tokens) {
  return tokens.size() >= 2 && tokens[0].kind == Kind::kWord &&
         (tokens[1].kind == Kind::kOpen || tokens[1].kind == Kind::kEquals);
}

}  // namespace

bool looksLikeExercise(const std::string& text) {
  if (text.find(kRightArrow) != std::string::npos ||
      text.find(kTwoHeadedArrow) != std::string::npos) {
    return true;
  }
  std::istringstream in(text);
  std::string line;
  while (readLine(in, line)) {
    const std::vector<Token> tokens = tokenize(withoutComment(line));
    if (tokens.empty()) continue;
    return startsRelation(tokens);
  }
  return false;
}

bool parseExercise(const std::string& text, LetterMode mode, ParsedInput& input,
                   ParseError& error) {
  Reader reader(error);
  std::istringstream in(text);
  std::string line;
  int lineNumber = 0;
  // Inside Name = { ... } over several lines.
  bool inSet = false;
  while (readLine(in, line)) {
    ++lineNumber;
    std::vector<Token> tokens = tokenize(withoutComment(line));
    // A label before a dependency, as in "FD1: Ssn -> Ename".
    if (!inSet && tokens.size() > 2 && tokens[0].kind == Kind::kWord &&
        tokens[1].text == ":" && hasArrow(tokens)) {
      tokens.erase(tokens.begin(), tokens.begin() + 2);
    }
    if (tokens.empty()) continue;
    if (!inSet && startsRelation(tokens) && tokens[1].kind == Kind::kEquals &&
        tokens.size() >= 3 && tokens[2].kind == Kind::kBraceOpen &&
        (hasArrow(tokens) ||
         std::none_of(tokens.begin(), tokens.end(), [](const Token& t) {
           return t.kind == Kind::kBraceClose;
         }))) {
      tokens.erase(tokens.begin(), tokens.begin() + 3);
      inSet = true;
      reader.open = false;
    }
    if (inSet) {
      // The set ends at a "}" that no "{" of a side opened.
      int depth = 0;
      std::size_t end = tokens.size();
      for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == Kind::kBraceOpen) ++depth;
        if (tokens[i].kind == Kind::kBraceClose && depth-- == 0) {
          end = i;
          break;
        }
      }
      const std::vector<Token> body(tokens.begin(), tokens.begin() + end);
      if (!reader.dependencies(body, line, lineNumber)) return false;
      if (end < tokens.size()) {
        inSet = false;
        if (end + 1 < tokens.size()) {
          return reader.fail(lineNumber, line, "text after the closing \"}\"");
        }
      }
      continue;
    }
    if (startsRelation(tokens) && !hasArrow(tokens)) {
      for (std::size_t at = 0; at < tokens.size();) {
        if (!startsRelation({tokens.begin() + at, tokens.end()})) {
          return reader.fail(lineNumber, line,
                             "expected a relation Name(...) or Name = ...");
        }
        Relation relation;
        if (!reader.relation(tokens, at, relation, line, lineNumber)) {
          return false;
        }
        reader.relations.push_back(std::move(relation));
      }
      continue;
    }
    reader.open = false;
    reader.pendingLeft.clear();
    if (!hasArrow(tokens)) {
      return reader.fail(lineNumber, line,
                         "neither a relation nor a dependency (no arrow)");
    }
    if (!reader.dependencies(tokens, line, lineNumber)) return false;
    if (!reader.pendingLeft.empty()) {
      return reader.fail(lineNumber, line, "names after the last dependency");
    }
  }
  if (inSet) {
    return reader.fail(lineNumber, line,
                       "the set of dependencies is not closed");
  }

  // Letters or words, decided once.
  bool letterNames = mode == LetterMode::kLetters;
  if (mode == LetterMode::kDecide) {
    if (!reader.relations.empty()) {
      const Relation& r = reader.relations.front();
      bool singles = true;
      for (const std::string& word : r.words) {
        singles = singles && letters(word).size() == 1 && word.size() == 1;
      }
      letterNames =
          (!r.separated && r.words.size() == 1) || (r.separated && singles);
    } else {
      letterNames = true;
      for (const RawDependency& d : reader.raw) {
        for (const auto* list : {&d.left, &d.right}) {
          for (const std::string& word : *list) {
            letterNames = letterNames &&
                          std::all_of(word.begin(), word.end(), [](char c) {
                            return c >= 'A' && c <= 'Z';
                          });
          }
        }
      }
    }
  }
  const auto names = [&](const std::vector<std::string>& words) {
    if (!letterNames) return words;
    std::vector<std::string> result;
    for (const std::string& word : words) {
      const std::vector<std::string> more = letters(word);
      result.insert(result.end(), more.begin(), more.end());
    }
    return result;
  };

  input = ParsedInput();
  input.exercise = true;
  input.lettersAsNames = letterNames;
  std::set<std::string> inRelation;
  if (!reader.relations.empty()) {
    input.relationNames = names(reader.relations.front().words);
    inRelation.insert(input.relationNames.begin(), input.relationNames.end());
  }
  const auto check = [&](const std::vector<std::string>& list, int at,
                         const std::string& where) {
    if (reader.relations.empty()) return true;
    for (const std::string& name : list) {
      if (!inRelation.count(name)) {
        error = {at, "",
                 "the attribute " + name + " of " + where + " is not in " +
                     reader.relations.front().name};
        return false;
      }
    }
    return true;
  };
  // The relation alone is its own one table; with others, they are the
  // decomposition.
  const std::size_t first = reader.relations.size() > 1 ? 1 : 0;
  for (std::size_t r = first; r < reader.relations.size(); ++r) {
    const Relation& relation = reader.relations[r];
    input.tables.push_back(names(relation.words));
    if (!check(input.tables.back(), relation.lineNumber, relation.name)) {
      return false;
    }
    input.tableNames.push_back(relation.name);
    input.tableLineNumbers.push_back(relation.lineNumber);
  }
  input.tablesEnded = true;
  for (const RawDependency& raw : reader.raw) {
    NamedDependency dependency{names(raw.left), names(raw.right),
                               raw.multivalued};
    if (!check(dependency.left, raw.lineNumber, "a dependency") ||
        !check(dependency.right, raw.lineNumber, "a dependency")) {
      return false;
    }
    const WrittenLine written = writeDependencyLine(
        dependency.left, dependency.right, dependency.multivalued);
    input.dependencyLines.push_back(written.line.value_or(""));
    input.dependencyLineNumbers.push_back(raw.lineNumber);
    input.dependencies.push_back(std::move(dependency));
  }
  return true;
}

std::string writeExercise(const Schema& schema,
                          const std::vector<std::string>& tableNames,
                          std::string& problem) {
  for (const std::string& name : schema.names()) {
    const bool word =
        !name.empty() &&
        std::all_of(
            name.begin(), name.end(),
            [](char c) { return isWordByte(static_cast<unsigned char>(c)); }) &&
        name.find(kRightArrow) == std::string::npos &&
        name.find(kTwoHeadedArrow) == std::string::npos &&
        name.find(kEmptySet) == std::string::npos;
    if (!word) {
      problem = "the name '" + name +
                "' is not a word (letters, digits, _), so the exercise "
                "notation cannot hold it";
      return "";
    }
  }
  const auto list = [&](const AttributeSet& set) {
    std::string text;
    for (const std::string& name : schema.namesOf(set)) {
      if (!text.empty()) text += ", ";
      text += name;
    }
    return text;
  };
  // One name alone would read as one letter per attribute; a comma after
  // it makes it a list of words.
  const bool lone = schema.attributeCount() == 1 && schema.name(0).size() > 1;
  std::string text =
      "R(" + list(schema.allAttributes()) + (lone ? ",)\n" : ")\n");
  if (schema.tablesGiven()) {
    for (std::size_t t = 0; t < schema.tables().size(); ++t) {
      const std::string name = t < tableNames.size() && !tableNames[t].empty()
                                   ? tableNames[t]
                                   : "R" + std::to_string(t + 1);
      text += name + "(" + list(schema.tables()[t]) + ")\n";
    }
  }
  for (const bool multivalued : {false, true}) {
    const std::string arrow = multivalued ? "->> " : "-> ";
    for (const Dependency& dependency :
         multivalued ? schema.multivalued() : schema.dependencies()) {
      const std::string left = list(dependency.left);
      text += left + (left.empty() ? "" : " ") + arrow +
              list(dependency.right) + "\n";
    }
  }
  return text;
}

}  // namespace fdtools::design
