#include "frame/TextInputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace fdtools {
namespace {

constexpr std::ifstream::int_type kEndOfFileMark = 0x1A;

}  // namespace

bool TextInputFile::open(const std::string& name) {
  std::error_code error;
  if (std::filesystem::is_directory(name, error)) return false;
  file.open(name, std::ios::in | std::ios::binary);
  if (std::filesystem::is_regular_file(name, error)) {
    const auto bytes = std::filesystem::file_size(name, error);
    if (!error) size = static_cast<std::size_t>(bytes);
  }
  return file.good();
}

void TextInputFile::attach(std::istream& stream) { source = &stream; }

void TextInputFile::attachStandardInput() {
  source = &std::cin;
  standardInput = true;
}

std::size_t TextInputFile::sizeHint() const { return size; }

bool TextInputFile::readFailed() const {
  return source->bad() || (standardInput && std::ferror(stdin) != 0);
}

bool TextInputFile::get(char& ch) {
  if (ended) return false;
  const auto byte = source->get();
  if (byte == std::ifstream::traits_type::eof() || byte == kEndOfFileMark) {
    ended = true;
    return false;
  }
  if (byte == '\r' && source->peek() == '\n') {
    source->get();
    ch = '\n';
    return true;
  }
  ch = static_cast<char>(byte);
  return true;
}

bool readAll(TextInputFile& file, std::string& text, std::string& error,
             std::size_t limit) {
  errno = 0;
  text.reserve(std::min(file.sizeHint(), limit));
  char ch = 0;
  while (file.get(ch)) {
    if (text.size() == limit) {
      error = "larger than " +
              (limit >= (std::size_t{1} << 20)
                   ? std::to_string(limit >> 20) + " MiB"
                   : std::to_string(limit) + " bytes");
      return false;
    }
    text += ch;
  }
  if (!file.readFailed()) return true;
  error = errno != 0 ? std::strerror(errno) : "read error";
  return false;
}

bool readTextFile(const std::string& name, std::string& text,
                  std::string& error) {
  TextInputFile file;
  errno = 0;
  if (!file.open(name)) {
    std::error_code ignored;
    error = std::filesystem::is_directory(name, ignored)
                ? std::strerror(EISDIR)
                : std::strerror(errno != 0 ? errno : ENOENT);
    return false;
  }
  return readAll(file, text, error);
}

}  // namespace fdtools
