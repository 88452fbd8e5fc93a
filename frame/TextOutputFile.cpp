#include "frame/TextOutputFile.h"

#include <filesystem>
#include <system_error>

namespace fdtools {

TextOutputFile::TextOutputFile() : std::ostream(nullptr), lineEnds(&file) {}

TextOutputFile::~TextOutputFile() { flush(); }

bool TextOutputFile::open(const std::string& name) {
  // `lineEnds` already buffers; an unbuffered file makes a failed write show
  // up at the flush that caused it.
  file.pubsetbuf(nullptr, 0);
  if (file.open(name, std::ios::out | std::ios::trunc | std::ios::binary) ==
      nullptr) {
    setstate(std::ios::badbit);
    return false;
  }
  rdbuf(&lineEnds);
  return true;
}

bool TextOutputFile::isOpen() const { return file.is_open(); }

bool denoteSameFile(const std::string& first, const std::string& second) {
  std::error_code error;
  return std::filesystem::equivalent(first, second, error) && !error;
}

}  // namespace fdtools
