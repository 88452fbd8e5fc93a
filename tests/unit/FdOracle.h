// Test oracles for functional dependencies, straight from the definitions
// and deliberately naive: attribute sets are bit sets wide enough for 128
// attributes, and closure applies dependencies until nothing changes.
#ifndef TESTS_UNIT_FDORACLE_H_
#define TESTS_UNIT_FDORACLE_H_

#include <bitset>
#include <vector>

namespace fdtools::oracle {

constexpr int kMaxAttributes = 128;
using Set = std::bitset<kMaxAttributes>;

struct Fd {
  Set left;
  Set right;
};

inline bool isSubset(const Set& a, const Set& b) { return (a & ~b).none(); }

inline Set closure(const Set& start, const std::vector<Fd>& fds) {
  Set result = start;
  for (bool grew = true; grew;) {
    grew = false;
    for (const Fd& fd : fds) {
      if (isSubset(fd.left, result) && !isSubset(fd.right, result)) {
        result |= fd.right;
        grew = true;
      }
    }
  }
  return result;
}

// X->Y is preserved when Y lies in the closure of X under the union over
// tables R of { S -> (S+ within R) : S a subset of R }. Every subset of
// every table is listed, so tables must be small.
inline bool preservedByProjection(const Fd& fd, const std::vector<Set>& tables,
                                  const std::vector<Fd>& fds) {
  std::vector<Fd> projected;
  for (const Set& table : tables) {
    std::vector<int> members;
    for (int a = 0; a < kMaxAttributes; ++a) {
      if (table[a]) members.push_back(a);
    }
    for (unsigned long mask = 0; mask < (1ul << members.size()); ++mask) {
      Set subset;
      for (std::size_t i = 0; i < members.size(); ++i) {
        if (mask >> i & 1) subset.set(members[i]);
      }
      projected.push_back({subset, closure(subset, fds) & table});
    }
  }
  return isSubset(fd.right, closure(fd.left, projected));
}

// The same answer for tables of any width: the projected dependency whose
// left side is everything reached within R implies every other one that
// applies, since closure is monotone, so only that one need be applied.
inline bool preservedByPasses(const Fd& fd, const std::vector<Set>& tables,
                              const std::vector<Fd>& fds) {
  Set reached = fd.left;
  for (bool grew = true; grew;) {
    grew = false;
    for (const Set& table : tables) {
      const Set more = closure(reached & table, fds) & table;
      if (!isSubset(more, reached)) {
        reached |= more;
        grew = true;
      }
    }
  }
  return isSubset(fd.right, reached);
}

}  // namespace fdtools::oracle

#endif  // TESTS_UNIT_FDORACLE_H_
