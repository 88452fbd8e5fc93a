#include "join/TableJoiner.h"

int main(int argc, char* argv[]) {
  fdtools::TableJoiner joiner;
  joiner.run(argc, argv);
  return 0;
}
