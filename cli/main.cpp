#include <iostream>

#include "cli/Program.h"

int main(int argc, char* argv[]) {
  std::ios::sync_with_stdio(false);
  return fdtools::cli::runProgram(argc, argv, std::cin, std::cout, std::cerr);
}
