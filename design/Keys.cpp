#include "design/Keys.h"

#include <algorithm>

namespace fdtools::design {
namespace {

// Keys found so far, with the test "does a known key lie inside S" that the
// enumeration asks once per key and dependency. Keys are grouped by their
// lowest attribute: a key inside S has its lowest attribute in S.
class KeyStore {
 public:
  explicit KeyStore(int attributeCount)
      : byLowest(static_cast<std::size_t>(attributeCount)) {}

  bool containsKeyInside(const AttributeSet& set) const {
    for (int a = set.first(); a >= 0; a = set.next(a)) {
      for (const std::size_t k : byLowest[a]) {
        if (keys[k].isSubsetOf(set)) return true;
      }
    }
    return false;
  }

  void add(const AttributeSet& key) {
    const int lowest = key.first();
    if (lowest >= 0) byLowest[lowest].push_back(keys.size());
    keys.push_back(key);
  }

  std::vector<AttributeSet> keys;

 private:
  std::vector<std::vector<std::size_t>> byLowest;
};

}  // namespace

AttributeSet minimizeSuperkey(ClosureIndex& index, const AttributeSet& universe,
                              AttributeSet superkey) {
  const AttributeSet original = superkey;
  for (int a = original.first(); a >= 0; a = original.next(a)) {
    superkey.erase(a);
    if (!index.implies(superkey, universe)) superkey.insert(a);
  }
  return superkey;
}

KeySet findKeys(int attributeCount, const AttributeSet& universe,
                const std::vector<Dependency>& dependencies, int maxKeys) {
  ClosureIndex index(attributeCount, dependencies);
  KeyStore store(attributeCount);
  KeySet result;
  store.add(minimizeSuperkey(index, universe, universe));
  for (std::size_t k = 0; k < store.keys.size() && result.complete; ++k) {
    // Copied: adding a key may move the stored ones.
    const AttributeSet key = store.keys[k];
    for (const Dependency& dependency : dependencies) {
      if (!dependency.right.intersects(key)) continue;
      const AttributeSet superkey = dependency.left | (key - dependency.right);
      if (store.containsKeyInside(superkey)) continue;
      if (static_cast<int>(store.keys.size()) >= maxKeys) {
        result.complete = false;
        break;
      }
      store.add(minimizeSuperkey(index, universe, superkey));
    }
  }
  result.keys = std::move(store.keys);
  std::sort(result.keys.begin(), result.keys.end(), AttributeSet::listOrder);
  result.prime = AttributeSet(attributeCount);
  for (const AttributeSet& key : result.keys) result.prime |= key;
  return result;
}

}  // namespace fdtools::design
