// The dependency-preservation checker: reads a decomposition into tables and
// a set of functional dependencies, and decides for each dependency whether
// the tables preserve it.
//
// Input: a table section, one table per line (column names separated by
// ","), then a dependency section, one "left->right" line per dependency.
// Each section ends at a line that is empty after trimming, or at the end of
// the input.
#ifndef CHECKER_DEPENDENCYTESTER_H_
#define CHECKER_DEPENDENCYTESTER_H_

#include <array>
#include <string>
#include <vector>

#include "frame/ToolBase.h"

namespace fdtools {

class DependencyTester : public ToolBase {
 public:
  using NameList = std::vector<std::string>;
  // Attribute ids in ascending order; repetitions are kept.
  using IdList = std::vector<int>;
  // Element kLeft is the left side, element kRight the right side.
  using NameDependency = std::array<NameList, 2>;
  using IdDependency = std::array<IdList, 2>;
  static constexpr int kLeft = 0;
  static constexpr int kRight = 1;
  static constexpr int kTableSection = 0;
  static constexpr int kDependencySection = 1;

  // One whole run. Returns 0 when the verdict was written (preserved or
  // not), 1 when the files could not be set up, 3 after a dependency line
  // without "->", 4 when the output file could not be written. Every outcome
  // has been reported on the console.
  int run(int argc, const char* const argv[]);

  // Reads one section from `inputText`. Returns false after a line that the
  // section's parser rejected; the reason has been printed.
  bool parseSection(int kind);
  // Appends the line's names to `tables`; never fails.
  bool parseTableLine(const std::string& line);
  // Appends the dependency around the first "->" to `dependencies`, or
  // prints why there is none and returns false.
  bool parseDependencyLine(const std::string& line);

  // Numbers the attribute names in byte order and fills `tableIds`,
  // `dependencyIds` and `attributeCount`. Always succeeds.
  bool convertNamesToIntegers();

  // The ids that follow from `start` under `dependencies` but are not in
  // `start`, ascending, each once. Linear in the size of the arguments.
  // Reuses the object's scratch buffers, so calls on one object must not
  // overlap.
  IdList closure(const IdList& start,
                 const std::vector<IdDependency>& dependencies) const;

  // Whether the tables preserve `dependency`: its right side follows from
  // its left side using only what the dependencies imply within each table.
  bool isPreserved(const IdDependency& dependency) const;
  // Tests the dependencies in input order, printing one line each, and
  // stops at the first that is not preserved. True when all are preserved.
  bool checkDependencies() const;
  // Appends the Hungarian verdict to `outputFile`.
  void writeVerdict(bool preserved);

  std::vector<NameList> tables;
  std::vector<NameDependency> dependencies;
  std::vector<IdList> tableIds;
  std::vector<IdDependency> dependencyIds;
  int attributeCount = 0;

 private:
  // Working arrays of `closure`, kept between calls only so that their
  // memory is reused; every call rebuilds their contents from its
  // arguments.
  struct ClosureScratch {
    std::vector<char> inClosure;
    // The closure in the order found, with room for one write past the
    // last id; the walk's worklist.
    IdList found;
    // One block per dependency: how many of its left-side ids are not yet
    // reached, the length of its right side, then the right side; a right
    // side of one id is stored as ~id in place of the length. Keeping the
    // right side beside the count saves a cache miss when it fires.
    IdList blocks;
    // uses[useStart[a]] .. uses[useStart[a + 1] - 1] are the blocks of the
    // dependencies with attribute a on the left, once per occurrence.
    IdList useStart;
    IdList uses;
    // The uses of the attributes found in the last round, in one list.
    IdList roundUses;
    // Blocks whose count has reached zero but whose right side is not yet
    // added. One entry per dependency is enough: the block whose count is
    // being taken down has not fired yet.
    IdList fired;
  };

  // Lays out the dependency list for the walk. Returns how many blocks
  // fire at once (empty left side); they are at the front of `fired`.
  std::size_t indexDependencies(
      const std::vector<IdDependency>& dependencies) const;
  std::size_t layOutBlocks(const std::vector<IdDependency>& dependencies) const;
  void fillUses(const std::vector<IdDependency>& dependencies) const;
  // Counts down the blocks that use found[first] .. found[end - 1].
  // Returns how many fired.
  std::size_t countDownUses(std::size_t first, std::size_t end) const;
  // Copies the uses of found[first] .. found[end - 1] to `roundUses`.
  // Returns how many there are.
  std::size_t gatherUses(std::size_t first, std::size_t end) const;
  // Adds the right sides of the first `firedCount` fired blocks to the
  // closure. Returns the new length of `found`.
  std::size_t fireBlocks(std::size_t firedCount, std::size_t foundCount) const;
  // The derived ids, ascending: sorted when few, else read off the flags.
  IdList derivedIds(std::size_t startCount) const;

  bool parseLine(int kind, const std::string& line);
  // The verdict has been appended; reports whether it reached the file.
  bool outputWritten();

  mutable ClosureScratch scratch;
};

}  // namespace fdtools

#endif  // CHECKER_DEPENDENCYTESTER_H_
