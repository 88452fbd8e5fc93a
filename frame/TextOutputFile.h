// An output file stream with text-mode line ends: each LF reaches the file as
// CR LF, on every platform.
#ifndef FRAME_TEXTOUTPUTFILE_H_
#define FRAME_TEXTOUTPUTFILE_H_

#include <fstream>
#include <ostream>
#include <string>

#include "frame/CrlfWriteBuffer.h"

namespace fdtools {

class TextOutputFile : public std::ostream {
 public:
  // No file attached: the stream is bad and insertions do nothing.
  TextOutputFile();
  TextOutputFile(const TextOutputFile&) = delete;
  TextOutputFile& operator=(const TextOutputFile&) = delete;
  // Flushes and closes the file.
  ~TextOutputFile() override;

  // Creates or truncates `name`. Returns false, with the stream left bad,
  // when the file cannot be opened for writing.
  bool open(const std::string& name);

  bool isOpen() const;

 private:
  // Declared before `lineEnds`, which drains into it when destroyed.
  std::filebuf file;
  CrlfWriteBuffer lineEnds;
};

// True when both names reach one existing file: opening the second for
// writing would truncate the first before it is read.
bool denoteSameFile(const std::string& first, const std::string& second);

}  // namespace fdtools

#endif  // FRAME_TEXTOUTPUTFILE_H_
