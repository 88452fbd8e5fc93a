// Names are byte strings; JSON needs Unicode. A name that is valid UTF-8 is
// taken as it is; any other is read byte by byte as ISO 8859-2, the code
// page of fdcheck's verdict, so that every name has one fixed spelling.
#ifndef CLI_NAMEENCODING_H_
#define CLI_NAMEENCODING_H_

#include <string>

namespace fdtools::cli {

bool isValidUtf8(const std::string& bytes);

// `bytes` itself when valid UTF-8, else its ISO 8859-2 reading in UTF-8.
std::string toUtf8(const std::string& bytes);

}  // namespace fdtools::cli

#endif  // CLI_NAMEENCODING_H_
