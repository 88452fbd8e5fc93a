#include "design/Keys.h"

#include <algorithm>
#include <utility>

namespace fdtools::design {
namespace {

// Keys found so far, as their attributes outside the core (which every key
// holds) in a trie, for the test "does a known key lie inside S" that the
// enumeration asks once per key and dependency: a search follows only the
// branches whose attribute is in S.
class KeyTrie {
 public:
  KeyTrie() : nodes(1) {}

  void add(const std::vector<int>& ids) {
    std::size_t node = 0;
    for (const int id : ids) {
      std::size_t child = 0;
      for (const auto& [label, index] : nodes[node].children) {
        if (label == id) child = index;
      }
      if (child == 0) {
        child = nodes.size();
        nodes[node].children.emplace_back(id, child);
        nodes.emplace_back();
      }
      node = child;
    }
    nodes[node].isKey = true;
  }

  bool containsKeyInside(const AttributeSet& set) { return search(0, set); }

  // Nodes visited by every search so far: work of the enumeration like
  // that of its closures.
  std::uint64_t work() const { return visits; }

 private:
  struct Node {
    bool isKey = false;
    std::vector<std::pair<int, std::size_t>> children;
  };

  bool search(std::size_t node, const AttributeSet& set) {
    ++visits;
    if (nodes[node].isKey) return true;
    for (const auto& [label, child] : nodes[node].children) {
      if (set.contains(label) && search(child, set)) return true;
    }
    return false;
  }

  std::vector<Node> nodes;
  std::uint64_t visits = 0;
};

class KeyFinder {
 public:
  KeyFinder(int attributeCount, const AttributeSet& universe,
            const std::vector<Dependency>& dependencies)
      : dependencies(dependencies),
        index(attributeCount, dependencies),
        core(universe),
        rightOnly(attributeCount),
        byRight(static_cast<std::size_t>(attributeCount)) {
    AttributeSet left(attributeCount);
    for (std::size_t d = 0; d < dependencies.size(); ++d) {
      left |= dependencies[d].left;
      core -= dependencies[d].right;
      const AttributeSet& right = dependencies[d].right;
      for (int a = right.first(); a >= 0; a = right.next(a)) {
        byRight[a].push_back(d);
      }
    }
    rightOnly = universe - core - left;
    fromCore = index.closure(core) - core;
  }

  // Attributes on no right side are in every key and need no test; those
  // on right sides only are in none: what they would give, the rest gives.
  // Every other one goes when the rest still determines it.
  // What the core determines goes at once: every superkey here holds the
  // core, so its closure keeps those attributes whatever else goes.
  AttributeSet minimize(AttributeSet superkey) {
    superkey -= rightOnly;
    superkey -= fromCore;
    const AttributeSet middle = superkey - core;
    for (int a = middle.first(); a >= 0; a = middle.next(a)) {
      superkey.erase(a);
      const AttributeSet single = AttributeSet::of(index.attributeCount(), {a});
      if (!index.implies(superkey, single)) superkey.insert(a);
    }
    return superkey;
  }

  // The superkeys X u (K - Y) of K and every dependency X -> Y whose right
  // side meets K, each once per dependency.
  template <typename Visit>
  bool forEachCandidate(const AttributeSet& key, Visit visit) {
    seen.clear();
    const AttributeSet middle = key - core;
    for (int a = middle.first(); a >= 0; a = middle.next(a)) {
      for (const std::size_t d : byRight[a]) {
        if (std::find(seen.begin(), seen.end(), d) != seen.end()) continue;
        seen.push_back(d);
        if (!visit((key - dependencies[d].right) | dependencies[d].left)) {
          return false;
        }
      }
    }
    return true;
  }

  std::vector<int> outsideCore(const AttributeSet& key) const {
    return (key - core).ids();
  }

  std::uint64_t work() const { return index.work(); }
  const AttributeSet& inEveryKey() const { return core; }
  const AttributeSet& inNoKey() const { return rightOnly; }

 private:
  const std::vector<Dependency>& dependencies;
  ClosureIndex index;
  AttributeSet core;
  // The closure of the core, less the core.
  AttributeSet fromCore;
  AttributeSet rightOnly;
  std::vector<std::vector<std::size_t>> byRight;
  std::vector<std::size_t> seen;
};

}  // namespace

KeySet findKeys(int attributeCount, const AttributeSet& universe,
                const std::vector<Dependency>& dependencies, int maxKeys,
                std::uint64_t workBudget) {
  KeyFinder finder(attributeCount, universe, dependencies);
  KeyTrie trie;
  std::vector<AttributeSet> keys;
  const auto add = [&](const AttributeSet& key) {
    trie.add(finder.outsideCore(key));
    keys.push_back(key);
  };
  KeySet result;
  result.maxKeys = maxKeys;
  add(finder.minimize(universe));
  for (std::size_t k = 0; k < keys.size() && result.complete; ++k) {
    // Copied: adding a key may move the stored ones.
    const AttributeSet key = keys[k];
    finder.forEachCandidate(key, [&](const AttributeSet& superkey) {
      // Checked for every candidate: most are dismissed by the trie, and
      // that search is work too.
      if (finder.work() + trie.work() > workBudget) {
        result.complete = false;
        result.stoppedBy = KeyStop::kWorkBudget;
        return false;
      }
      if (trie.containsKeyInside(superkey)) return true;
      if (static_cast<int>(keys.size()) >= maxKeys) {
        result.complete = false;
        result.stoppedBy = KeyStop::kMaxKeys;
        return false;
      }
      add(finder.minimize(superkey));
      return true;
    });
  }
  result.keys = std::move(keys);
  std::sort(result.keys.begin(), result.keys.end(), AttributeSet::listOrder);
  result.prime = AttributeSet(attributeCount);
  for (const AttributeSet& key : result.keys) result.prime |= key;
  result.inEveryKey = finder.inEveryKey();
  result.inNoKey = finder.inNoKey();
  return result;
}

StepList<KeyProof> keyProofs(ClosureIndex& index, const AttributeSet& universe,
                             const KeySet& keys) {
  StepList<KeyProof> proofs;
  std::size_t closures = 0;
  for (const AttributeSet& key : keys.keys) {
    // The closures cost time even when the proof is then too long to keep.
    closures += static_cast<std::size_t>(key.size()) + 1;
    if (closures > kMaxSteps) {
      proofs.complete = false;
      break;
    }
    KeyProof proof;
    proof.key = key;
    proof.closure = index.closure(key) & universe;
    std::size_t names =
        static_cast<std::size_t>(key.size() + proof.closure.size());
    for (int a = key.first(); a >= 0; a = key.next(a)) {
      AttributeSet smaller = key;
      smaller.erase(a);
      proof.without.emplace_back(a, index.closure(smaller) & universe);
      names += static_cast<std::size_t>(proof.without.back().second.size()) + 1;
    }
    if (!proofs.add(std::move(proof), names)) break;
  }
  return proofs;
}

std::string stopDescription(const KeySet& keys) {
  switch (keys.stoppedBy) {
    case KeyStop::kNone:
      return "";
    case KeyStop::kMaxKeys:
      return "the limit of " + std::to_string(keys.maxKeys) + " keys";
    case KeyStop::kWorkBudget:
      return "the work budget";
  }
  return "";
}

}  // namespace fdtools::design
