// Helpers shared by the fuzz targets: a quiet console, a private scratch
// folder, and the text-mode copy that every output file must start with.
#ifndef FUZZ_FUZZSUPPORT_H_
#define FUZZ_FUZZSUPPORT_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace fdtools {

// Sends the tools' console text nowhere. Every target's LLVMFuzzerInitialize,
// defined once beside it, calls it before the first input.
void silenceConsole();

// A folder of this process's own under the system's temporary folder.
const std::string& scratchFolder();

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// What a text-mode copy of `bytes` looks like on disk: CR LF read as LF,
// reading stops at 0x1A, every LF written as CR LF.
std::string textModeCopy(const std::string& bytes);

// Stops the fuzzer with a finding when `holds` is false.
void require(bool holds, const char* what);

// Runs `Tool` on the bytes as its input file, and checks what every run
// must give: the input untouched, and an output file that is either absent
// or starts with the exact copy of the input. Returns the output file's
// tail after the copy ("" when there is no output file).
template <typename Tool>
std::string runTool(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string inputPath = scratchFolder() + "/input.txt";
  const std::string outputPath = scratchFolder() + "/output.txt";
  writeFile(inputPath, input);
  std::filesystem::remove(outputPath);
  {
    Tool tool;
    const char* const argv[] = {"fuzz", inputPath.c_str(), outputPath.c_str()};
    tool.run(3, argv);
  }
  require(readFile(inputPath) == input, "the input file was changed");
  if (!std::filesystem::exists(outputPath)) return "";
  const std::string output = readFile(outputPath);
  const std::string copy = textModeCopy(input);
  require(output.compare(0, copy.size(), copy) == 0,
          "the output does not start with the copy of the input");
  return output.substr(copy.size());
}

}  // namespace fdtools

#endif  // FUZZ_FUZZSUPPORT_H_
