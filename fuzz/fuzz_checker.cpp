// Runs the whole checker on arbitrary input bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "checker/DependencyTester.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace fdtools;
  const std::string tail = runTool<DependencyTester>(data, size);
  const std::string verdict = "f\xFCgg\xF5s\xE9g\xF5rz\xF5\r\n";
  require(tail.empty() || tail == "\r\n\r\n" + verdict ||
              tail == "\r\n\r\nnem " + verdict,
          "the output holds more than the copy and a verdict");
  return 0;
}
