#include "design/NormalForm.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "design/ClosureIndex.h"

namespace fdtools::design {
namespace {

const AttributeSet* keyHoldingProperly(const AttributeSet& set,
                                       const std::vector<AttributeSet>& keys) {
  for (const AttributeSet& key : keys) {
    if (set.isSubsetOf(key) && !(set == key)) return &key;
  }
  return nullptr;
}

}  // namespace

const char* formName(NormalFormName form) {
  switch (form) {
    case NormalFormName::k1nf:
      return "1NF";
    case NormalFormName::k2nf:
      return "2NF";
    case NormalFormName::k3nf:
      return "3NF";
    case NormalFormName::kBcnf:
      return "BCNF";
    case NormalFormName::k4nf:
      return "4NF";
  }
  return "";
}

bool Violation::breaks(NormalFormName form) const {
  for (const NormalFormName broken : violates) {
    if (broken == form) return true;
  }
  return false;
}

NormalFormResult undecidedRelation(const AttributeSet& attributes,
                                   Undecided why) {
  NormalFormResult result;
  result.attributes = attributes;
  result.undecided = std::move(why);
  return result;
}

NormalFormResult analyzeRelation(int attributeCount,
                                 const AttributeSet& attributes,
                                 const std::vector<Dependency>& cover,
                                 int maxKeys, const KeySet* keys,
                                 WorkBudget* budget) {
  WorkBudget own{kRunWorkBudget};
  WorkBudget& work = budget != nullptr ? *budget : own;
  NormalFormResult result;
  result.attributes = attributes;
  if (keys != nullptr) {
    result.keys = *keys;
  } else {
    result.keys = findKeys(attributeCount, attributes, cover, maxKeys,
                           work.share(kKeyWorkBudget));
    work.spend(result.keys.work);
  }
  result.cover = cover;
  ClosureIndex index(attributeCount, cover);
  // The closures of `index` are charged as they go; primality charges its
  // own, which run on the same index.
  std::uint64_t charged = index.work();
  const auto charge = [&] {
    work.spend(index.work() - charged);
    charged = index.work();
  };
  // BCNF needs no keys; 3NF needs to know which attributes are prime, and
  // without every key that is settled attribute by attribute, only as far
  // as a violation needs it.
  std::optional<Primality> primality;
  const auto isPrime = [&](const AttributeSet& set) -> std::optional<bool> {
    if (!primality) {
      charge();
      primality = primalityOf(index, cover, attributes, result.keys,
                              work.share(kPrimalityWorkBudget));
      work.spend(primality->work);
      charged = index.work();
    }
    if (set.isSubsetOf(primality->prime)) return true;
    if (set.intersects(primality->nonPrime)) return false;
    return std::nullopt;
  };
  const auto undecidedBy = [&](const std::string& what) {
    return undecidedRelation(attributes,
                             {"key enumeration stopped by " +
                              stopDescription(result.keys) + ": " + what});
  };
  bool failsBcnf = false;
  bool fails3nf = false;
  bool fails2nf = false;
  // A closure per dependency, each of which may pass over all of them:
  // quadratic, so it is bounded too.
  for (const Dependency& dependency : cover) {
    charge();
    if (work.left == 0) {
      return undecidedRelation(
          attributes,
          {"the normal-form test stopped by the work budget after " +
           std::to_string(&dependency - cover.data()) + " of " +
           std::to_string(cover.size()) + " dependencies"});
    }
    // The whole closure, not a test that stops once it holds everything:
    // it is the violation's reason.
    AttributeSet leftClosure = index.closure(dependency.left) & attributes;
    if (attributes.isSubsetOf(leftClosure)) continue;
    Violation violation{dependency, {NormalFormName::kBcnf}, false, {}};
    violation.reason.leftClosure = std::move(leftClosure);
    const std::optional<bool> rightPrime = isPrime(dependency.right);
    if (!rightPrime) return undecidedBy("prime attributes unknown");
    violation.reason.rightPrime = *rightPrime;
    failsBcnf = true;
    if (!violation.reason.rightPrime) {
      violation.violates.push_back(NormalFormName::k3nf);
      fails3nf = true;
      const AttributeSet* key =
          keyHoldingProperly(dependency.left, result.keys.keys);
      std::optional<AttributeSet> found;
      if (key == nullptr && !result.keys.complete) {
        // A key that no enumeration reached may still hold the left side.
        found = keyHolding(index, cover, attributes, primality->nonPrime,
                           dependency.left);
        if (found) key = &*found;
      }
      if (key != nullptr) {
        violation.violates.push_back(NormalFormName::k2nf);
        violation.reason.partOfKey = *key;
        fails2nf = true;
      }
    }
    result.violations.push_back(std::move(violation));
  }
  // A partial dependency need not be in the cover; look for one from each
  // maximal proper subset of each key, and add the first found.
  for (const AttributeSet& key : result.keys.keys) {
    if (fails2nf || !fails3nf) break;
    for (int a = key.first(); a >= 0 && !fails2nf; a = key.next(a)) {
      AttributeSet part = key;
      part.erase(a);
      const AttributeSet partClosure = index.closure(part) & attributes;
      const AttributeSet nonPrime = partClosure & primality->nonPrime;
      for (int b = nonPrime.first(); b >= 0; b = nonPrime.next(b)) {
        result.violations.push_back(
            {{part, AttributeSet::of(attributeCount, {b})},
             {NormalFormName::kBcnf, NormalFormName::k3nf,
              NormalFormName::k2nf},
             false,
             {partClosure, false, key}});
        fails2nf = true;
      }
    }
  }
  charge();
  if (fails3nf && !fails2nf && !result.keys.complete) {
    return undecidedBy("not in 3NF, and whether in 2NF is unknown");
  }
  result.form = !failsBcnf  ? NormalFormName::kBcnf
                : !fails3nf ? NormalFormName::k3nf
                : !fails2nf ? NormalFormName::k2nf
                            : NormalFormName::k1nf;
  return result;
}

}  // namespace fdtools::design
