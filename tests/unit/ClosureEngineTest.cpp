#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "checker/ClosureEngine.h"
#include "tests/support/Oracle.h"

namespace fdtools {
namespace {

using IdList = ClosureEngine::IdList;
using Dependencies = std::vector<ClosureEngine::IdDependency>;

TEST(ClosureEngine, Cases) {
  struct Case {
    const char* name;
    int attributeCount;
    Dependencies dependencies;
    IdList start;
    IdList derived;
  };
  const Case cases[] = {
      {"chain through a two-id left side and an empty one",
       4,
       {{{{0}, {1}}}, {{{1, 2}, {3}}}, {{{}, {2}}}, {{{3}, {0}}}},
       {0},
       {1, 2, 3}},
      {"empty start, empty left side",
       3,
       {{{{}, {1}}}, {{{1}, {2}}}},
       {},
       {1, 2}},
      {"empty start, nothing unconditional", 2, {{{{0}, {1}}}}, {}, {}},
      {"repeated start id", 2, {{{{0}, {1}}}}, {0, 0}, {1}},
      {"repeated left id", 2, {{{{0, 0}, {1}}}}, {0}, {1}},
      {"empty right side", 2, {{{{0}, {}}}, {{{0}, {1}}}}, {0}, {1}},
      {"trivial dependency adds nothing", 2, {{{{0, 1}, {0}}}}, {0, 1}, {}},
      {"cycle ends", 2, {{{{0}, {1}}}, {{{1}, {0}}}}, {0}, {1}},
      {"start ids never returned",
       3,
       {{{{0}, {1}}}, {{{1}, {0, 2}}}},
       {0},
       {1, 2}},
      {"left side not fully met", 3, {{{{0, 1}, {2}}}}, {0}, {}},
      {"many right ids at once", 5, {{{{0}, {4, 1, 3}}}}, {0}, {1, 3, 4}},
      // Found as 2 then 1: few ids among many must still come out sorted.
      {"few derived among many attributes, found out of order",
       43,
       {{{{0}, {2}}}, {{{2}, {1}}}},
       {0},
       {1, 2}},
      {"no attributes", 0, {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClosureEngine engine;
    EXPECT_EQ(engine.derive(c.attributeCount, c.start, c.dependencies),
              c.derived);
  }
}

// One engine for every round, so that each call starts from scratch memory
// that an earlier, differently sized call has left behind. Up to 100
// attributes: with few ids derived among many, the result is sorted rather
// than read off the flags, and both ways must agree with the definition.
TEST(ClosureEngine, AgreesWithRepeatedApplication) {
  std::mt19937 random(20261209);
  const auto below = [&](int bound) {
    return std::uniform_int_distribution<>(0, bound - 1)(random);
  };
  const auto randomIds = [&](int attributes, int maxSize) {
    IdList ids(static_cast<std::size_t>(below(maxSize + 1)));
    for (int& id : ids) id = below(attributes);
    std::sort(ids.begin(), ids.end());
    return ids;
  };
  const auto toSet = [](const IdList& ids) {
    oracle::Set set;
    for (const int id : ids) set.set(id);
    return set;
  };
  ClosureEngine engine;
  int fewDerived = 0;
  for (int round = 0; round < 4000; ++round) {
    const int attributeCount = 1 + below(100);
    Dependencies dependencies(static_cast<std::size_t>(below(48)));
    std::vector<oracle::Fd> fds;
    for (auto& dependency : dependencies) {
      dependency = {randomIds(attributeCount, 3), randomIds(attributeCount, 3)};
      fds.push_back({toSet(dependency[0]), toSet(dependency[1])});
    }
    const IdList start = randomIds(attributeCount, 4);
    const oracle::Set derived =
        oracle::closureOf(toSet(start), fds) & ~toSet(start);
    IdList expected;
    for (int id = 0; id < attributeCount; ++id) {
      if (derived[id]) expected.push_back(id);
    }
    const std::size_t few = expected.size();
    fewDerived += (few >= 2 && few * 16 < std::size_t(attributeCount)) ? 1 : 0;
    ASSERT_EQ(engine.derive(attributeCount, start, dependencies), expected)
        << "round " << round;
  }
  EXPECT_GT(fewDerived, 200);
}

}  // namespace
}  // namespace fdtools
