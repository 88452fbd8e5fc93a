// The common base of both tools: it owns the in-memory copy of the input,
// from which every parser reads, and the output file, which receives the copy
// of the input followed by the tool's own result.
#ifndef FRAME_TOOLBASE_H_
#define FRAME_TOOLBASE_H_

#include <sstream>
#include <string>

#include "frame/TextInputFile.h"
#include "frame/TextOutputFile.h"

namespace fdtools {

class ToolBase {
 public:
  ToolBase() = default;
  ToolBase(const ToolBase&) = delete;
  ToolBase& operator=(const ToolBase&) = delete;

  // Prints the usage line, resolves the file names from the command line (or
  // from "input"/"output" + `defaultName` when no argument is given), opens
  // both files and copies the whole input into `inputText` and `outputFile`.
  // Returns false after printing why; then the output file has been
  // neither created nor changed, unless the failure was a read or write
  // error during the copy, which leaves an incomplete output file.
  bool openFiles(int argc, const char* const argv[], std::string defaultName);

  // Flushes `outputFile`; false, after printing "Can't write output file!",
  // when something written to it since it was opened did not reach the
  // file.
  bool flushOutput();
  // Ends a run that has appended its result: flushes, then prints "Output
  // written." (without a line break) when the whole file was written.
  // False after printing why not.
  bool finishOutput();

  // The whole input with LF line ends; parsers read it strictly forward.
  std::stringstream inputText{std::ios::in | std::ios::out};
  // Open from a successful `openFiles` until the tool is destroyed, which
  // flushes and closes it.
  TextOutputFile outputFile;

 private:
  // Copies the input into both targets; false after printing a read or
  // write error.
  bool copyInput(TextInputFile& input);
};

}  // namespace fdtools

#endif  // FRAME_TOOLBASE_H_
