// Projection against its definition, by brute force on random schemas of up
// to 12 attributes, with attribute sets in every form, both by listing
// subsets and by eliminating the attributes outside.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/Elimination.h"
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

// Up to 12 attributes, so that tables have many more subsets than the
// small schemas, and chains of dependencies through the attributes outside.
oracle::SmallSchema widerSchema(RandomSchemas& random) {
  oracle::SmallSchema schema;
  schema.attributes = random.between(1, 12);
  const int n = schema.attributes;
  for (int t = random.between(1, 3); t > 0; --t) {
    schema.tables.push_back(random.subset(n, 1, n));
  }
  for (int f = random.between(0, 16); f > 0; --f) {
    schema.fds.push_back({random.subset(n, 0, 3), random.subset(n, 1, 2)});
  }
  return schema;
}

void expectEquivalentWithin(Mask table, const std::vector<MaskFd>& projected,
                            const std::vector<MaskFd>& fds) {
  for (const MaskFd& fd : projected) {
    ASSERT_TRUE(inside(fd.left | fd.right, table));
  }
  for (Mask x = table;; x = (x - 1) & table) {
    ASSERT_EQ(closureOf(x, projected) & table, closureOf(x, fds) & table)
        << "subset " << x;
    if (x == 0) break;
  }
}

TEST_P(ProjectionProperties, EliminationKeepsWhatHoldsInThePart) {
  RandomSchemas random(11);
  int nonTrivial = 0;
  for (int round = 0; round < kRounds / 3; ++round) {
    const oracle::SmallSchema schema = widerSchema(random);
    const int n = schema.attributes;
    // As given, not minimised: the elimination takes any set.
    const std::vector<Dependency> given = toDependencies(n, schema.fds);
    for (const Mask table : schema.tables) {
      SCOPED_TRACE(describe(schema) + "; part " + std::to_string(table));
      std::uint64_t work = 0;
      const auto eliminated =
          eliminateOutside(n, toSet(n, table), given, ~std::uint64_t{0}, &work);
      ASSERT_TRUE(eliminated);
      nonTrivial += eliminated->empty() ? 0 : 1;
      expectEquivalentWithin(table, toMasks(*eliminated), schema.fds);
    }
  }
  EXPECT_GT(nonTrivial, kRounds / 10);
}

TEST_P(ProjectionProperties, ProjectingByResolutionMatchesListing) {
  RandomSchemas random(12);
  for (int round = 0; round < kRounds / 3; ++round) {
    const oracle::SmallSchema schema = widerSchema(random);
    const int n = schema.attributes;
    const std::vector<Dependency> cover =
        minimalCover(n, toDependencies(n, schema.fds));
    Projector listing(n, cover);
    Projector resolving(n, cover, 0);
    for (const Mask table : schema.tables) {
      SCOPED_TRACE(describe(schema) + "; table " + std::to_string(table));
      const Projection listed = listing.project(toSet(n, table));
      const Projection resolved = resolving.project(toSet(n, table));
      ASSERT_FALSE(listed.undecided);
      ASSERT_FALSE(resolved.undecided);
      expectEquivalentWithin(table, toMasks(resolved.cover),
                             toMasks(listed.cover));
      // Minimal: no dependency follows from the others, and no
      // left-side attribute can go.
      const std::vector<MaskFd> masks = toMasks(resolved.cover);
      for (std::size_t d = 0; d < masks.size(); ++d) {
        std::vector<MaskFd> others = masks;
        others.erase(others.begin() + static_cast<std::ptrdiff_t>(d));
        EXPECT_FALSE(inside(masks[d].right, closureOf(masks[d].left, others)));
        for (Mask a = 1; a <= masks[d].left; a <<= 1) {
          if ((masks[d].left & a) == 0) continue;
          EXPECT_FALSE(
              inside(masks[d].right, closureOf(masks[d].left & ~a, masks)));
        }
      }
    }
  }
}

}  // namespace
}  // namespace fdtools::design
