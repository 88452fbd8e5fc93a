#include "frame/ToolBase.h"

#include <filesystem>
#include <system_error>

#include "frame/Console.h"
#include "frame/TextUtil.h"

namespace fdtools {
namespace {

// Fills both names from the arguments; false after printing why it cannot.
bool resolveNames(int argc, const char* const argv[],
                  const std::string& defaultName, std::string& inputName,
                  std::string& outputName) {
  if (argc <= 1) {
    inputName = "input" + defaultName;
    outputName = "output" + defaultName;
    return true;
  }
  if (argc == 2) {
    inputName = argv[1];
    outputName = inputName;
    if (!stripPrefix(outputName, "input")) {
      console() << "Can't gues the output file. Input file name should look "
                   "like input***** to gues the output file \n";
      return false;
    }
    outputName = "output" + outputName;
    return true;
  }
  if (argc == 3) {
    inputName = argv[1];
    outputName = argv[2];
    return true;
  }
  console() << "Too many arguments!\n";
  return false;
}

}  // namespace

bool ToolBase::openFiles(int argc, const char* const argv[],
                         std::string defaultName) {
  console() << "Usage: prg [inputfile] [outputfile]\n";
  std::string inputName;
  std::string outputName;
  if (!resolveNames(argc, argv, defaultName, inputName, outputName)) {
    return false;
  }
  console() << "Opening input file: " << inputName << "\n";
  TextInputFile input;
  if (!input.open(inputName)) {
    console() << "Can't open input file!\n";
    return false;
  }
  if (denoteSameFile(inputName, outputName)) {
    console() << "Input and output file are the same!\n";
    return false;
  }
  console() << "Opening output file: " << outputName << "\n";
  if (!outputFile.open(outputName)) {
    console() << "Can't open output file!\n";
    return false;
  }
  inputText.clear();
  return copyInput(input);
}

bool ToolBase::copyInput(TextInputFile& input) {
  // Room for the whole file at once: growing by doubling would hold up to
  // three times the input at its peak.
  std::string room;
  room.reserve(input.sizeHint());
  inputText.str(std::move(room));
  char ch = 0;
  while (input.get(ch)) {
    inputText.put(ch);
    outputFile.put(ch);
  }
  if (input.readFailed()) {
    console() << "Can't read input file!\n";
    return false;
  }
  return flushOutput();
}

bool ToolBase::flushOutput() {
  if (outputFile.flush()) return true;
  console() << "Can't write output file!\n";
  return false;
}

bool ToolBase::finishOutput() {
  if (!flushOutput()) return false;
  console() << "Output written.";
  return true;
}

}  // namespace fdtools
