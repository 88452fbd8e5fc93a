#include "design/Multivalued.h"

#include <algorithm>

namespace fdtools::design {

MixedImplication::MixedImplication(int attributeCount,
                                   const std::vector<Dependency>& functional,
                                   const std::vector<Dependency>& multivalued)
    : n(attributeCount),
      multivalued_(multivalued),
      determinable(attributeCount) {
  // Only attributes that some rule names ever leave the first block, so
  // the refinement works on those alone and costs the same in a schema of
  // thousands of attributes.
  std::vector<int> position(static_cast<std::size_t>(n), -1);
  const auto compact = [&](const AttributeSet& set) {
    std::vector<int> result;
    for (int a = set.first(); a >= 0; a = set.next(a)) {
      if (position[a] < 0) {
        position[a] = static_cast<int>(active.size());
        active.push_back(a);
      }
      result.push_back(position[a]);
    }
    return result;
  };
  for (const Dependency& fd : functional) {
    const AttributeSet right = fd.right - fd.left;
    if (right.empty()) continue;
    rules.push_back({compact(fd.left), compact(right), true});
    determinable |= right;
  }
  for (const Dependency& mvd : multivalued) {
    const AttributeSet right = mvd.right - mvd.left;
    if (right.empty()) continue;
    rules.push_back({compact(mvd.left), compact(right), false});
  }
  cost = active.size() + static_cast<std::uint64_t>(n / 64 + 1);
  for (const Rule& rule : rules) cost += rule.left.size() + rule.right.size();
}

std::vector<AttributeSet> MixedImplication::basis(const AttributeSet& x) const {
  // blockOf[i] is the block holding active[i], -1 for the attributes of
  // X. Block 0 starts as R - X.
  const std::size_t m = active.size();
  std::vector<int> blockOf(m, 0);
  std::vector<int> size(1, n - x.size());
  for (std::size_t i = 0; i < m; ++i) {
    if (x.contains(active[i])) blockOf[i] = -1;
  }
  // Per block: the last step whose rule's left side touched it (or that
  // made it), and for a splitting rule how many of its attributes are on
  // the right side and the block they move to.
  std::size_t step = 0;
  std::vector<std::size_t> touchedBy(1, 0);
  std::vector<int> inRight(1, 0);
  std::vector<int> movedTo(1, -1);
  const auto newBlock = [&] {
    size.push_back(0);
    touchedBy.push_back(step);
    inRight.push_back(0);
    movedTo.push_back(-1);
    return static_cast<int>(size.size()) - 1;
  };
  std::vector<int> counted;
  const auto move = [&](int a, int to) {
    --size[blockOf[a]];
    ++size[to];
    blockOf[a] = to;
  };
  for (bool split = true; split;) {
    split = false;
    for (const Rule& rule : rules) {
      const std::size_t r = ++step;
      for (const int a : rule.left) {
        if (blockOf[a] >= 0) touchedBy[blockOf[a]] = r;
      }
      const auto free = [&](int b) { return b >= 0 && touchedBy[b] != r; };
      if (rule.oneByOne) {
        for (const int a : rule.right) {
          const int b = blockOf[a];
          if (!free(b) || size[b] == 1) continue;
          move(a, newBlock());
          split = true;
        }
        continue;
      }
      counted.clear();
      for (const int a : rule.right) {
        const int b = blockOf[a];
        if (!free(b)) continue;
        if (inRight[b]++ == 0) counted.push_back(b);
      }
      for (const int b : counted) {
        if (inRight[b] < size[b]) {
          movedTo[b] = newBlock();
          split = true;
        }
      }
      for (const int a : rule.right) {
        const int b = blockOf[a];
        if (b >= 0 && movedTo[b] >= 0 && touchedBy[b] != r) move(a, movedTo[b]);
      }
      for (const int b : counted) {
        inRight[b] = 0;
        movedTo[b] = -1;
      }
    }
  }
  std::vector<AttributeSet> blocks(size.size(), AttributeSet(n));
  for (std::size_t i = 0; i < m; ++i) {
    if (blockOf[i] > 0) blocks[blockOf[i]].insert(active[i]);
  }
  blocks[0] = AttributeSet::all(n) - x;
  for (std::size_t b = 1; b < blocks.size(); ++b) blocks[0] -= blocks[b];
  blocks.erase(std::remove_if(blocks.begin(), blocks.end(),
                              [](const AttributeSet& b) { return b.empty(); }),
               blocks.end());
  std::sort(blocks.begin(), blocks.end(),
            [](const AttributeSet& a, const AttributeSet& b) {
              return a.first() < b.first();
            });
  return blocks;
}

AttributeSet MixedImplication::closure(
    const AttributeSet& x, const std::vector<AttributeSet>& basis) const {
  AttributeSet result = x;
  for (const AttributeSet& block : basis) {
    if (block.size() == 1 && determinable.contains(block.first())) {
      result |= block;
    }
  }
  return result;
}

AttributeSet MixedImplication::closure(const AttributeSet& x) const {
  return closure(x, basis(x));
}

bool MixedImplication::impliesMultivalued(const AttributeSet& x,
                                          const AttributeSet& y) const {
  for (const AttributeSet& block : basis(x)) {
    if (block.intersects(y) && !block.isSubsetOf(y)) return false;
  }
  return true;
}

}  // namespace fdtools::design
