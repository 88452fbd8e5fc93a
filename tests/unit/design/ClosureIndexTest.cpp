// ClosureIndex against its definition, by brute force on random schemas of up
// to 8 attributes, with attribute sets in every form.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "design/ClosureIndex.h"
#include "tests/support/Oracle.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

class ClosureIndexProperties : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(ClosureIndexProperties);

TEST_P(ClosureIndexProperties, ClosureMatchesRepeatedApplication) {
  RandomSchemas random(1);
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    ClosureIndex index(n, toDependencies(n, schema.fds));
    for (Mask x = 0; x <= allOf(n); ++x) {
      const Mask expected = closureOf(x, schema.fds);
      ASSERT_EQ(toMask(index.closure(toSet(n, x))), expected)
          << describe(schema) << "; start " << x;
      // With a target, the answer must agree with the full closure.
      const Mask target = random.subset(n, 0, 3);
      ASSERT_EQ(index.implies(toSet(n, x), toSet(n, target)),
                inside(target, expected))
          << describe(schema) << "; start " << x << ", target " << target;
    }
  }
}

}  // namespace
}  // namespace fdtools::design
