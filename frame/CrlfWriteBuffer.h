// A stream buffer that writes every LF as CR LF to another stream buffer, so
// that files and the console get DOS line ends on every platform. Other bytes
// pass unchanged.
#ifndef FRAME_CRLFWRITEBUFFER_H_
#define FRAME_CRLFWRITEBUFFER_H_

#include <streambuf>
#include <string>
#include <vector>

namespace fdtools {

class CrlfWriteBuffer : public std::streambuf {
 public:
  // `sink` must outlive this buffer; nullptr makes every write fail.
  explicit CrlfWriteBuffer(std::streambuf* sink = nullptr);
  CrlfWriteBuffer(const CrlfWriteBuffer&) = delete;
  CrlfWriteBuffer& operator=(const CrlfWriteBuffer&) = delete;
  // Hands what is still buffered to the sink.
  ~CrlfWriteBuffer() override;

 protected:
  int_type overflow(int_type ch) override;
  // Drains the buffer and syncs the sink; -1 once any write has been lost.
  int sync() override;

 private:
  // Translates and writes what is buffered. Once a write to the sink falls
  // short, every later drain fails too: the file is no longer complete.
  bool drain();

  std::streambuf* sink;
  std::vector<char> raw;
  std::string translated;
  bool lostData = false;
};

}  // namespace fdtools

#endif  // FRAME_CRLFWRITEBUFFER_H_
