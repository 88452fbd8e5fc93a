// Names are byte strings; JSON strings are Unicode. A name is written as
// its UTF-8, and each byte of it that is not part of a valid UTF-8
// sequence as the lone surrogate U+DC00 + byte (\udc80 to \udcff), as
// Python's "surrogateescape" does. Valid UTF-8 never holds a surrogate, so
// two different names never share a JSON string, and the bytes come back
// exactly: in Python, s.encode("utf-8", "surrogateescape").
#ifndef REPORT_NAMEENCODING_H_
#define REPORT_NAMEENCODING_H_

#include <cstddef>
#include <string>

namespace fdtools::report {

// The length of the valid UTF-8 sequence at `bytes[at]`, or 0 when the
// byte there does not start one (an ASCII byte is a sequence of 1).
std::size_t utf8SequenceLength(const std::string& bytes, std::size_t at);

bool isValidUtf8(const std::string& bytes);

// Appends `bytes` as a JSON string literal, quotes included: the escapes
// are those of nlohmann-json (\" \\ \b \f \n \r \t, \u00XX for the other
// control characters), plus \udcXX for bytes outside valid UTF-8.
void appendJsonString(std::string& out, const std::string& bytes);

}  // namespace fdtools::report

#endif  // REPORT_NAMEENCODING_H_
