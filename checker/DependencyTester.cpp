#include "checker/DependencyTester.h"

#include <algorithm>
#include <map>
#include <set>

#include "frame/Console.h"
#include "frame/Fatal.h"
#include "frame/TextUtil.h"

namespace fdtools {
namespace {

using NameList = DependencyTester::NameList;
using IdList = DependencyTester::IdList;
using NameToInt = std::map<std::string, int>;
using IdSet = std::set<int>;

// The verdict word in ISO 8859-2, one byte per letter: never re-encode.
constexpr char kVerdictWord[] = "f\xFCgg\xF5s\xE9g\xF5rz\xF5\n";
constexpr char kNegation[] = "nem ";

void insertNames(NameToInt& nameToInt, const NameList& names) {
  for (const std::string& name : names) nameToInt.emplace(name, 0);
}

int lookupId(const NameToInt& nameToInt, const std::string& name) {
  const auto it = nameToInt.find(name);
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

void addNewAttributes(const IdList& ids, std::vector<bool>& inClosure,
                      IdList& found) {
  for (const int id : ids) {
    if (!inClosure[id]) {
      inClosure[id] = true;
      found.push_back(id);
    }
  }
}

// Merge of two ascending sequences; an element repeated in both comes out
// as often as in the one that has it fewer times.
template <typename Ascending>
IdList intersect(const Ascending& first, const IdList& second) {
  IdList common;
  auto a = first.begin();
  auto b = second.begin();
  while (a != first.end() && b != second.end()) {
    if (*a < *b) {
      ++a;
    } else if (*b < *a) {
      ++b;
    } else {
      common.push_back(*a);
      ++a;
      ++b;
    }
  }
  return common;
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
  return outputWritten() ? 0 : 4;
}

bool DependencyTester::outputWritten() {
  if (!outputFile.flush()) {
    console() << "Can't write output file!\n";
    return false;
  }
  console() << "Output written.";
  return true;
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
  const std::size_t arrow = line.find("->");
  if (arrow == std::string::npos) {
    console() << "No \"->\" found in dependency: " << line << "\n";
    return false;
  }
  dependencies.push_back(
      {split(line.substr(0, arrow), ','), split(line.substr(arrow + 2), ',')});
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
  std::vector<bool> inClosure(attributeCount, false);
  for (const int id : start) inClosure[id] = true;
  IdList found = start;

  // unmet[j] counts the left-side occurrences of dependency j not derived
  // yet; index[a] lists the dependencies whose left side names a.
  std::vector<IdList> index(attributeCount);
  IdList unmet;
  unmet.reserve(dependencies.size());
  for (std::size_t j = 0; j < dependencies.size(); ++j) {
    const IdList& left = dependencies[j][kLeft];
    unmet.push_back(static_cast<int>(left.size()));
    for (const int id : left) index[id].push_back(static_cast<int>(j));
  }
  for (std::size_t j = 0; j < dependencies.size(); ++j) {
    if (unmet[j] == 0) {
      addNewAttributes(dependencies[j][kRight], inClosure, found);
    }
  }
  // `found` doubles as the worklist and grows while it is walked.
  for (std::size_t p = 0; p < found.size(); ++p) {
    const int id = found[p];
    for (const int j : index[id]) {
      if (--unmet[j] == 0) {
        addNewAttributes(dependencies[j][kRight], inClosure, found);
      }
    }
    index[id].clear();
  }
  IdList derived(found.begin() + static_cast<std::ptrdiff_t>(start.size()),
                 found.end());
  std::sort(derived.begin(), derived.end());
  return derived;
}

bool DependencyTester::isPreserved(const IdDependency& dependency) const {
  const IdList& left = dependency[kLeft];
  if (left.empty()) return true;
  IdSet reached(left.begin(), left.end());
  for (const int id : closure(IdList(), dependencyIds)) reached.insert(id);

  // Each pass follows up what the previous one added; a table that shares
  // nothing with it cannot add anything new.
  IdSet added = reached;
  while (!added.empty()) {
    IdSet pass;
    pass.swap(added);
    for (const IdList& table : tableIds) {
      if (intersect(pass, table).empty()) continue;
      const IdList known = intersect(reached, table);
      for (const int id : intersect(closure(known, dependencyIds), table)) {
        added.insert(id);
        pass.insert(id);
        reached.insert(id);
      }
    }
  }
  // A->B,B says no more than A->B.
  IdList right = dependency[kRight];
  right.erase(std::unique(right.begin(), right.end()), right.end());
  return intersect(reached, right).size() == right.size();
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
