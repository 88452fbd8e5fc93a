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
  result.work = finder.work() + trie.work();
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

std::optional<AttributeSet> keyHolding(
    ClosureIndex& index, const std::vector<Dependency>& dependencies,
    const AttributeSet& universe, const AttributeSet& nonPrime,
    const AttributeSet& part, std::uint64_t* work) {
  if (part.intersects(nonPrime)) return std::nullopt;
  const std::uint64_t closures = index.work();
  std::uint64_t passes = 0;
  AttributeSet key = universe - nonPrime;
  if (!index.implies(key, universe)) key = universe;
  // What `part` follows from goes first, so that `part` is left needed.
  AttributeSet before = part;
  for (bool grew = true; grew; ++passes) {
    grew = false;
    for (const Dependency& dependency : dependencies) {
      if (dependency.right.intersects(before) &&
          !dependency.left.isSubsetOf(before)) {
        before |= dependency.left;
        grew = true;
      }
    }
  }
  const auto drop = [&](const AttributeSet& candidates) {
    for (int b = candidates.first(); b >= 0; b = candidates.next(b)) {
      if (!key.contains(b)) continue;
      key.erase(b);
      if (!index.implies(key, universe)) key.insert(b);
    }
  };
  drop((before & key) - part);
  drop(key - part);
  bool needed = true;
  for (int a = part.first(); a >= 0 && needed; a = part.next(a)) {
    AttributeSet without = key;
    without.erase(a);
    needed = !index.implies(without, universe);
  }
  if (work != nullptr) {
    *work += index.work() - closures + passes * dependencies.size();
  }
  if (!needed) return std::nullopt;
  return key;
}

Primality primalityOf(ClosureIndex& index,
                      const std::vector<Dependency>& dependencies,
                      const AttributeSet& universe, const KeySet& keys,
                      std::uint64_t workBudget) {
  Primality result;
  result.prime = keys.prime;
  if (keys.complete) {
    result.nonPrime = universe - keys.prime;
    return result;
  }
  // Every key holds the core, so what the core determines is in none.
  result.nonPrime =
      keys.inNoKey |
      ((index.closure(keys.inEveryKey) & universe) - keys.inEveryKey);
  result.prime |= keys.inEveryKey;
  const int n = index.attributeCount();
  std::vector<std::vector<std::size_t>> byLeft(static_cast<std::size_t>(n));
  for (std::size_t d = 0; d < dependencies.size(); ++d) {
    const AttributeSet& left = dependencies[d].left;
    for (int b = left.first(); b >= 0; b = left.next(b)) byLeft[b].push_back(d);
  }
  std::vector<char> used(dependencies.size());
  const AttributeSet unknown = universe - result.prime - result.nonPrime;
  for (int a = unknown.first(); a >= 0; a = unknown.next(a)) {
    if (result.work > workBudget) break;
    if (result.prime.contains(a)) continue;
    // What follows, through any dependency, from a and what it reaches: a
    // key K holding a gets every other attribute without it, since their
    // derivations from K need nothing downstream of a. So if the rest
    // determines a, K - {a} is a superkey and a is in no key; and if the
    // rest with a is a superkey, minimising it keeps a: a is prime.
    AttributeSet downstream = AttributeSet::of(n, {a});
    std::vector<int> queue = {a};
    std::fill(used.begin(), used.end(), 0);
    while (!queue.empty()) {
      const int b = queue.back();
      queue.pop_back();
      for (const std::size_t d : byLeft[b]) {
        ++result.work;
        if (used[d]) continue;
        used[d] = 1;
        const AttributeSet fresh = dependencies[d].right - downstream;
        downstream |= fresh;
        for (int c = fresh.first(); c >= 0; c = fresh.next(c)) {
          queue.push_back(c);
        }
      }
    }
    const std::uint64_t before = index.work();
    const AttributeSet rest = index.closure(universe - downstream) & universe;
    if (rest.contains(a)) {
      result.nonPrime.insert(a);
    } else if (index.implies(rest | AttributeSet::of(n, {a}), universe)) {
      result.prime.insert(a);
    }
    result.work += index.work() - before +
                   static_cast<std::uint64_t>(dependencies.size()) / 64;
    if (result.known(a)) continue;
    if (const std::optional<AttributeSet> key =
            keyHolding(index, dependencies, universe, result.nonPrime,
                       AttributeSet::of(n, {a}), &result.work)) {
      result.prime |= *key;
    }
  }
  return result;
}

std::string stopDescription(const KeySet& keys) {
  switch (keys.stoppedBy) {
    case KeyStop::kNone:
      return "";
    case KeyStop::kMaxKeys:
      return "the limit of " + std::to_string(keys.maxKeys) + " keys";
    case KeyStop::kWorkBudget:
      return "the work budget";
    case KeyStop::kUnprojected:
      return "the projection's limit";
  }
  return "";
}

}  // namespace fdtools::design
