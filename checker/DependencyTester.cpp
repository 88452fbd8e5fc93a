#include "checker/DependencyTester.h"

namespace fdtools {

int DependencyTester::run(int argc, const char* const argv[]) {
  if (!openFiles(argc, argv, "2n.txt")) return 1;
  return 0;
}

}  // namespace fdtools
