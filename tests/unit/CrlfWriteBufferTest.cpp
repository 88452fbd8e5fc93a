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

// A sink that accepts a set number of bytes, like a full disk, and more
// once room is made.
class FullSink : public std::streambuf {
 public:
  explicit FullSink(std::size_t room) : room(room) {}
  void makeRoom(std::size_t bytes) { room += bytes; }
  std::size_t taken = 0;

 protected:
  int_type overflow(int_type ch) override {
    if (room == 0) return traits_type::eof();
    --room;
    ++taken;
    return traits_type::not_eof(ch);
  }

 private:
  std::size_t room;
};

// Once a byte is lost the file is incomplete for good: later flushes fail
// even when the sink has room again.
TEST(CrlfWriteBuffer, ShortWriteFailsTheFlushAndEveryLaterOne) {
  FullSink sink(3);
  CrlfWriteBuffer lineEnds(&sink);
  std::ostream out(&lineEnds);
  out << "ab\n";
  EXPECT_FALSE(out.flush());
  sink.makeRoom(100);
  out.clear();
  out << "c";
  EXPECT_FALSE(out.flush());
}

TEST(CrlfWriteBuffer, FlushSucceedsWhenEverythingFits) {
  FullSink sink(4);
  CrlfWriteBuffer lineEnds(&sink);
  std::ostream out(&lineEnds);
  out << "ab\n";
  EXPECT_TRUE(out.flush());
  EXPECT_EQ(sink.taken, 4u);
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
