#include "join/TableJoiner.h"

int main(int argc, char* argv[]) {
  fdtools::TableJoiner joiner;
  // The console is the report; scripts rely on status 0 for every outcome.
  joiner.run(argc, argv);
  return 0;
}
