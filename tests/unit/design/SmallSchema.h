// Random small schemas and brute-force definitions for the design engine's
// property tests: up to 8 attributes, sets as bit masks, every subset tried.
#ifndef TESTS_UNIT_DESIGN_SMALLSCHEMA_H_
#define TESTS_UNIT_DESIGN_SMALLSCHEMA_H_

#include <random>
#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Schema.h"

namespace fdtools::design::testing {

using Mask = unsigned;

struct MaskFd {
  Mask left;
  Mask right;
};

struct SmallSchema {
  int attributes = 0;
  std::vector<Mask> tables;
  std::vector<MaskFd> fds;
};

inline bool inside(Mask a, Mask b) { return (a & ~b) == 0; }

inline Mask closureOf(Mask start, const std::vector<MaskFd>& fds) {
  Mask result = start;
  for (bool grew = true; grew;) {
    grew = false;
    for (const MaskFd& fd : fds) {
      if (inside(fd.left, result) && !inside(fd.right, result)) {
        result |= fd.right;
        grew = true;
      }
    }
  }
  return result;
}

inline AttributeSet toSet(int attributes, Mask mask) {
  AttributeSet set(attributes);
  for (int a = 0; a < attributes; ++a) {
    if (mask >> a & 1) set.insert(a);
  }
  return set;
}

inline Mask toMask(const AttributeSet& set) {
  Mask mask = 0;
  for (int a = set.first(); a >= 0; a = set.next(a)) mask |= 1u << a;
  return mask;
}

inline std::vector<Dependency> toDependencies(int attributes,
                                              const std::vector<MaskFd>& fds) {
  std::vector<Dependency> result;
  for (const MaskFd& fd : fds) {
    result.push_back({toSet(attributes, fd.left), toSet(attributes, fd.right)});
  }
  return result;
}

inline std::vector<MaskFd> toMasks(
    const std::vector<Dependency>& dependencies) {
  std::vector<MaskFd> result;
  for (const Dependency& d : dependencies) {
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

}  // namespace fdtools::design::testing

#endif  // TESTS_UNIT_DESIGN_SMALLSCHEMA_H_
