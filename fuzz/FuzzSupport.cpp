#include "fuzz/FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "frame/Console.h"

namespace fdtools {
namespace {

class NullBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type ch) override { return traits_type::not_eof(ch); }
};

}  // namespace

void silenceConsole() {
  static NullBuffer nowhere;
  std::cout.rdbuf(&nowhere);
  console();
}

const std::string& scratchFolder() {
  static const std::string folder = [] {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("fdtools_fuzz_" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path.string();
  }();
  return folder;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string textModeCopy(const std::string& bytes) {
  std::string copy;
  for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\x1A'; ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      continue;
    }
    if (bytes[i] == '\n') copy += '\r';
    copy += bytes[i];
  }
  return copy;
}

void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "property violated: %s\n", what);
  std::abort();
}

}  // namespace fdtools

// libFuzzer calls this once before the first input, in every target.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fdtools::silenceConsole();
  return 0;
}
