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

// The reverse, as a reader that knows the convention does it: \udcXX is
// the byte XX, the rest is ordinary JSON.
std::string bytesOf(const std::string& json) {
  std::string plain;
  std::string bytes;
  const auto flush = [&] {
    bytes += nlohmann::json::parse("\"" + plain + "\"").get<std::string>();
    plain.clear();
  };
  for (std::size_t i = 1; i + 1 < json.size(); ++i) {
    if (json.compare(i, 4, "\\udc") == 0) {
      flush();
      bytes += static_cast<char>(std::stoi(json.substr(i + 4, 2), nullptr, 16));
      i += 5;
    } else if (json[i] == '\\') {
      plain += json.substr(i, 2);
      ++i;
    } else {
      plain += json[i];
    }
  }
  flush();
  return bytes;
}

TEST(NameEncoding, Cases) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"A", "\"A\""},
      {"\xc3\xa9", "\"\xc3\xa9\""},
      {"\xe9", "\"\\udce9\""},
      {"Stra\xdf"
       "e",
       "\"Stra\\udcdfe\""},
      // A sequence cut short, an overlong form, a surrogate.
      {"\xe2\x82", "\"\\udce2\\udc82\""},
      {"\xc0\xaf", "\"\\udcc0\\udcaf\""},
      {"\xed\xa0\x80", "\"\\udced\\udca0\\udc80\""},
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
  const std::vector<std::uint32_t> points = {
      'a',  '"',   '\\',  '\n',   0x01,    0x1f,    0x7f,
      0xe9, 0x7ff, 0x800, 0xfffd, 0x10000, 0x10ffff};
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
  const std::string alphabet = "a\\\"\x80\xbf\xc3\xa9\xe9\xed\xf0\xff";
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
