#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/Schema.h"
#include "tests/support/Oracle.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

std::vector<std::string> coverOf(const std::vector<NamedDependency>& given) {
  const Schema schema({}, given);
  std::vector<std::string> lines;
  for (const Dependency& d :
       minimalCover(schema.attributeCount(), schema.dependencies())) {
    std::string line;
    for (const std::string& name : schema.namesOf(d.left)) line += name;
    line += "->";
    for (const std::string& name : schema.namesOf(d.right)) line += name;
    lines.push_back(line);
  }
  return lines;
}

TEST(Cover, Examples) {
  struct Case {
    const char* name;
    std::vector<NamedDependency> given;
    std::vector<std::string> cover;
  };
  const Case cases[] = {
      // Removing redundant dependencies first would keep C->A.
      {"extraneous attributes go before redundant dependencies",
       {{{"C"}, {"A"}}, {{"A", "C"}, {"D"}}, {{"D"}, {"A"}}},
       {"C->D", "D->A"}},
      {"right sides split, trivial parts dropped",
       {{{"A"}, {"A", "B", "C"}}},
       {"A->B", "A->C"}},
      {"duplicates collapse", {{{"A"}, {"B"}}, {{"A"}, {"B"}}}, {"A->B"}},
      {"transitive dependency is redundant",
       {{{"A"}, {"B"}}, {{"B"}, {"C"}}, {{"A"}, {"C"}}},
       {"A->B", "B->C"}},
      {"empty left side kept", {{{}, {"A"}}, {{"B"}, {"A"}}}, {"->A"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(coverOf(c.given), c.cover);
  }
}

class CoverProperties : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(CoverProperties);

TEST_P(CoverProperties, CoverIsMinimalAndEquivalent) {
  RandomSchemas random(2);
  int nonTrivial = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    const std::vector<MaskFd> cover =
        toMasks(minimalCover(n, toDependencies(n, schema.fds)));
    SCOPED_TRACE(describe(schema));
    ASSERT_TRUE(equivalent(n, cover, schema.fds));
    nonTrivial += cover.size() > 1 ? 1 : 0;
    for (std::size_t i = 0; i < cover.size(); ++i) {
      const MaskFd& fd = cover[i];
      ASSERT_EQ(__builtin_popcount(fd.right), 1) << "dependency " << i;
      ASSERT_FALSE(inside(fd.right, fd.left)) << "trivial dependency " << i;
      for (int a = 0; a < n; ++a) {
        if (!(fd.left >> a & 1)) continue;
        EXPECT_FALSE(inside(fd.right, closureOf(fd.left & ~(1u << a), cover)))
            << "extraneous attribute " << a << " in dependency " << i;
      }
      std::vector<MaskFd> rest = cover;
      rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i));
      EXPECT_FALSE(inside(fd.right, closureOf(fd.left, rest)))
          << "redundant dependency " << i;
    }
  }
  EXPECT_GT(nonTrivial, kRounds / 3);
}

}  // namespace
}  // namespace fdtools::design
