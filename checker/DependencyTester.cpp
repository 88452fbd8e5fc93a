#include "checker/DependencyTester.h"

#include <algorithm>
#include <map>
#include <utility>

#include "frame/Console.h"
#include "frame/Fatal.h"
#include "frame/TextUtil.h"

namespace fdtools {
namespace {

using NameList = DependencyTester::NameList;
using IdList = DependencyTester::IdList;
using NameToInt = std::map<std::string, int>;

// The verdict word in ISO 8859-2, one byte per letter: never re-encode.
constexpr char kVerdictWord[] = "f\xFCgg\xF5s\xE9g\xF5rz\xF5\n";
constexpr char kNegation[] = "nem ";

void insertNames(NameToInt& nameToInt, const NameList& names) {
  for (const std::string& name : names) nameToInt.emplace(name, 0);
}

int lookupId(const NameToInt& nameToInt, const std::string& name) {
  const auto it = nameToInt.find(name);
  // The assertion message quotes the expression as written, so its spacing
  // is part of the message: keep the formatter away from it.
  // clang-format off
  FD_ASSERT(it!=nameToInt.end());
  // clang-format on
  return it->second;
}

void convertList(IdList& ids, const NameList& names,
                 const NameToInt& nameToInt) {
  ids.clear();
  for (const std::string& name : names) {
    ids.push_back(lookupId(nameToInt, name));
  }
  std::sort(ids.begin(), ids.end());
}

void addNewAttributes(const IdList& ids, std::vector<char>& inClosure,
                      IdList& found) {
  for (const int id : ids) {
    if (!inClosure[id]) {
      inClosure[id] = true;
      found.push_back(id);
    }
  }
}

bool anyFlagged(const IdList& ids, const std::vector<char>& flags) {
  return std::any_of(ids.begin(), ids.end(),
                     [&](int id) { return flags[id] != 0; });
}

// The flagged ids of an ascending list, each once.
IdList flaggedIds(const IdList& ids, const std::vector<char>& flags) {
  IdList result;
  for (const int id : ids) {
    if (flags[id] && (result.empty() || result.back() != id)) {
      result.push_back(id);
    }
  }
  return result;
}

IdList uniqueIds(const IdList& ids) {
  IdList result = ids;
  result.erase(std::unique(result.begin(), result.end()), result.end());
  return result;
}

}  // namespace

int DependencyTester::run(int argc, const char* const argv[]) {
  if (!openFiles(argc, argv, "2n.txt")) return 1;
  console() << "Reading table column names...\n";
  if (!parseSection(kTableSection)) {
    console() << "Error parsing tables!\n";
    return 2;
  }
  console() << "Reading table dependencies...\n";
  if (!parseSection(kDependencySection)) {
    console() << "Error parsing tables!\n";
    return 3;
  }
  console() << "Converting column names to integers...\n";
  if (!convertNamesToIntegers()) {
    console() << "Error converting names to integers!\n";
    return 3;
  }
  console() << "Checking Dependencies...\n";
  writeVerdict(checkDependencies());
  return finishOutput() ? 0 : 4;
}

bool DependencyTester::parseSection(int kind) {
  std::string line;
  while (readLine(inputText, line)) {
    trim(line);
    if (isEmptyLine(line)) return true;
    if (!parseLine(kind, line)) {
      console() << "Error parsing line: \"" << line << "\"\n";
      return false;
    }
  }
  return true;
}

bool DependencyTester::parseLine(int kind, const std::string& line) {
  if (kind == kTableSection) return parseTableLine(line);
  if (kind == kDependencySection) return parseDependencyLine(line);
  FD_ASSERT(0);
  return false;
}

bool DependencyTester::parseTableLine(const std::string& line) {
  tables.push_back(split(line, ','));
  return true;
}

bool DependencyTester::parseDependencyLine(const std::string& line) {
  std::string left;
  std::string right;
  if (!splitAtFirst(line, "->", left, right)) {
    console() << "No \"->\" found in dependency: " << line << "\n";
    return false;
  }
  NameDependency dependency;
  dependency[kLeft] = split(left, ',');
  dependency[kRight] = split(right, ',');
  dependencies.push_back(std::move(dependency));
  return true;
}

bool DependencyTester::convertNamesToIntegers() {
  NameToInt nameToInt;
  for (const NameList& table : tables) insertNames(nameToInt, table);
  for (const NameDependency& dependency : dependencies) {
    insertNames(nameToInt, dependency[kLeft]);
    insertNames(nameToInt, dependency[kRight]);
  }
  attributeCount = 0;
  for (auto& entry : nameToInt) entry.second = attributeCount++;

  tableIds.assign(tables.size(), IdList());
  for (std::size_t i = 0; i < tables.size(); ++i) {
    convertList(tableIds[i], tables[i], nameToInt);
  }
  dependencyIds.assign(dependencies.size(), IdDependency());
  for (std::size_t i = 0; i < dependencies.size(); ++i) {
    for (const int side : {kLeft, kRight}) {
      convertList(dependencyIds[i][side], dependencies[i][side], nameToInt);
    }
  }
  return true;
}

DependencyTester::IdList DependencyTester::closure(
    const IdList& start, const std::vector<IdDependency>& dependencies) const {
  return closureEngine.derive(attributeCount, start, dependencies);
}

bool DependencyTester::isPreserved(const IdDependency& dependency) const {
  const IdList& left = dependency[kLeft];
  if (left.empty()) return true;
  const auto count = static_cast<std::size_t>(attributeCount);
  // `reached` is everything reached so far; a pass follows up what the
  // previous pass added (`added`), together with what it adds itself.
  std::vector<char> reached(count, 0);
  std::vector<char> inPass(count, 0);
  IdList added;
  addNewAttributes(left, reached, added);
  addNewAttributes(closure(IdList(), dependencyIds), reached, added);

  // Each pass follows up what the previous one added; a table that shares
  // nothing with it cannot add anything new.
  IdList pass;
  while (!added.empty()) {
    pass.swap(added);
    added.clear();
    for (const int id : pass) inPass[id] = 1;
    for (const IdList& table : tableIds) {
      if (!anyFlagged(table, inPass)) continue;
      const IdList derived = closure(flaggedIds(table, reached), dependencyIds);
      for (const int id : uniqueIds(table)) {
        if (reached[id] ||
            !std::binary_search(derived.begin(), derived.end(), id)) {
          continue;
        }
        reached[id] = 1;
        inPass[id] = 1;
        pass.push_back(id);
        added.push_back(id);
      }
    }
    for (const int id : pass) inPass[id] = 0;
  }
  // Flags make A->B,B mean the same as A->B.
  return std::all_of(dependency[kRight].begin(), dependency[kRight].end(),
                     [&](int id) { return reached[id] != 0; });
}

bool DependencyTester::checkDependencies() const {
  for (std::size_t i = 0; i < dependencyIds.size(); ++i) {
    if (!isPreserved(dependencyIds[i])) {
      console() << "Dependency " << i << " not satisfied\n";
      return false;
    }
    console() << "Dependency " << i << " satisfied\n";
  }
  return true;
}

void DependencyTester::writeVerdict(bool preserved) {
  outputFile << "\n\n";
  if (!preserved) outputFile << kNegation;
  outputFile << kVerdictWord;
}

}  // namespace fdtools
