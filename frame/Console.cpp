#include "frame/Console.h"

#include <iostream>

#include "frame/CrlfWriteBuffer.h"

namespace fdtools {

std::ostream& console() {
  // Built on first use, after the standard streams, so it is destroyed (and
  // drains into std::cout) before they are flushed at exit.
  static CrlfWriteBuffer lineEnds(std::cout.rdbuf());
  static std::ostream stream(&lineEnds);
  return stream;
}

}  // namespace fdtools
