// The tools' console: standard output with text-mode line ends, so that every
// "\n" a tool prints reaches stdout as CR LF. It buffers and is drained at
// exit (or by an explicit flush), not once per line.
#ifndef FRAME_CONSOLE_H_
#define FRAME_CONSOLE_H_

#include <ostream>

namespace fdtools {

std::ostream& console();

}  // namespace fdtools

#endif  // FRAME_CONSOLE_H_
