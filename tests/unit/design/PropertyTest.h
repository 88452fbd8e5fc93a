// Runs a property suite once for each form an attribute set can take (see
// AttributeSet::chooseForm): the small schemas of the property tests would
// otherwise only ever meet one of them. Also the helpers the suites share.
#ifndef TESTS_UNIT_DESIGN_PROPERTYTEST_H_
#define TESTS_UNIT_DESIGN_PROPERTYTEST_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "design/AttributeSet.h"
#include "design/Chase.h"
#include "design/Multivalued.h"
#include "tests/support/MixedOracle.h"
#include "tests/support/Oracle.h"

namespace fdtools::design {

class SetFormTest : public ::testing::TestWithParam<AttributeSet::Form> {
 protected:
  void SetUp() override { previous = AttributeSet::chooseForm(GetParam()); }
  void TearDown() override { AttributeSet::chooseForm(previous); }

 private:
  AttributeSet::Form previous = AttributeSet::Form::kBySize;
};

inline std::string setFormName(
    const ::testing::TestParamInfo<AttributeSet::Form>& info) {
  switch (info.param) {
    case AttributeSet::Form::kBits:
      return "Bits";
    case AttributeSet::Form::kList:
      return "List";
    default:
      return "BySize";
  }
}

#define FDTOOLS_FOR_EVERY_SET_FORM(suite)                                      \
  INSTANTIATE_TEST_SUITE_P(                                                    \
      EverySetForm, suite,                                                     \
      ::testing::Values(AttributeSet::Form::kBySize,                           \
                        AttributeSet::Form::kBits, AttributeSet::Form::kList), \
      setFormName)

constexpr int kRounds = 3000;
// The checks and syntheses cost more per schema.
constexpr int kPropertyRounds = 2000;

// The oracle's names, for every property suite.
using oracle::bruteForm;
using oracle::bruteKeys;
using oracle::bruteProjection;
using oracle::closureOf;
using oracle::inside;
using oracle::Mask;
using oracle::MaskFd;
using oracle::RandomSchemas;
using oracle::SmallSchema;
using oracle::toDependencies;
using oracle::toMask;
using oracle::toMasks;
using oracle::toSet;

inline Mask allOf(int attributes) { return (1u << attributes) - 1; }

// Two sets of dependencies are equivalent when every subset has the same
// closure under both.
inline bool equivalent(int attributes, const std::vector<MaskFd>& a,
                       const std::vector<MaskFd>& b) {
  for (Mask x = 0; x <= allOf(attributes); ++x) {
    if (closureOf(x, a) != closureOf(x, b)) return false;
  }
  return true;
}

inline std::string describe(const SmallSchema& schema) {
  std::string text = std::to_string(schema.attributes) + " attributes; tables";
  for (const Mask t : schema.tables) text += " " + std::to_string(t);
  text += "; fds";
  for (const MaskFd& fd : schema.fds) {
    text += " " + std::to_string(fd.left) + "->" + std::to_string(fd.right);
  }
  return text;
}

// A small schema of FDs and MVDs: 1 to `maxAttributes` attributes, up to
// `maxDependencies` dependencies with sides of up to 3 attributes, one in
// `fdOneIn` of them an FD.
inline oracle::MixedSchema randomMixed(RandomSchemas& random, int maxAttributes,
                                       int maxDependencies, int fdOneIn) {
  oracle::MixedSchema schema;
  schema.attributes = random.between(1, maxAttributes);
  const int n = schema.attributes;
  for (int d = random.between(0, maxDependencies); d > 0; --d) {
    const MaskFd dependency{random.subset(n, 0, 2), random.subset(n, 1, 3)};
    (random.between(0, fdOneIn - 1) == 0 ? schema.fds : schema.mvds)
        .push_back(dependency);
  }
  return schema;
}

inline MixedImplication implicationOf(const oracle::MixedSchema& schema) {
  const int n = schema.attributes;
  return MixedImplication(n, toDependencies(n, schema.fds),
                          toDependencies(n, schema.mvds));
}

inline std::string describe(const oracle::MixedSchema& schema) {
  std::string text = std::to_string(schema.attributes) + " attributes;";
  for (const MaskFd& fd : schema.fds) {
    text += " " + std::to_string(fd.left) + "->" + std::to_string(fd.right);
  }
  for (const MaskFd& mvd : schema.mvds) {
    text += " " + std::to_string(mvd.left) + "->>" + std::to_string(mvd.right);
  }
  return text;
}

// What the tables of a small schema preserve, by the definition: every
// dependency follows from the union of their projections.
inline bool preservesAll(const std::vector<Mask>& tables,
                         const std::vector<MaskFd>& fds) {
  std::vector<MaskFd> projected;
  for (const Mask t : tables) {
    const std::vector<MaskFd> part = bruteProjection(t, fds);
    projected.insert(projected.end(), part.begin(), part.end());
  }
  return std::all_of(fds.begin(), fds.end(), [&](const MaskFd& fd) {
    return inside(fd.right, closureOf(fd.left, projected));
  });
}

// Lossless by the chase of the engine, which its own property test checks.
inline bool isLossless(int n, const std::vector<AttributeSet>& tables,
                       const std::vector<MaskFd>& fds) {
  return chase(n, tables, toDependencies(n, fds)).lossless;
}

}  // namespace fdtools::design

#endif  // TESTS_UNIT_DESIGN_PROPERTYTEST_H_
