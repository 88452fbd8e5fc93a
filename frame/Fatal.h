// Fatal checks for broken internal invariants. Unlike <cassert> they stay in
// release builds: ordinary input never reaches them, and when something does,
// stopping beats writing a wrong verdict.
#ifndef FRAME_FATAL_H_
#define FRAME_FATAL_H_

namespace fdtools {

// Prints "Assertion failed: <expression>, file <source>, line <line>" to
// standard error, where <source> is the file name without folder and
// extension, and ends the process with status 3.
[[noreturn]] void assertionFailed(const char* expression, const char* file,
                                  int line);

}  // namespace fdtools

#define FD_ASSERT(expression)          \
  ((expression) ? static_cast<void>(0) \
                : ::fdtools::assertionFailed(#expression, __FILE__, __LINE__))

#endif  // FRAME_FATAL_H_
