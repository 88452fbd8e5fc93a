#include "checker/ClosureEngine.h"

#include <algorithm>
#include <cstring>

namespace fdtools {
namespace {

// Uses copied per attribute before its length is known; see gatherUses.
constexpr int kUseCopy = 4;

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

}  // namespace

ClosureEngine::IdList ClosureEngine::derive(
    int attributeCount, const IdList& start,
    const std::vector<IdDependency>& dependencies) {
  this->attributeCount = attributeCount;
  inClosure.assign(static_cast<std::size_t>(attributeCount), 0);
  found.resize(static_cast<std::size_t>(attributeCount) + 1);
  // A repeated start id would be walked twice; keep the first only.
  const std::size_t startCount =
      appendNewIds(start.data(), start.data() + start.size(), inClosure.data(),
                   found.data(), 0);

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
  found.resize(foundCount);
  return derivedIds(startCount);
}

std::size_t ClosureEngine::indexDependencies(
    const std::vector<IdDependency>& dependencies) {
  useStart.assign(static_cast<std::size_t>(attributeCount) + 2, 0);
  fired.resize(dependencies.size());
  const std::size_t firedCount = layOutBlocks(dependencies);
  fillUses(dependencies);
  return firedCount;
}

// Copies counts and right sides into `blocks` and counts each attribute's
// left-side occurrences into useStart[a + 2].
std::size_t ClosureEngine::layOutBlocks(
    const std::vector<IdDependency>& dependencies) {
  int* const occurrences = useStart.data() + 2;
  std::size_t firedCount = 0;
  std::size_t position = 0;
  for (const IdDependency& dependency : dependencies) {
    const IdList& left = dependency[kLeft];
    const IdList& right = dependency[kRight];
    const std::size_t end = position + blockLength(right.size());
    if (end > blocks.size()) blocks.resize(2 * end);
    int* const block = blocks.data() + position;
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
    if (left.empty()) fired[firedCount++] = static_cast<int>(position);
    position = end;
  }
  return firedCount;
}

// Turns the occurrence counts into start positions and lists the blocks.
void ClosureEngine::fillUses(const std::vector<IdDependency>& dependencies) {
  int* const next = useStart.data() + 1;
  for (int a = 1; a <= attributeCount; ++a) next[a] += next[a - 1];
  // Padded, so that a fixed-size copy may run past the last use.
  uses.resize(static_cast<std::size_t>(next[attributeCount]) + kUseCopy);
  roundUses.resize(uses.size());
  int* const useList = uses.data();
  int position = 0;
  for (const IdDependency& dependency : dependencies) {
    for (const int id : dependency[kLeft]) useList[next[id]++] = position;
    position += static_cast<int>(blockLength(dependency[kRight].size()));
  }
}

std::size_t ClosureEngine::countDownUses(std::size_t first, std::size_t end) {
  const std::size_t count = gatherUses(first, end);
  const int* const roundUseList = roundUses.data();
  int* const counts = blocks.data();
  int* const firedList = fired.data();
  std::size_t firedCount = 0;
  for (std::size_t u = 0; u < count; ++u) {
    const int block = roundUseList[u];
    firedList[firedCount] = block;
    firedCount += (--counts[block] == 0);
  }
  return firedCount;
}

std::size_t ClosureEngine::gatherUses(std::size_t first, std::size_t end) {
  const int* const foundList = found.data();
  const int* const starts = useStart.data();
  const int* const useList = uses.data();
  int* const roundUseList = roundUses.data();
  std::size_t count = 0;
  for (std::size_t p = first; p < end; ++p) {
    const int begin = starts[foundList[p]];
    const int length = starts[foundList[p] + 1] - begin;
    // Most attributes have few uses: copying a fixed four first means the
    // copy need not wait for the length.
    std::memcpy(roundUseList + count, useList + begin, kUseCopy * sizeof(int));
    for (int k = kUseCopy; k < length; ++k) {
      roundUseList[count + k] = useList[begin + k];
    }
    count += static_cast<std::size_t>(length);
  }
  return count;
}

std::size_t ClosureEngine::fireBlocks(std::size_t firedCount,
                                      std::size_t foundCount) {
  const int* const blockList = blocks.data();
  for (std::size_t f = 0; f < firedCount; ++f) {
    const int* const block = blockList + fired[f];
    if (block[1] < 0) {
      foundCount =
          appendNewId(~block[1], inClosure.data(), found.data(), foundCount);
    } else {
      foundCount = appendNewIds(block + 2, block + 2 + block[1],
                                inClosure.data(), found.data(), foundCount);
    }
  }
  return foundCount;
}

ClosureEngine::IdList ClosureEngine::derivedIds(std::size_t startCount) {
  IdList derived;
  const std::size_t count = found.size() - startCount;
  // Sorting k ids costs k log k; reading the flags costs attributeCount.
  if (count * 16 < static_cast<std::size_t>(attributeCount)) {
    derived.assign(found.begin() + static_cast<std::ptrdiff_t>(startCount),
                   found.end());
    std::sort(derived.begin(), derived.end());
    return derived;
  }
  for (std::size_t p = 0; p < startCount; ++p) inClosure[found[p]] = 0;
  derived.reserve(count);
  for (int id = 0; id < attributeCount; ++id) {
    if (inClosure[id]) derived.push_back(id);
  }
  return derived;
}

}  // namespace fdtools
