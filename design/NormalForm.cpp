#include "design/NormalForm.h"

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
                                 int maxKeys, const KeySet* keys) {
  NormalFormResult result;
  result.attributes = attributes;
  result.keys = keys != nullptr
                    ? *keys
                    : findKeys(attributeCount, attributes, cover, maxKeys);
  if (!result.keys.complete) {
    return undecidedRelation(attributes, {"key enumeration stopped by " +
                                          stopDescription(result.keys) +
                                          ": prime attributes unknown"});
  }
  result.cover = cover;
  const AttributeSet& prime = result.keys.prime;
  ClosureIndex index(attributeCount, cover);
  bool failsBcnf = false;
  bool fails3nf = false;
  bool fails2nf = false;
  for (const Dependency& dependency : cover) {
    // The whole closure, not a test that stops once it holds everything:
    // it is the violation's reason.
    AttributeSet leftClosure = index.closure(dependency.left) & attributes;
    if (attributes.isSubsetOf(leftClosure)) continue;
    Violation violation{dependency, {NormalFormName::kBcnf}, false, {}};
    violation.reason.leftClosure = std::move(leftClosure);
    violation.reason.rightPrime = dependency.right.isSubsetOf(prime);
    failsBcnf = true;
    if (!violation.reason.rightPrime) {
      violation.violates.push_back(NormalFormName::k3nf);
      fails3nf = true;
      if (const AttributeSet* key =
              keyHoldingProperly(dependency.left, result.keys.keys)) {
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
    if (fails2nf) break;
    for (int a = key.first(); a >= 0 && !fails2nf; a = key.next(a)) {
      AttributeSet part = key;
      part.erase(a);
      const AttributeSet partClosure = index.closure(part) & attributes;
      const AttributeSet nonPrime = partClosure - prime;
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
  result.form = !failsBcnf  ? NormalFormName::kBcnf
                : !fails3nf ? NormalFormName::k3nf
                : !fails2nf ? NormalFormName::k2nf
                            : NormalFormName::k1nf;
  return result;
}

}  // namespace fdtools::design
