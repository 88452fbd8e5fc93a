#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>
#include <string>

#include "report/NameEncoding.h"

namespace fdtools::report {
namespace {

std::string jsonOf(const std::string& bytes) {
  std::string out;
  appendJsonString(out, bytes);
  return out;
}

// The reverse, as a script does it: any JSON parser, then the bytes.
std::string bytesOf(const std::string& json) {
  return nameFromJson(nlohmann::json::parse(json).get<std::string>());
}

TEST(NameEncoding, Cases) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"A", "\"A\""},
      {"\xc3\xa9", "\"\xc3\xa9\""},
      // The byte E9 alone: U+10FFE9.
      {"\xe9", "\"\xf4\x8f\xbf\xa9\""},
      {"Stra\xdf"
       "e",
       "\"Stra\xf4\x8f\xbf\x9f"
       "e\""},
      // A sequence cut short, an overlong form, a surrogate.
      {"\xe2\x82", "\"\xf4\x8f\xbf\xa2\xf4\x8f\xbe\x82\""},
      {"\xc0\xaf", "\"\xf4\x8f\xbf\x80\xf4\x8f\xbe\xaf\""},
      {"\xed\xa0\x80", "\"\xf4\x8f\xbf\xad\xf4\x8f\xbe\xa0\xf4\x8f\xbe\x80\""},
      // A character of the byte range in a valid name goes byte by byte,
      // else it would read back as the byte it stands for.
      {"\xf4\x8f\xbf\xa9",
       "\"\xf4\x8f\xbf\xb4\xf4\x8f\xbe\x8f\xf4\x8f\xbe"
       "\xbf\xf4\x8f\xbe\xa9\""},
      // Just below the range: an ordinary character.
      {"\xf4\x8f\xbd\xbf", "\"\xf4\x8f\xbd\xbf\""},
      {"a\"b\\c\n\t\x01\x7f", "\"a\\\"b\\\\c\\n\\t\\u0001\x7f\""},
      {"", "\"\""},
  };
  for (const auto& [bytes, json] : cases) {
    EXPECT_EQ(jsonOf(bytes), json);
    EXPECT_EQ(bytesOf(jsonOf(bytes)), bytes) << json;
  }
  EXPECT_TRUE(isValidUtf8("\xf0\x9f\x98\x80"));
  EXPECT_FALSE(isValidUtf8("\xf4\x90\x80\x80"));
}

TEST(NameEncoding, ValidUtf8IsWrittenAsNlohmannWritesIt) {
  std::mt19937 random(3);
  // All below U+10FF80, the range that stands for single bytes.
  const std::vector<std::uint32_t> points = {
      'a',  '"',   '\\',  '\n',   0x01,    0x1f,    0x7f,
      0xe9, 0x7ff, 0x800, 0xfffd, 0x10000, 0x10ff7f};
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int n = random() % 6; n > 0; --n) {
      const std::uint32_t cp = points[random() % points.size()];
      if (cp < 0x80) {
        text += static_cast<char>(cp);
      } else if (cp < 0x800) {
        text += static_cast<char>(0xC0 | cp >> 6);
        text += static_cast<char>(0x80 | (cp & 0x3F));
      } else if (cp < 0x10000) {
        text += static_cast<char>(0xE0 | cp >> 12);
        text += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (cp & 0x3F));
      } else {
        text += static_cast<char>(0xF0 | cp >> 18);
        text += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (cp & 0x3F));
      }
    }
    ASSERT_EQ(jsonOf(text), nlohmann::json(text).dump());
  }
}

TEST(NameEncoding, DifferentBytesNeverShareAString) {
  std::mt19937 random(5);
  const std::string alphabet =
      "a\\\"\x80\xbf\xc3\xa9\xe9\xed\xf0\xff\xf4\x8f\xbe\xbd";
  for (int round = 0; round < 20000; ++round) {
    std::string bytes;
    for (int n = random() % 6; n > 0; --n) {
      bytes += alphabet[random() % alphabet.size()];
    }
    ASSERT_EQ(bytesOf(jsonOf(bytes)), bytes);
  }
}

}  // namespace
}  // namespace fdtools::report
