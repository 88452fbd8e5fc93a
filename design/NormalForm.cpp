#include "design/NormalForm.h"

#include <utility>

#include "design/ClosureIndex.h"

namespace fdtools::design {
namespace {

bool insideSomeKeyProperly(const AttributeSet& set,
                           const std::vector<AttributeSet>& keys) {
  for (const AttributeSet& key : keys) {
    if (set.isSubsetOf(key) && !(set == key)) return true;
  }
  return false;
}

}  // namespace

NormalFormResult undecidedRelation(const AttributeSet& attributes,
                                   std::string reason) {
  NormalFormResult result;
  result.attributes = attributes;
  result.decided = false;
  result.reason = std::move(reason);
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
    return undecidedRelation(
        attributes, "more than " + std::to_string(maxKeys) +
                        " keys (--max-keys): prime attributes unknown");
  }
  result.cover = cover;
  const AttributeSet& prime = result.keys.prime;
  ClosureIndex index(attributeCount, cover);
  bool failsBcnf = false;
  bool fails3nf = false;
  bool fails2nf = false;
  for (const Dependency& dependency : cover) {
    if (index.implies(dependency.left, attributes)) continue;
    Violation violation{dependency, {"BCNF"}};
    failsBcnf = true;
    if (!dependency.right.isSubsetOf(prime)) {
      violation.violates.push_back("3NF");
      fails3nf = true;
      if (insideSomeKeyProperly(dependency.left, result.keys.keys)) {
        violation.violates.push_back("2NF");
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
      const AttributeSet nonPrime = (index.closure(part) & attributes) - prime;
      for (int b = nonPrime.first(); b >= 0; b = nonPrime.next(b)) {
        result.violations.push_back(
            {{part, AttributeSet::of(attributeCount, {b})},
             {"BCNF", "3NF", "2NF"}});
        fails2nf = true;
      }
    }
  }
  result.form = !failsBcnf  ? "BCNF"
                : !fails3nf ? "3NF"
                : !fails2nf ? "2NF"
                            : "1NF";
  return result;
}

}  // namespace fdtools::design
