#include "checker/DependencyTester.h"

int main(int argc, char* argv[]) {
  fdtools::DependencyTester tester;
  tester.run(argc, argv);
  return 0;
}
