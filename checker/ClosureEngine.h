// The attribute closure under a list of dependencies, in time linear in the
// size of the arguments: each dependency counts down its left-side ids not
// yet reached, and fires when the count reaches zero.
#ifndef CHECKER_CLOSUREENGINE_H_
#define CHECKER_CLOSUREENGINE_H_

#include <array>
#include <cstddef>
#include <vector>

namespace fdtools {

class ClosureEngine {
 public:
  // Attribute ids in ascending order; repetitions are allowed.
  using IdList = std::vector<int>;
  // Element kLeft is the left side, element kRight the right side.
  using IdDependency = std::array<IdList, 2>;
  static constexpr int kLeft = 0;
  static constexpr int kRight = 1;

  ClosureEngine() = default;
  ClosureEngine(const ClosureEngine&) = delete;
  ClosureEngine& operator=(const ClosureEngine&) = delete;

  // The ids that follow from `start` under `dependencies` but are not in
  // `start`, ascending, each once. Every id must lie in
  // [0, attributeCount). Reuses the engine's scratch arrays, so calls on
  // one engine must not overlap; nothing else carries over between calls.
  IdList derive(int attributeCount, const IdList& start,
                const std::vector<IdDependency>& dependencies);

 private:
  // Lays out the dependency list for the walk. Returns how many blocks
  // fire at once (empty left side); they are at the front of `fired`.
  std::size_t indexDependencies(const std::vector<IdDependency>& dependencies);
  std::size_t layOutBlocks(const std::vector<IdDependency>& dependencies);
  void fillUses(const std::vector<IdDependency>& dependencies);
  // Counts down the blocks that use found[first] .. found[end - 1].
  // Returns how many fired.
  std::size_t countDownUses(std::size_t first, std::size_t end);
  // Copies the uses of found[first] .. found[end - 1] to `roundUses`.
  // Returns how many there are.
  std::size_t gatherUses(std::size_t first, std::size_t end);
  // Adds the right sides of the first `firedCount` fired blocks to the
  // closure. Returns the new length of `found`.
  std::size_t fireBlocks(std::size_t firedCount, std::size_t foundCount);
  // The derived ids, ascending: sorted when few, else read off the flags.
  IdList derivedIds(std::size_t startCount);

  // The scratch arrays are kept between calls only so that their memory is
  // reused; every call rebuilds their contents from its arguments.
  int attributeCount = 0;
  std::vector<char> inClosure;
  // The closure in the order found, with room for one write past the last
  // id; the walk's worklist.
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

}  // namespace fdtools

#endif  // CHECKER_CLOSUREENGINE_H_
