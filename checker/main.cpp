#include "checker/DependencyTester.h"

int main(int argc, char* argv[]) {
  fdtools::DependencyTester tester;
  // The console is the report; scripts rely on status 0 for every outcome.
  tester.run(argc, argv);
  return 0;
}
