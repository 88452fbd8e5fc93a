// Writes a generated checker input to standard output.
// usage: gen_input ATTRIBUTES DEPENDENCIES TABLES [SEED [CHAIN_TABLES]]
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "tests/support/InputGenerator.h"

int main(int argc, char* argv[]) {
  if (argc < 4 || argc > 6) {
    std::fprintf(stderr,
                 "usage: gen_input ATTRIBUTES DEPENDENCIES TABLES "
                 "[SEED [CHAIN_TABLES]]\n");
    return 2;
  }
  fdtools::InputShape shape;
  shape.attributes = std::atoi(argv[1]);
  shape.dependencies = std::atoi(argv[2]);
  shape.tables = std::atoi(argv[3]);
  if (argc >= 5) shape.seed = std::strtoull(argv[4], nullptr, 10);
  if (argc == 6) shape.chainTables = std::atoi(argv[5]);
  std::cout << fdtools::generateCheckerInput(shape);
  return 0;
}
