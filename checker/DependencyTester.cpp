#include "checker/DependencyTester.h"

#include <algorithm>
#include <cstring>
#include <map>

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
constexpr int kUseCopy = 4;

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

void addNewAttributes(const IdList& ids, std::vector<char>& inClosure,
                      IdList& found) {
  for (const int id : ids) {
    if (!inClosure[id]) {
      inClosure[id] = true;
      found.push_back(id);
    }
  }
}

// Appends `id` to `list` unless flagged, and flags it. Always writes
// list[count], so the list needs room for one more; no branch on the flag.
std::size_t appendNewId(int id, char* flags, int* list, std::size_t count) {
  list[count] = id;
  count += (flags[id] == 0);
  flags[id] = 1;
  return count;
}

// The same for each id among [first, last).
std::size_t appendNewIds(const int* first, const int* last, char* flags,
                         int* list, std::size_t count) {
  for (; first != last; ++first)
    count = appendNewId(*first, flags, list, count);
  return count;
}

// Ints in a dependency's block; the common one-id right side makes two.
std::size_t blockLength(std::size_t rightSize) {
  return rightSize == 1 ? 2 : 2 + rightSize;
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
  ClosureScratch& s = scratch;
  s.inClosure.assign(static_cast<std::size_t>(attributeCount), 0);
  s.found.resize(static_cast<std::size_t>(attributeCount) + 1);
  // A repeated start id would be walked twice; keep the first only.
  const std::size_t startCount =
      appendNewIds(start.data(), start.data() + start.size(),
                   s.inClosure.data(), s.found.data(), 0);

  // Rounds: count down the uses of everything found in the last round,
  // then fire what reached zero. Firing after the round, not at once,
  // keeps the count-down free of branches on the counts, so its cache
  // misses overlap.
  std::size_t firedCount = indexDependencies(dependencies);
  std::size_t walked = 0;
  std::size_t foundCount = startCount;
  for (;;) {
    foundCount = fireBlocks(firedCount, foundCount);
    if (walked == foundCount) break;
    firedCount = countDownUses(walked, foundCount);
    walked = foundCount;
  }
  s.found.resize(foundCount);
  return derivedIds(startCount);
}

std::size_t DependencyTester::indexDependencies(
    const std::vector<IdDependency>& dependencies) const {
  ClosureScratch& s = scratch;
  s.useStart.assign(static_cast<std::size_t>(attributeCount) + 2, 0);
  s.fired.resize(dependencies.size());
  const std::size_t firedCount = layOutBlocks(dependencies);
  fillUses(dependencies);
  return firedCount;
}

// Copies counts and right sides into `blocks` and counts each attribute's
// left-side occurrences into useStart[a + 2].
std::size_t DependencyTester::layOutBlocks(
    const std::vector<IdDependency>& dependencies) const {
  ClosureScratch& s = scratch;
  int* const occurrences = s.useStart.data() + 2;
  std::size_t firedCount = 0;
  std::size_t position = 0;
  for (const IdDependency& dependency : dependencies) {
    const IdList& left = dependency[kLeft];
    const IdList& right = dependency[kRight];
    const std::size_t end = position + blockLength(right.size());
    if (end > s.blocks.size()) s.blocks.resize(2 * end);
    int* const block = s.blocks.data() + position;
    block[0] = static_cast<int>(left.size());
    if (right.size() == 1) {
      block[1] = ~right[0];
    } else {
      block[1] = static_cast<int>(right.size());
      // A loop, not std::copy: right sides are short, a call costs more.
      int* out = block + 2;
      for (const int id : right) *out++ = id;
    }
    for (const int id : left) ++occurrences[id];
    if (left.empty()) s.fired[firedCount++] = static_cast<int>(position);
    position = end;
  }
  return firedCount;
}

// Turns the occurrence counts into start positions and lists the blocks.
void DependencyTester::fillUses(
    const std::vector<IdDependency>& dependencies) const {
  ClosureScratch& s = scratch;
  int* const next = s.useStart.data() + 1;
  for (int a = 1; a <= attributeCount; ++a) next[a] += next[a - 1];
  // Padded, so that a fixed-size copy may run past the last use.
  s.uses.resize(static_cast<std::size_t>(next[attributeCount]) + kUseCopy);
  s.roundUses.resize(s.uses.size());
  int* const uses = s.uses.data();
  int position = 0;
  for (const IdDependency& dependency : dependencies) {
    for (const int id : dependency[kLeft]) uses[next[id]++] = position;
    position += static_cast<int>(blockLength(dependency[kRight].size()));
  }
}

std::size_t DependencyTester::countDownUses(std::size_t first,
                                            std::size_t end) const {
  ClosureScratch& s = scratch;
  const std::size_t count = gatherUses(first, end);
  const int* const roundUses = s.roundUses.data();
  int* const blocks = s.blocks.data();
  int* const fired = s.fired.data();
  std::size_t firedCount = 0;
  for (std::size_t u = 0; u < count; ++u) {
    const int block = roundUses[u];
    fired[firedCount] = block;
    firedCount += (--blocks[block] == 0);
  }
  return firedCount;
}

std::size_t DependencyTester::gatherUses(std::size_t first,
                                         std::size_t end) const {
  ClosureScratch& s = scratch;
  const int* const found = s.found.data();
  const int* const useStart = s.useStart.data();
  const int* const uses = s.uses.data();
  int* const roundUses = s.roundUses.data();
  std::size_t count = 0;
  for (std::size_t p = first; p < end; ++p) {
    const int begin = useStart[found[p]];
    const int length = useStart[found[p] + 1] - begin;
    // Most attributes have few uses: copying a fixed four first means the
    // copy need not wait for the length.
    std::memcpy(roundUses + count, uses + begin, kUseCopy * sizeof(int));
    for (int k = kUseCopy; k < length; ++k) {
      roundUses[count + k] = uses[begin + k];
    }
    count += static_cast<std::size_t>(length);
  }
  return count;
}

std::size_t DependencyTester::fireBlocks(std::size_t firedCount,
                                         std::size_t foundCount) const {
  ClosureScratch& s = scratch;
  const int* const blocks = s.blocks.data();
  for (std::size_t f = 0; f < firedCount; ++f) {
    const int* const block = blocks + s.fired[f];
    if (block[1] < 0) {
      foundCount = appendNewId(~block[1], s.inClosure.data(), s.found.data(),
                               foundCount);
    } else {
      foundCount = appendNewIds(block + 2, block + 2 + block[1],
                                s.inClosure.data(), s.found.data(), foundCount);
    }
  }
  return foundCount;
}

DependencyTester::IdList DependencyTester::derivedIds(
    std::size_t startCount) const {
  ClosureScratch& s = scratch;
  IdList derived;
  const std::size_t count = s.found.size() - startCount;
  // Sorting k ids costs k log k; reading the flags costs attributeCount.
  if (count * 16 < static_cast<std::size_t>(attributeCount)) {
    derived.assign(s.found.begin() + static_cast<std::ptrdiff_t>(startCount),
                   s.found.end());
    std::sort(derived.begin(), derived.end());
    return derived;
  }
  for (std::size_t p = 0; p < startCount; ++p) s.inClosure[s.found[p]] = 0;
  derived.reserve(count);
  for (int id = 0; id < attributeCount; ++id) {
    if (s.inClosure[id]) derived.push_back(id);
  }
  return derived;
}

bool DependencyTester::isPreserved(const IdDependency& dependency) const {
  const IdList& left = dependency[kLeft];
  if (left.empty()) return true;
  const auto count = static_cast<std::size_t>(attributeCount);
  // Z, and the pass set P, as flags; N (added) and P as lists.
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
