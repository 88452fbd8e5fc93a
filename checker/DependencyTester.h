// The dependency-preservation checker: reads a decomposition into tables and
// a set of functional dependencies, and decides for each dependency whether
// the tables preserve it.
#ifndef CHECKER_DEPENDENCYTESTER_H_
#define CHECKER_DEPENDENCYTESTER_H_

#include "frame/ToolBase.h"

namespace fdtools {

class DependencyTester : public ToolBase {
 public:
  // One whole run; returns 0 on success and 1 when the files could not be
  // set up. Everything the user needs to know is printed on the console.
  int run(int argc, const char* const argv[]);
};

}  // namespace fdtools

#endif  // CHECKER_DEPENDENCYTESTER_H_
