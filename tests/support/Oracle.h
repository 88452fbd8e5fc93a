// The test oracle: functional dependencies straight from the definitions
// and deliberately naive, so that the engine's algorithms can be checked
// against it on random inputs. Two widths of attribute set share one
// closure: bit sets wide enough for 128 attributes (fdcheck's tests), and
// plain masks of up to 8 attributes where every subset is tried (the
// design engine's).
#ifndef TESTS_SUPPORT_ORACLE_H_
#define TESTS_SUPPORT_ORACLE_H_

#include <algorithm>
#include <bitset>
#include <random>
#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Schema.h"

namespace fdtools::oracle {

constexpr int kMaxAttributes = 128;
using Set = std::bitset<kMaxAttributes>;
using Mask = unsigned;

template <class S>
struct FdOf {
  S left;
  S right;
};
using Fd = FdOf<Set>;
using MaskFd = FdOf<Mask>;

template <class S>
bool inside(const S& a, const S& b) {
  return (a & ~b) == S{};
}

// Applies dependencies until nothing changes.
template <class S>
S closureOf(const S& start, const std::vector<FdOf<S>>& fds) {
  S result = start;
  for (bool grew = true; grew;) {
    grew = false;
    for (const FdOf<S>& fd : fds) {
      if (inside(fd.left, result) && !inside(fd.right, result)) {
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
      projected.push_back({subset, closureOf(subset, fds) & table});
    }
  }
  return inside(fd.right, closureOf(fd.left, projected));
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
      const Set more = closureOf(reached & table, fds) & table;
      if (!inside(more, reached)) {
        reached |= more;
        grew = true;
      }
    }
  }
  return inside(fd.right, reached);
}

// Small schemas, sets as masks.

struct SmallSchema {
  int attributes = 0;
  std::vector<Mask> tables;
  std::vector<MaskFd> fds;
};

inline design::AttributeSet toSet(int attributes, Mask mask) {
  design::AttributeSet set(attributes);
  // A mask holds 32 attributes; wider sets keep the rest out.
  const int held = std::min(attributes, 32);
  for (int a = 0; a < held; ++a) {
    if (mask >> a & 1) set.insert(a);
  }
  return set;
}

inline Mask toMask(const design::AttributeSet& set) {
  Mask mask = 0;
  for (int a = set.first(); a >= 0; a = set.next(a)) mask |= 1u << a;
  return mask;
}

inline std::vector<design::Dependency> toDependencies(
    int attributes, const std::vector<MaskFd>& fds) {
  std::vector<design::Dependency> result;
  for (const MaskFd& fd : fds) {
    result.push_back({toSet(attributes, fd.left), toSet(attributes, fd.right)});
  }
  return result;
}

inline std::vector<MaskFd> toMasks(
    const std::vector<design::Dependency>& dependencies) {
  std::vector<MaskFd> result;
  for (const design::Dependency& d : dependencies) {
    result.push_back({toMask(d.left), toMask(d.right)});
  }
  return result;
}

// The minimal X inside `universe` whose closure holds `universe`.
inline std::vector<Mask> bruteKeys(Mask universe,
                                   const std::vector<MaskFd>& fds) {
  std::vector<Mask> superkeys;
  for (Mask x = universe;; x = (x - 1) & universe) {
    if (inside(universe, closureOf(x, fds))) superkeys.push_back(x);
    if (x == 0) break;
  }
  std::vector<Mask> keys;
  for (const Mask s : superkeys) {
    bool minimal = true;
    for (const Mask t : superkeys) {
      if (t != s && inside(t, s)) minimal = false;
    }
    if (minimal) keys.push_back(s);
  }
  return keys;
}

// X -> (X+ within T) for every X inside T: the projection onto T.
inline std::vector<MaskFd> bruteProjection(Mask table,
                                           const std::vector<MaskFd>& fds) {
  std::vector<MaskFd> projected;
  for (Mask x = table;; x = (x - 1) & table) {
    projected.push_back({x, closureOf(x, fds) & table});
    if (x == 0) break;
  }
  return projected;
}

// The normal form by the definitions, over every nontrivial X -> A that
// holds in `universe` under `fds`.
inline std::string bruteForm(Mask universe, const std::vector<MaskFd>& fds) {
  const std::vector<Mask> keys = bruteKeys(universe, fds);
  Mask prime = 0;
  for (const Mask k : keys) prime |= k;
  bool bcnf = true;
  bool third = true;
  bool second = true;
  for (Mask x = universe;; x = (x - 1) & universe) {
    const Mask follows = closureOf(x, fds) & universe & ~x;
    const bool superkey = inside(universe, closureOf(x, fds));
    for (int a = 0; a < 32; ++a) {
      if (!(follows >> a & 1)) continue;
      if (!superkey) bcnf = false;
      const bool isPrime = (prime >> a & 1) != 0;
      if (!superkey && !isPrime) third = false;
      for (const Mask k : keys) {
        if (inside(x, k) && x != k && !isPrime) second = false;
      }
    }
    if (x == 0) break;
  }
  return bcnf ? "BCNF" : third ? "3NF" : second ? "2NF" : "1NF";
}

// The names of a set: A for attribute 0, B for 1, and so on.
inline std::vector<std::string> letters(Mask mask) {
  std::vector<std::string> names;
  for (int a = 0; a < 26; ++a) {
    if (mask >> a & 1)
      names.push_back(std::string(1, static_cast<char>('A' + a)));
  }
  return names;
}

inline std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) {
    if (!text.empty()) text += ',';
    text += name;
  }
  return text;
}

// `schema` as an input file, with letters for names.
inline std::string inputText(const std::vector<Mask>& tables,
                             const std::vector<MaskFd>& fds) {
  std::string text;
  for (const Mask t : tables) text += joined(letters(t)) + "\n";
  text += "\n";
  for (const MaskFd& fd : fds) {
    text += joined(letters(fd.left)) + "->" + joined(letters(fd.right)) + "\n";
  }
  return text;
}

class RandomSchemas {
 public:
  explicit RandomSchemas(unsigned seed) : random(seed) {}

  int between(int low, int high) {
    return std::uniform_int_distribution<>(low, high)(random);
  }

  Mask subset(int attributes, int minSize, int maxSize) {
    Mask mask = 0;
    const int size = between(minSize, maxSize);
    for (int i = 0; i < size; ++i) mask |= 1u << between(0, attributes - 1);
    return mask;
  }

  // Up to 8 attributes, 1 to 4 tables, 0 to 8 dependencies with sides of
  // up to 3 attributes (empty ones now and then).
  SmallSchema next(int maxAttributes = 8) {
    SmallSchema schema;
    schema.attributes = between(1, maxAttributes);
    for (int t = between(1, 4); t > 0; --t) {
      schema.tables.push_back(subset(schema.attributes, 1, 4));
    }
    for (int f = between(0, 8); f > 0; --f) {
      schema.fds.push_back(
          {subset(schema.attributes, 0, 3), subset(schema.attributes, 1, 2)});
    }
    return schema;
  }

 private:
  std::mt19937 random;
};

}  // namespace fdtools::oracle

#endif  // TESTS_SUPPORT_ORACLE_H_
