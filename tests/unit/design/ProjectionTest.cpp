// Projection against its definition, by brute force on random schemas of up
// to 8 attributes, with attribute sets in every form.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/Projection.h"
#include "tests/support/Oracle.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

class ProjectionProperties : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(ProjectionProperties);

TEST_P(ProjectionProperties, ProjectionIsEquivalentToTheDefinition) {
  RandomSchemas random(4);
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    const std::vector<Dependency> cover =
        minimalCover(n, toDependencies(n, schema.fds));
    ClosureIndex index(n, cover);
    for (const Mask table : schema.tables) {
      const Projection projection =
          projectOnto(toSet(n, table), n, cover, index);
      SCOPED_TRACE(describe(schema) + "; table " + std::to_string(table));
      ASSERT_FALSE(projection.undecided);
      const std::vector<MaskFd> projected = toMasks(projection.cover);
      for (const MaskFd& fd : projected) {
        ASSERT_TRUE(inside(fd.left | fd.right, table));
      }
      const std::vector<MaskFd> expected = bruteProjection(table, schema.fds);
      // Equivalent within the table: the same closure for every subset.
      for (Mask x = table;; x = (x - 1) & table) {
        ASSERT_EQ(closureOf(x, projected) & table,
                  closureOf(x, expected) & table)
            << "subset " << x;
        if (x == 0) break;
      }
    }
  }
}

}  // namespace
}  // namespace fdtools::design
