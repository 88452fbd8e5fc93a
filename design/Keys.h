// Candidate keys by Lucchesi and Osborn's enumeration: from a key K and a
// dependency X -> Y that meets K, X u (K - Y) is a superkey; minimised, it
// is a key, new unless a known key lies inside it. Polynomial per key, where
// trying every subset would be exponential in the attributes.
#ifndef DESIGN_KEYS_H_
#define DESIGN_KEYS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "design/AttributeSet.h"
#include "design/ClosureIndex.h"
#include "design/Schema.h"
#include "design/Steps.h"

namespace fdtools::design {

// What ended a key enumeration before it had every key.
enum class KeyStop {
  kNone,
  // The caller's limit on the number of keys.
  kMaxKeys,
  // The work budget of the closures.
  kWorkBudget,
  // Not enumerated: the relation's dependencies could not be projected,
  // and one key was found from F directly.
  kUnprojected,
};

struct KeySet {
  // By size, then by their ids (so by their names) element by element.
  std::vector<AttributeSet> keys;
  // False when the enumeration stopped at a limit; then `keys` holds the
  // first ones found, sorted, `prime` only their attributes, and
  // `stoppedBy` says which limit it was.
  bool complete = true;
  AttributeSet prime;
  KeyStop stoppedBy = KeyStop::kNone;
  // The key limit the enumeration ran with.
  int maxKeys = 0;
  // Attributes of the universe on no right side, which every key holds,
  // and those on right sides only, which none holds.
  AttributeSet inEveryKey;
  AttributeSet inNoKey;
  // The work the enumeration did, in the units of its budget.
  std::uint64_t work = 0;
};

// Which attributes are prime, as far as can be told without every key:
// those of the keys found, and each other one for which a key holding it
// is found; non-prime those on right sides only and those the attributes
// in every key determine. With complete keys, exact.
struct Primality {
  AttributeSet prime;
  AttributeSet nonPrime;
  // The work spent beyond the key enumeration.
  std::uint64_t work = 0;

  bool known(int attribute) const {
    return prime.contains(attribute) || nonPrime.contains(attribute);
  }
};

// Why a key is one: its closure (every attribute of the universe) and,
// for each of its attributes, the closure without it (not all of them).
struct KeyProof {
  AttributeSet key;
  AttributeSet closure;
  std::vector<std::pair<int, AttributeSet>> without;
};

// The proofs of `keys.keys` in their order, under the dependencies of
// `index` and within `universe`. Each costs a closure per attribute of
// the key; the list stops at kMaxSteps closures in all.
StepList<KeyProof> keyProofs(ClosureIndex& index, const AttributeSet& universe,
                             const KeySet& keys);

// The limit that stopped `keys`, in words ("the limit of 10 keys"); empty
// when the enumeration is complete.
std::string stopDescription(const KeySet& keys);

// `index` is over the dependencies `keys` were found under. An attribute
// is prime iff some key holds it; for each one still unknown, a superkey
// holding it is minimised, removing first what it follows from, and when
// the attribute cannot go from the result, that is a key. Stops once the
// closures of `index` did `workBudget` more work; then some stay unknown.
Primality primalityOf(ClosureIndex& index,
                      const std::vector<Dependency>& dependencies,
                      const AttributeSet& universe, const KeySet& keys,
                      std::uint64_t workBudget);

// A key holding every attribute of `part`, found as primalityOf finds
// one, if that one try finds it; adds the work it did to `work`.
std::optional<AttributeSet> keyHolding(
    ClosureIndex& index, const std::vector<Dependency>& dependencies,
    const AttributeSet& universe, const AttributeSet& nonPrime,
    const AttributeSet& part, std::uint64_t* work = nullptr);

// Enough for every key of schemas with thousands of attributes and
// dependencies when their keys number in the hundreds; a few tenths of a
// second.
constexpr std::uint64_t kKeyWorkBudget = std::uint64_t{1} << 26;
// What settling the prime attributes of one relation may add.
constexpr std::uint64_t kPrimalityWorkBudget = std::uint64_t{1} << 25;
// What every key, primality and projection search of one run may spend
// together: room for a few searches that each use up their own share.
constexpr std::uint64_t kRunWorkBudget = std::uint64_t{1} << 28;

// The keys of the relation on `universe` under `dependencies` (attributes
// of both sides inside `universe`): at most `maxKeys` of them, and no more
// once the closures have done `workBudget` work (see ClosureIndex::work).
KeySet findKeys(int attributeCount, const AttributeSet& universe,
                const std::vector<Dependency>& dependencies, int maxKeys,
                std::uint64_t workBudget = kKeyWorkBudget);

}  // namespace fdtools::design

#endif  // DESIGN_KEYS_H_
