// String helpers shared by every parser: line reading, trimming and the
// quote-aware split. A space is always the single byte 0x20; tabs, CR and
// every other byte are ordinary characters here.
#ifndef FRAME_TEXTUTIL_H_
#define FRAME_TEXTUTIL_H_

#include <istream>
#include <string>
#include <vector>

namespace fdtools {

// Reads the next line (without its LF) into `line`. Returns false when the
// stream had nothing left; a final line without LF is still delivered.
bool readLine(std::istream& in, std::string& line);

// True when `line` holds nothing but spaces (or nothing at all): such a line
// ends a section or a table block.
bool isEmptyLine(const std::string& line);

// Removes leading and trailing spaces in place; inner spaces stay.
void trim(std::string& text);

// A trimmed copy; `text` is left unchanged.
std::string trimmed(const std::string& text);

// Removes every space, wherever it stands.
void removeSpaces(std::string& text);

// Removes `prefix` from the front of `text` and returns true, or returns
// false and leaves `text` unchanged. Case-sensitive.
bool stripPrefix(std::string& text, const std::string& prefix);

// Removes `suffix` from the end of `text` and returns true, or returns false
// and leaves `text` unchanged. Case-sensitive.
bool stripSuffix(std::string& text, const std::string& suffix);

// Cuts `text` at every `separator` that stands outside single quotes, and at
// every byte 0xFF (quoted or not). Boundaries belong to no piece; pieces are
// not trimmed; a trailing boundary opens no empty piece, so empty text gives
// no pieces. Within a piece each pair of backslashes becomes one backslash.
// A quote directly after a single backslash is escaped and does not open or
// close a quoted stretch; after two backslashes it does.
std::vector<std::string> split(const std::string& text, char separator);

// Cuts `text` at the first occurrence of `mark`: what comes before it into
// `before`, what follows it into `after`. Returns false, leaving both
// unchanged, when `text` does not hold `mark`.
bool splitAtFirst(const std::string& text, const std::string& mark,
                  std::string& before, std::string& after);

}  // namespace fdtools

#endif  // FRAME_TEXTUTIL_H_
