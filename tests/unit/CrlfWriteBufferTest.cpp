#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>

#include "frame/CrlfWriteBuffer.h"
#include "frame/TextOutputFile.h"

namespace fdtools {
namespace {

std::string throughLineEnds(const std::string& text) {
  std::stringbuf sink;
  {
    CrlfWriteBuffer lineEnds(&sink);
    std::ostream out(&lineEnds);
    out << text;
  }
  return sink.str();
}

TEST(CrlfWriteBuffer, OnlyLineFeedsChange) {
  struct Case {
    std::string written;
    std::string stored;
  };
  const Case cases[] = {
      {"", ""},
      {"a\nb\n", "a\r\nb\r\n"},
      {"\n\n", "\r\n\r\n"},
      {"a\r\nb", "a\r\r\nb"},
      {"lone\rcr", "lone\rcr"},
      {std::string("\0\x1A\xFC\xF5", 4), std::string("\0\x1A\xFC\xF5", 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    EXPECT_EQ(throughLineEnds(c.written), c.stored);
  }
}

TEST(CrlfWriteBuffer, TextLargerThanTheBufferArrivesWhole) {
  std::string written;
  std::string stored;
  for (int i = 0; i < 100000; ++i) {
    written += "line " + std::to_string(i) + "\n";
    stored += "line " + std::to_string(i) + "\r\n";
  }
  EXPECT_EQ(throughLineEnds(written), stored);
}

// A sink that accepts a fixed number of bytes, like a full disk.
class FullSink : public std::streambuf {
 public:
  explicit FullSink(std::size_t room) : room(room) {}

 protected:
  int_type overflow(int_type ch) override {
    if (room == 0) return traits_type::eof();
    --room;
    return traits_type::not_eof(ch);
  }

 private:
  std::size_t room;
};

TEST(CrlfWriteBuffer, ShortWriteFailsTheFlushAndEveryLaterOne) {
  FullSink sink(3);
  CrlfWriteBuffer lineEnds(&sink);
  std::ostream out(&lineEnds);
  out << "ab\n";
  EXPECT_FALSE(out.flush());
  out.clear();
  out << "c";
  EXPECT_FALSE(out.flush());
}

TEST(TextOutputFile, UnopenedFileTakesNothing) {
  TextOutputFile file;
  EXPECT_FALSE(file.isOpen());
  file << "text";
  EXPECT_FALSE(file.good());
}

TEST(TextOutputFile, FullDeviceIsReportedAtFlush) {
  TextOutputFile file;
  ASSERT_TRUE(file.open("/dev/full"));
  file << "text\n";
  EXPECT_FALSE(file.flush());
}

}  // namespace
}  // namespace fdtools
