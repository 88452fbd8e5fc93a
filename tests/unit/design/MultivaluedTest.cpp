// The dependency basis and the closure under FDs and MVDs, against the
// chase of the oracle, which decides implication without a basis.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/Multivalued.h"
#include "tests/support/MixedOracle.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

using oracle::MixedDefinitions;
using oracle::MixedSchema;

class MultivaluedProperties : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(MultivaluedProperties);

TEST_P(MultivaluedProperties, BasisAndClosureAgreeWithTheChase) {
  RandomSchemas random(20);
  int coalesced = 0;
  int split = 0;
  for (int round = 0; round < 300; ++round) {
    // Up to 7 attributes, half the dependencies FDs.
    const MixedSchema schema = randomMixed(random, 7, 6, 2);
    const int n = schema.attributes;
    const MixedImplication implication = implicationOf(schema);
    const MixedDefinitions definitions(schema);
    SCOPED_TRACE(describe(schema));
    for (Mask x = 0; x <= allOf(n); ++x) {
      const AttributeSet set = toSet(n, x);
      const std::vector<AttributeSet> basis = implication.basis(set);
      Mask covered = 0;
      for (const AttributeSet& block : basis) {
        const Mask b = toMask(block);
        EXPECT_NE(b, 0u);
        EXPECT_EQ(covered & b, 0u) << "blocks overlap, X " << x;
        EXPECT_TRUE(definitions.multivalued(x, b))
            << "X " << x << " block " << b;
        covered |= b;
      }
      EXPECT_EQ(covered, allOf(n) & ~x) << "X " << x;
      split += basis.size() > 1 ? 1 : 0;
      // Finest: every Y the chase implies is a union of blocks.
      for (Mask y = 0; y <= allOf(n); ++y) {
        if (y & x) continue;
        EXPECT_EQ(implication.impliesMultivalued(set, toSet(n, y)),
                  definitions.multivalued(x, y))
            << "X " << x << " Y " << y;
      }
      const Mask closure = toMask(implication.closure(set));
      EXPECT_EQ(closure, definitions.closure(x)) << "X " << x;
      if (closure != closureOf(x, schema.fds)) ++coalesced;
    }
  }
  // The interaction of both kinds is exercised, not only FDs.
  EXPECT_GT(coalesced, 50);
  EXPECT_GT(split, 1000);
}

TEST(Multivalued, CoalescenceFindsAnFdNoFdImplies) {
  // A ->> B with C -> B: A -> B, since C lies outside B.
  const int n = 3;
  const MixedImplication implication(n, {{toSet(n, 4), toSet(n, 2)}},
                                     {{toSet(n, 1), toSet(n, 2)}});
  EXPECT_EQ(toMask(implication.closure(toSet(n, 1))), 3u);
  const std::vector<AttributeSet> basis = implication.basis(toSet(n, 1));
  ASSERT_EQ(basis.size(), 2u);
  EXPECT_EQ(toMask(basis[0]), 2u);
  EXPECT_EQ(toMask(basis[1]), 4u);
}

}  // namespace
}  // namespace fdtools::design
