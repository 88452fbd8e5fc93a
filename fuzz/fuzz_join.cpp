// Runs the whole join tool on arbitrary input bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "join/TableJoiner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace fdtools;
  const std::string tail = runTool<TableJoiner>(data, size);
  require(tail.empty() || tail.rfind("\r\n\r\nresult(", 0) == 0,
          "the output holds more than the copy and a result table");
  return 0;
}
