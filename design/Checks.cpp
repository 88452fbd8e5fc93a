#include "design/Checks.h"

#include <optional>

#include "design/Audit.h"
#include "design/BcnfTest.h"
#include "design/ClosureIndex.h"
#include "design/DecompositionAnalysis.h"
#include "design/Keys.h"
#include "design/WorkBudget.h"

namespace fdtools::design {
namespace {

void addNonImplied(int attributeCount, const std::vector<Dependency>& these,
                   const std::vector<Dependency>& others, FileSide from,
                   std::vector<ImplicationWitness>& witnesses) {
  ClosureIndex index(attributeCount, others);
  for (std::size_t i = 0; i < these.size(); ++i) {
    if (!index.implies(these[i].left, these[i].right)) {
      witnesses.push_back({from, static_cast<int>(i)});
    }
  }
}

}  // namespace

const char* propertyName(CoverProperty property) {
  switch (property) {
    case CoverProperty::kEquivalent:
      return "equivalent";
    case CoverProperty::kSingleRightSide:
      return "single-right-side";
    case CoverProperty::kNoExtraneousAttribute:
      return "no-extraneous-attribute";
    case CoverProperty::kNoRedundantDependency:
      return "no-redundant-dependency";
  }
  return "";
}

const char* propertyName(DecompositionProperty property) {
  switch (property) {
    case DecompositionProperty::kLossless:
      return "lossless";
    case DecompositionProperty::kPreserving:
      return "preserving";
    case DecompositionProperty::k3nf:
      return "3NF";
    case DecompositionProperty::k4nf:
      return "4NF";
    case DecompositionProperty::kBcnf:
      return "BCNF";
  }
  return "";
}

std::vector<ImplicationWitness> nonImplied(
    int attributeCount, const std::vector<Dependency>& first,
    const std::vector<Dependency>& second) {
  std::vector<ImplicationWitness> witnesses;
  addNonImplied(attributeCount, first, second, FileSide::kFirst, witnesses);
  addNonImplied(attributeCount, second, first, FileSide::kSecond, witnesses);
  return witnesses;
}

std::vector<CoverFailure> checkCover(int attributeCount,
                                     const std::vector<Dependency>& given,
                                     const std::vector<Dependency>& cover) {
  std::vector<CoverFailure> failures;
  for (const ImplicationWitness& w : nonImplied(attributeCount, given, cover)) {
    failures.push_back({CoverProperty::kEquivalent, w.from, w.index, -1});
  }
  for (std::size_t i = 0; i < cover.size(); ++i) {
    if (cover[i].right.size() != 1) {
      failures.push_back({CoverProperty::kSingleRightSide, FileSide::kSecond,
                          static_cast<int>(i), -1});
    }
  }
  ClosureIndex index(attributeCount, cover);
  for (std::size_t i = 0; i < cover.size(); ++i) {
    const AttributeSet& left = cover[i].left;
    for (int a = left.first(); a >= 0; a = left.next(a)) {
      AttributeSet smaller = left;
      smaller.erase(a);
      if (index.implies(smaller, cover[i].right)) {
        failures.push_back({CoverProperty::kNoExtraneousAttribute,
                            FileSide::kSecond, static_cast<int>(i), a});
      }
    }
  }
  for (std::size_t i = 0; i < cover.size(); ++i) {
    if (index.implies(cover[i].left, cover[i].right, static_cast<int>(i))) {
      failures.push_back({CoverProperty::kNoRedundantDependency,
                          FileSide::kSecond, static_cast<int>(i), -1});
    }
  }
  return failures;
}

DecompositionCheck checkDecomposition(Audit& audit,
                                      std::optional<NormalFormName> form) {
  const Schema& schema = audit.schema();
  DecompositionCheck result;
  result.chase =
      losslessJoin(schema.attributeCount(), schema.tables(), audit.cover(),
                   Tableau::kIfLossy, schema.multivalued());
  if (result.chase.undecided) {
    result.undecided =
        Undecided{"lossless join: " + result.chase.undecided->reason};
    return result;
  }
  if (!result.chase.lossless) {
    result.failures.push_back(
        {DecompositionProperty::kLossless, -1, -1, {}, {}, false});
  }
  // The verdicts and what is missing, without the passes of each test.
  const std::vector<DependencyPreservation> preservation = preservationOf(
      schema.tables(), audit.index(), schema.dependencies(), true);
  for (std::size_t i = 0; i < preservation.size(); ++i) {
    if (preservation[i].preserved) continue;
    result.failures.push_back(
        {DecompositionProperty::kPreserving, static_cast<int>(i), -1,
         schema.dependencies()[i], preservation[i].missing});
  }
  if (!form) return result;
  const DecompositionProperty property =
      *form == NormalFormName::k4nf    ? DecompositionProperty::k4nf
      : *form == NormalFormName::kBcnf ? DecompositionProperty::kBcnf
                                       : DecompositionProperty::k3nf;
  const std::vector<NormalFormResult>& tables = audit.tableForms();
  // A table too wide to analyse whole may still be shown in BCNF, or out
  // of it, without its projection; BCNF implies 3NF.
  std::optional<BcnfTester> tester;
  WorkBudget budget{kRunWorkBudget};
  for (std::size_t t = 0; t < tables.size(); ++t) {
    const NormalFormResult& relation = tables[t];
    if (relation.undecided && !schema.hasMultivalued()) {
      if (!tester)
        tester.emplace(schema.attributeCount(), audit.cover(), audit.index());
      const BcnfEvidence evidence = tester->test(relation.attributes, budget);
      if (evidence.verdict == BcnfEvidence::Verdict::kInBcnf) continue;
      if (evidence.verdict == BcnfEvidence::Verdict::kViolated &&
          *form != NormalFormName::k3nf) {
        result.failures.push_back(
            {property, -1, static_cast<int>(t), evidence.violation, {}, false});
        continue;
      }
    }
    if (relation.undecided) {
      result.undecided = Undecided{"table " + std::to_string(t) + ": " +
                                   relation.undecided->reason};
      return result;
    }
    for (const Violation& violation : relation.violations) {
      // Without MVDs no form above BCNF is listed, and then 4NF is BCNF.
      const bool breaks =
          violation.breaks(*form) || (*form == NormalFormName::k4nf &&
                                      violation.breaks(NormalFormName::kBcnf));
      if (!breaks) continue;
      result.failures.push_back({property,
                                 -1,
                                 static_cast<int>(t),
                                 violation.dependency,
                                 {},
                                 violation.multivalued});
      break;
    }
  }
  return result;
}

}  // namespace fdtools::design
