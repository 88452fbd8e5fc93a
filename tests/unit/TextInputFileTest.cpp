#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/TextInputFile.h"

namespace fdtools {
namespace {

std::string readThrough(const std::string& bytes) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("fdtools_input_" +
       std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       ".txt");
  std::ofstream(path, std::ios::binary) << bytes;
  TextInputFile input;
  std::string text;
  if (input.open(path.string())) {
    char ch = 0;
    while (input.get(ch)) text += ch;
  }
  std::filesystem::remove(path);
  return text;
}

TEST(TextInputFile, TextModeReading) {
  struct Case {
    std::string bytes;
    std::string read;
  };
  const Case cases[] = {
      {"", ""},
      {"a\r\nb\r\n", "a\nb\n"},
      {"a\nb", "a\nb"},
      {"lone\rcr\r", "lone\rcr\r"},
      {"cr\r\r\n", "cr\r\n"},
      {"a\x1A"
       "b\nc",
       "a"},
      {"\x1A", ""},
      {"cr\r\x1A\n", "cr\r"},
      {std::string("nul\0byte\xFF\x80", 10),
       std::string("nul\0byte\xFF\x80", 10)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(readThrough(c.bytes), c.read);
  }
}

TEST(TextInputFile, MissingFileOrDirectoryDoesNotOpen) {
  for (const char* name : {"/nonexistent/fdtools/input.txt", "", "/tmp", "."}) {
    TextInputFile input;
    EXPECT_FALSE(input.open(name)) << name;
  }
}

TEST(TextInputFile, ReadErrorIsNotTheEndOfTheFile) {
  // Offset 0 of a process's memory is never mapped: the first read fails.
  TextInputFile failing;
  ASSERT_TRUE(failing.open("/proc/self/mem"));
  char ch = 0;
  EXPECT_FALSE(failing.get(ch));
  EXPECT_TRUE(failing.readFailed());

  TextInputFile empty;
  ASSERT_TRUE(empty.open("/dev/null"));
  EXPECT_FALSE(empty.get(ch));
  EXPECT_FALSE(empty.readFailed());
}

TEST(TextInputFile, ReadAllStopsAtItsLimit) {
  struct Case {
    std::string bytes;
    std::size_t limit;
    bool read;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"A,B\r\n\nA->B\n", 10, true, "A,B\n\nA->B\n"},
      // The limit counts what is read, after CR LF and before 0x1A.
      {"A,B\r\n\nA->B\n\x1a and more", 10, true, "A,B\n\nA->B\n"},
      {"A,B\n\nA->B\nB->C\n", 10, false, ""},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.bytes);
    TextInputFile input;
    input.attach(in);
    std::string text;
    std::string error;
    EXPECT_EQ(readAll(input, text, error, c.limit), c.read) << c.bytes;
    if (c.read) {
      EXPECT_EQ(text, c.text);
    } else {
      EXPECT_EQ(error, "larger than 10 bytes");
    }
  }
}

}  // namespace
}  // namespace fdtools
