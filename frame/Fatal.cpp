#include "frame/Fatal.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame/Console.h"

namespace fdtools {
namespace {

constexpr int kAssertionExitStatus = 3;

std::string sourceName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return name.substr(0, name.find('.'));
}

}  // namespace

void assertionFailed(const char* expression, const char* file, int line) {
  // What the tool printed so far belongs before the failure report.
  console().flush();
  std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression,
               sourceName(file).c_str(), line);
  std::fflush(stderr);
  std::exit(kAssertionExitStatus);
}

}  // namespace fdtools
