#include "frame/TextUtil.h"

#include <algorithm>
#include <cstddef>

namespace fdtools {
namespace {

constexpr char kSpace = ' ';
constexpr char kQuote = '\'';
constexpr char kBackslash = '\\';
constexpr unsigned char kAlwaysBoundary = 0xFF;

bool isEscapedQuote(const std::string& text, std::size_t pos) {
  if (pos == 0 || text[pos - 1] != kBackslash) return false;
  // "\\'" is an escaped backslash followed by a live quote.
  return pos < 2 || text[pos - 2] != kBackslash;
}

bool isBoundary(char c, char separator, bool quoted) {
  return static_cast<unsigned char>(c) == kAlwaysBoundary ||
         (!quoted && c == separator);
}

// Pairs are taken left to right, so three backslashes become two and four
// become two.
std::string collapseBackslashPairs(const std::string& piece) {
  std::string result;
  result.reserve(piece.size());
  for (std::size_t i = 0; i < piece.size(); ++i) {
    result += piece[i];
    if (piece[i] == kBackslash && i + 1 < piece.size() &&
        piece[i + 1] == kBackslash) {
      ++i;
    }
  }
  return result;
}

}  // namespace

bool readLine(std::istream& in, std::string& line) {
  return static_cast<bool>(std::getline(in, line));
}

bool isEmptyLine(const std::string& line) {
  return line.find_first_not_of(kSpace) == std::string::npos;
}

void trim(std::string& text) {
  const std::size_t first = text.find_first_not_of(kSpace);
  if (first == std::string::npos) {
    text.clear();
    return;
  }
  text.erase(text.find_last_not_of(kSpace) + 1);
  text.erase(0, first);
}

std::string trimmed(const std::string& text) {
  std::string copy = text;
  trim(copy);
  return copy;
}

void removeSpaces(std::string& text) {
  text.erase(std::remove(text.begin(), text.end(), kSpace), text.end());
}

bool stripPrefix(std::string& text, const std::string& prefix) {
  if (text.compare(0, prefix.size(), prefix) != 0) return false;
  text.erase(0, prefix.size());
  return true;
}

bool stripSuffix(std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size() ||
      text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return false;
  }
  text.erase(text.size() - suffix.size());
  return true;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> pieces;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == kQuote && !isEscapedQuote(text, i)) quoted = !quoted;
    if (isBoundary(text[i], separator, quoted)) {
      pieces.push_back(collapseBackslashPairs(text.substr(start, i - start)));
      start = i + 1;
    }
  }
  if (start < text.size()) {
    pieces.push_back(collapseBackslashPairs(text.substr(start)));
  }
  return pieces;
}

bool splitAtFirst(const std::string& text, const std::string& mark,
                  std::string& before, std::string& after) {
  const std::size_t at = text.find(mark);
  if (at == std::string::npos) return false;
  before = text.substr(0, at);
  after = text.substr(at + mark.size());
  return true;
}

}  // namespace fdtools
