#include <iostream>

#include "cli/Program.h"

int main(int argc, char* argv[]) {
  return fdtools::cli::runProgram(argc, argv, std::cin, std::cout, std::cerr);
}
