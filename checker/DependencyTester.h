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

#include "checker/ClosureEngine.h"
#include "frame/ToolBase.h"

namespace fdtools {

class DependencyTester : public ToolBase {
 public:
  using NameList = std::vector<std::string>;
  // Attribute ids in ascending order; repetitions are kept.
  using IdList = ClosureEngine::IdList;
  // Element kLeft is the left side, element kRight the right side.
  using NameDependency = std::array<NameList, 2>;
  using IdDependency = ClosureEngine::IdDependency;
  static constexpr int kLeft = ClosureEngine::kLeft;
  static constexpr int kRight = ClosureEngine::kRight;
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
  // Reuses the object's scratch memory, so calls on one object must not
  // overlap.
  IdList closure(const IdList& start,
                 const std::vector<IdDependency>& dependencies) const;

  // Whether the tables preserve `dependency`: its right side follows from
  // its left side using only what the dependencies imply within each table.
  // One deliberate addition to that rule: ids in the closure of the empty
  // set count as reached even when no table holds them, so a dependency
  // with an empty left side is always preserved, and "A" with "->B" and
  // "A->B" preserves both although no table holds B.
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
  bool parseLine(int kind, const std::string& line);

  // Only its reused scratch memory changes, so `closure` stays const.
  mutable ClosureEngine closureEngine;
};

}  // namespace fdtools

#endif  // CHECKER_DEPENDENCYTESTER_H_
