// The fdtools command line: arguments, reading the input file, and the text
// or JSON answer on standard output.
#ifndef CLI_PROGRAM_H_
#define CLI_PROGRAM_H_

#include <istream>
#include <ostream>

namespace fdtools::cli {

// One run. Returns the exit status: 0 when the command ran, whatever its
// answers, but 1 when a check (equivalent, check-cover,
// check-decomposition) answers no; 2 after a message on `err` for a usage
// error, an unreadable file, an error of the pipeline (a dependency line
// without "->", a closure attribute that is not in the schema, a table too
// large to decide, a synthesis that cannot be written as an input file), or
// output that cannot be written. FILE "-" reads `in` (std::cin: standard
// input, with its read errors).
int runProgram(int argc, const char* const argv[], std::istream& in,
               std::ostream& out, std::ostream& err);

}  // namespace fdtools::cli

#endif  // CLI_PROGRAM_H_
