// Names are byte strings; JSON strings are Unicode. A name is written as
// its UTF-8, and each byte of it that is not part of a valid UTF-8 sequence
// (0x80 to 0xFF) as the private-use character U+10FF00 + byte (U+10FF80 to
// U+10FFFF). So that two different names never share a string, a character
// of that range in a valid name is written the same way, byte by byte. The
// bytes come back by reading each character of that range as its low byte
// and every other character as its UTF-8. Every JSON parser reads the
// result: it is valid UTF-8 without escapes beyond JSON's own.
#ifndef REPORT_NAMEENCODING_H_
#define REPORT_NAMEENCODING_H_

#include <cstddef>
#include <string>

namespace fdtools::report {

// The length of the valid UTF-8 sequence at `bytes[at]`, or 0 when the
// byte there does not start one (an ASCII byte is a sequence of 1).
std::size_t utf8SequenceLength(const std::string& bytes, std::size_t at);

bool isValidUtf8(const std::string& bytes);

// The first character of the range that stands for single bytes.
constexpr unsigned kByteCharacterBase = 0x10FF00;

// Appends `bytes` as a JSON string literal, quotes included, with the
// escapes of nlohmann-json (\" \\ \b \f \n \r \t, \u00XX for the other
// control characters).
void appendJsonString(std::string& out, const std::string& bytes);

// The bytes of a name from the UTF-8 of its JSON string: the reverse.
std::string nameFromJson(const std::string& utf8);
void appendJsonString(std::string& out, const std::string& bytes);

}  // namespace fdtools::report

#endif  // REPORT_NAMEENCODING_H_
