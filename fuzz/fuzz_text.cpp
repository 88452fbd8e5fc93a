// Fuzzes the text utilities against the properties their callers rely on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "frame/TextUtil.h"
#include "fuzz/FuzzSupport.h"

namespace fdtools {
namespace {

void checkSplit(const std::string& text, char separator) {
  std::size_t total = 0;
  const auto pieces = split(text, separator);
  for (const std::string& piece : pieces) {
    require(piece.find('\xFF') == std::string::npos, "0xFF inside a piece");
    require(piece.find("\\\\") == std::string::npos ||
                text.find("\\\\\\") != std::string::npos,
            "an uncollapsed backslash pair");
    total += piece.size();
  }
  require(total + pieces.size() <= text.size() + 1, "pieces longer than text");
  require(text.empty() == pieces.empty(), "empty text must give no pieces");
}

void checkTrimming(const std::string& text) {
  std::string inPlace = text;
  trim(inPlace);
  require(inPlace == trimmed(text), "trim and trimmed differ");
  require(inPlace.empty() || (inPlace.front() != ' ' && inPlace.back() != ' '),
          "trim left a space at an end");
  require(text.find(inPlace) != std::string::npos, "trim changed the inside");
  require(isEmptyLine(text) == inPlace.empty(), "empty-line test disagrees");
  std::string compact = text;
  removeSpaces(compact);
  require(compact.find(' ') == std::string::npos, "removeSpaces left one");
  require(compact.size() + static_cast<std::size_t>(
                               std::count(text.begin(), text.end(), ' ')) ==
              text.size(),
          "removeSpaces removed something else");
}

void checkAffixes(const std::string& text, const std::string& affix) {
  std::string withoutPrefix = text;
  if (stripPrefix(withoutPrefix, affix)) {
    require(affix + withoutPrefix == text, "stripPrefix lost bytes");
  } else {
    require(withoutPrefix == text, "failed stripPrefix changed the text");
  }
  std::string withoutSuffix = text;
  if (stripSuffix(withoutSuffix, affix)) {
    require(withoutSuffix + affix == text, "stripSuffix lost bytes");
  } else {
    require(withoutSuffix == text, "failed stripSuffix changed the text");
  }
}

void checkLines(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  std::string joined;
  while (readLine(in, line)) joined += line + '\n';
  const bool endsWithLineFeed = !text.empty() && text.back() == '\n';
  require(joined == (endsWithLineFeed || text.empty() ? text : text + '\n'),
          "lines do not give back the text");
}

}  // namespace
}  // namespace fdtools

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace fdtools;
  const std::string text(reinterpret_cast<const char*>(data), size);
  checkSplit(text, ',');
  checkSplit(text, ' ');
  checkTrimming(text);
  checkAffixes(text, text.substr(0, text.size() / 3));
  checkAffixes(text, text.substr(text.size() - text.size() / 3));
  checkAffixes(text, "join(");
  checkLines(text);
  return 0;
}
