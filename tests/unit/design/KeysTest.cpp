// Keys against its definition, by brute force on random schemas of up
// to 8 attributes, with attribute sets in every form.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/Keys.h"
#include "tests/support/Oracle.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

class KeysProperties : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(KeysProperties);

TEST_P(KeysProperties, KeysAreExactlyTheMinimalSuperkeys) {
  RandomSchemas random(3);
  int several = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    const Mask all = allOf(n);
    const KeySet found = findKeys(
        n, toSet(n, all), minimalCover(n, toDependencies(n, schema.fds)), 1000);
    std::vector<Mask> keys;
    for (const AttributeSet& key : found.keys) keys.push_back(toMask(key));
    std::vector<Mask> expected = bruteKeys(all, schema.fds);
    Mask prime = 0;
    for (const Mask k : expected) prime |= k;
    std::vector<Mask> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    SCOPED_TRACE(describe(schema));
    ASSERT_TRUE(found.complete);
    ASSERT_EQ(sorted, expected);
    ASSERT_EQ(toMask(found.prime), prime);
    ASSERT_TRUE(std::is_sorted(found.keys.begin(), found.keys.end(),
                               AttributeSet::listOrder));
    several += keys.size() > 1 ? 1 : 0;
  }
  EXPECT_GT(several, kRounds / 20);
}

TEST_P(KeysProperties, KeyLimitStopsTheEnumeration) {
  // A1..A4, B1..B4 with Ai<->Bi: 16 keys.
  std::vector<MaskFd> fds;
  for (int i = 0; i < 4; ++i) {
    fds.push_back({1u << i, 1u << (i + 4)});
    fds.push_back({1u << (i + 4), 1u << i});
  }
  const std::vector<Dependency> dependencies = toDependencies(8, fds);
  const AttributeSet all = toSet(8, allOf(8));
  struct Case {
    int maxKeys;
    std::size_t keys;
    bool complete;
  };
  const Case cases[] = {
      {1, 1, false}, {15, 15, false}, {16, 16, true}, {100, 16, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.maxKeys);
    const KeySet found = findKeys(8, all, dependencies, c.maxKeys);
    EXPECT_EQ(found.keys.size(), c.keys);
    EXPECT_EQ(found.complete, c.complete);
  }
  const KeySet starved = findKeys(8, all, dependencies, 100, 10);
  EXPECT_FALSE(starved.complete);
  EXPECT_LT(starved.keys.size(), 16u);
}

}  // namespace
}  // namespace fdtools::design
