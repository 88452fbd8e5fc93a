// Reads a file byte by byte with text-mode rules, the same on every platform:
// CR LF is read as LF, a lone CR stays, and a byte 0x1A ends the input.
#ifndef FRAME_TEXTINPUTFILE_H_
#define FRAME_TEXTINPUTFILE_H_

#include <cstddef>
#include <fstream>
#include <istream>
#include <string>

namespace fdtools {

class TextInputFile {
 public:
  // Returns false when `name` cannot be opened for reading, or names a
  // directory (which some systems open but cannot read).
  bool open(const std::string& name);
  // Reads from `stream` instead of a named file, with the same rules; the
  // stream must outlive this object. For standard input.
  void attach(std::istream& stream);
  // Reads standard input. Its read errors (a directory, an unreadable
  // device) reach std::cin as a plain end of input, so they are taken from
  // the C stream beneath it.
  void attachStandardInput();

  // Delivers the next character; false at the end of the input, at a byte
  // 0x1A, or after a read error.
  bool get(char& ch);

  // The file's size in bytes when it is known up front, else 0; the text
  // read may be shorter (CR LF pairs, a byte 0x1A).
  std::size_t sizeHint() const;

  // True once reading has failed for another reason than the end of the
  // file: the input seen so far is not the whole input.
  bool readFailed() const;

 private:
  std::ifstream file;
  std::istream* source = &file;
  std::size_t size = 0;
  bool ended = false;
  bool standardInput = false;
};

// What readAll takes at most: far more than any schema a person writes,
// and a bound for an endless device such as /dev/zero.
constexpr std::size_t kMaxTextBytes = std::size_t{64} << 20;

// Reads the whole of `file` (opened or attached) into `text`. False, with
// `error` set to the reason, after a read error or past `limit` bytes.
bool readAll(TextInputFile& file, std::string& text, std::string& error,
             std::size_t limit = kMaxTextBytes);

// Opens `name` and reads the whole of it. False, with `error` set to the
// reason (no such file, a directory, a read error), when it cannot.
bool readTextFile(const std::string& name, std::string& text,
                  std::string& error);

}  // namespace fdtools

#endif  // FRAME_TEXTINPUTFILE_H_
