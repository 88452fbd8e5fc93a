#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "checker/DependencyTester.h"

namespace fdtools {
namespace {

using IdList = DependencyTester::IdList;
using Lines = std::vector<std::string>;

// Parses the given lines as the two sections and numbers the names.
void load(DependencyTester& tester, const Lines& tableLines,
          const Lines& dependencyLines) {
  for (const std::string& line : tableLines) tester.parseTableLine(line);
  for (const std::string& line : dependencyLines) {
    ASSERT_TRUE(tester.parseDependencyLine(line)) << line;
  }
  ASSERT_TRUE(tester.convertNamesToIntegers());
}

TEST(DependencyTesterParse, DependencyLineSplitsAtTheFirstArrow) {
  struct Case {
    std::string line;
    DependencyTester::NameDependency parsed;
  };
  const Case cases[] = {
      {"A,B->C", {{{"A", "B"}, {"C"}}}},
      {"A->B->C", {{{"A"}, {"B->C"}}}},
      {"->C", {{{}, {"C"}}}},
      {"A->", {{{"A"}, {}}}},
      {"->", {{{}, {}}}},
      {"A , B -> C", {{{"A ", " B "}, {" C"}}}},
      {"'a->b',c->d", {{{"'a"}, {"b',c->d"}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    DependencyTester tester;
    ASSERT_TRUE(tester.parseDependencyLine(c.line));
    ASSERT_EQ(tester.dependencies.size(), 1u);
    EXPECT_EQ(tester.dependencies[0], c.parsed);
  }
}

TEST(DependencyTesterNumbering, IdsFollowByteOrderOfNames) {
  DependencyTester tester;
  load(tester, {"b,a", "a,c"}, {"c->B"});
  EXPECT_EQ(tester.attributeCount, 4);
  EXPECT_EQ(tester.tableIds, (std::vector<IdList>{{1, 2}, {1, 3}}));
  ASSERT_EQ(tester.dependencyIds.size(), 1u);
  EXPECT_EQ(tester.dependencyIds[0][DependencyTester::kLeft], IdList{3});
  EXPECT_EQ(tester.dependencyIds[0][DependencyTester::kRight], IdList{0});
}

TEST(DependencyTesterNumbering, EdgeCases) {
  struct Case {
    const char* name;
    Lines tables;
    Lines dependencies;
    int attributeCount;
    std::vector<IdList> tableIds;
  };
  const Case cases[] = {
      {"repeats kept", {"A,B,A"}, {}, 2, {{0, 0, 1}}},
      {"empty name sorts first", {"b,,a"}, {}, 3, {{0, 1, 2}}},
      {"high bytes sort after ASCII", {"\xE9,z,A"}, {}, 3, {{0, 1, 2}}},
      {"case and spaces differ", {"a,A, a,a "}, {}, 4, {{0, 1, 2, 3}}},
      {"name only in a dependency", {"B"}, {"A->C"}, 3, {{1}}},
      {"no names at all", {}, {"->", "->"}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DependencyTester tester;
    load(tester, c.tables, c.dependencies);
    EXPECT_EQ(tester.attributeCount, c.attributeCount);
    EXPECT_EQ(tester.tableIds, c.tableIds);
  }
}

TEST(DependencyTesterClosure, Cases) {
  struct Case {
    const char* name;
    Lines dependencies;
    // Names are single letters; ids follow their order, so listing every
    // letter in one table pins A=0, B=1, ...
    std::string letters;
    IdList start;
    IdList derived;
  };
  const Case cases[] = {
      {"worked example",
       {"A->B", "B,C->D", "->C", "D->A"},
       "A,B,C,D",
       {0},
       {1, 2, 3}},
      {"empty start, empty left side", {"->B", "B->C"}, "A,B,C", {}, {1, 2}},
      {"empty start, nothing unconditional", {"A->B"}, "A,B", {}, {}},
      {"repeated start id", {"A->B"}, "A,B", {0, 0}, {1}},
      {"repeated left id", {"A,A->B"}, "A,B", {0}, {1}},
      {"empty right side", {"A->", "A->B"}, "A,B", {0}, {1}},
      {"trivial dependency adds nothing", {"A,B->A"}, "A,B", {0, 1}, {}},
      {"cycle ends", {"A->B", "B->A"}, "A,B", {0}, {1}},
      {"start ids never returned", {"A->B", "B->A,C"}, "A,B,C", {0}, {1, 2}},
      {"left side not fully met", {"A,B->C"}, "A,B,C", {0}, {}},
      {"no attributes", {}, "", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DependencyTester tester;
    load(tester, {c.letters}, c.dependencies);
    EXPECT_EQ(tester.closure(c.start, tester.dependencyIds), c.derived);
  }
}

struct PreservationCase {
  const char* name;
  Lines tables;
  Lines dependencies;
  std::vector<bool> preserved;
};

TEST(DependencyTesterPreservation, IsPreserved) {
  const PreservationCase cases[] = {
      {"chain through two tables in one pass",
       {"A,B", "B,C"},
       {"A->B", "B->C", "A->C"},
       {true, true, true}},
      {"lost when split apart",
       {"A,B,C", "C,D"},
       {"A->B", "B,C->D"},
       {true, false}},
      {"cycle preserved only through both tables",
       {"A,B", "B,C"},
       {"A->B", "B->C", "C->A"},
       {true, true, true}},
      {"address schema",
       {"Street,Zip", "Zip,City"},
       {"Street,City->Zip", "Zip->City"},
       {false, true}},
      {"empty left side", {"A"}, {"->X,Y"}, {true}},
      {"empty right side", {"A"}, {"B->"}, {true}},
      {"trivial, in no table", {"A"}, {"X,Y->X"}, {true}},
      {"no tables",
       {},
       {"A->B", "A->A", "->C", "A->C"},
       {false, true, true, true}},
      {"reached from the empty set", {"A"}, {"->B", "A->B"}, {true, true}},
      {"both sides in one table", {"A,B,C"}, {"A->B,C"}, {true}},
      {"repeated right name", {"A,B"}, {"A->B,B", "A->B,C,C"}, {true, false}},
      {"needs two passes",
       {"A,B", "C,D", "B,C"},
       {"A->B", "B->C", "C->D", "A->D"},
       {true, true, true, true}},
  };
  for (const PreservationCase& c : cases) {
    SCOPED_TRACE(c.name);
    DependencyTester tester;
    load(tester, c.tables, c.dependencies);
    ASSERT_EQ(tester.dependencyIds.size(), c.preserved.size());
    for (std::size_t i = 0; i < c.preserved.size(); ++i) {
      EXPECT_EQ(tester.isPreserved(tester.dependencyIds[i]), c.preserved[i])
          << "dependency " << i;
    }
  }
}

// The textbook definition by brute force over bit sets: X->Y is preserved
// when Y lies in the closure of X under the union over tables R of
// { S -> (S+ within R) : S a subset of R }.
class BruteForce {
 public:
  using Set = std::uint32_t;
  struct Fd {
    Set left;
    Set right;
  };

  static Set closure(Set start, const std::vector<Fd>& fds) {
    Set result = start;
    for (bool grew = true; grew;) {
      grew = false;
      for (const Fd& fd : fds) {
        if ((fd.left & ~result) == 0 && (fd.right & ~result) != 0) {
          result |= fd.right;
          grew = true;
        }
      }
    }
    return result;
  }

  static bool preserved(const Fd& fd, const std::vector<Set>& tables,
                        const std::vector<Fd>& fds) {
    std::vector<Fd> projected;
    for (const Set table : tables) {
      for (Set s = table;; s = (s - 1) & table) {
        projected.push_back({s, closure(s, fds) & table});
        if (s == 0) break;
      }
    }
    return (fd.right & ~closure(fd.left, projected)) == 0;
  }
};

std::string namesOf(BruteForce::Set set) {
  std::string names;
  for (int a = 0; a < 6; ++a) {
    if ((set >> a & 1) == 0) continue;
    if (!names.empty()) names += ',';
    names += static_cast<char>('A' + a);
  }
  return names;
}

TEST(DependencyTesterPreservation, AgreesWithTheTextbookDefinition) {
  std::mt19937 random(20261208);
  constexpr int kAttributes = 6;
  auto randomSet = [&](int minSize, int maxSize) {
    BruteForce::Set set = 0;
    const int size = std::uniform_int_distribution<>(minSize, maxSize)(random);
    for (int i = 0; i < size; ++i) {
      set |= 1u << std::uniform_int_distribution<>(0, kAttributes - 1)(random);
    }
    return set;
  };
  int notPreserved = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<BruteForce::Set> tables(
        std::uniform_int_distribution<>(1, 5)(random));
    for (auto& table : tables) table = randomSet(1, 3);
    BruteForce::Set covered = 0;
    for (const auto table : tables) covered |= table;
    std::vector<BruteForce::Fd> fds;
    Lines tableLines;
    Lines dependencyLines;
    for (const auto table : tables) tableLines.push_back(namesOf(table));
    // Short left sides make long chains across tables, which need several
    // passes; an occasional empty side covers those paths too.
    const int fdCount = std::uniform_int_distribution<>(1, 8)(random);
    for (int i = 0; i < fdCount; ++i) {
      const BruteForce::Fd fd{randomSet(0, 2) & covered,
                              randomSet(0, 2) & covered};
      fds.push_back(fd);
      dependencyLines.push_back(namesOf(fd.left) + "->" + namesOf(fd.right));
    }
    DependencyTester tester;
    load(tester, tableLines, dependencyLines);
    for (std::size_t i = 0; i < fds.size(); ++i) {
      const bool expected = BruteForce::preserved(fds[i], tables, fds);
      notPreserved += expected ? 0 : 1;
      ASSERT_EQ(tester.isPreserved(tester.dependencyIds[i]), expected)
          << "round " << round << ", dependency " << dependencyLines[i];
    }
  }
  // The generator must produce both answers, or the comparison says little.
  EXPECT_GT(notPreserved, 100);
}

// One tester for every round, so that each call starts from buffers that
// an earlier, differently sized call has left behind.
TEST(DependencyTesterClosure, AgreesWithRepeatedApplication) {
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
    BruteForce::Set set = 0;
    for (const int id : ids) set |= 1u << id;
    return set;
  };
  DependencyTester tester;
  for (int round = 0; round < 4000; ++round) {
    tester.attributeCount = 1 + below(32);
    std::vector<DependencyTester::IdDependency> dependencies(
        static_cast<std::size_t>(below(48)));
    std::vector<BruteForce::Fd> fds;
    for (auto& dependency : dependencies) {
      dependency = {randomIds(tester.attributeCount, 3),
                    randomIds(tester.attributeCount, 3)};
      fds.push_back({toSet(dependency[0]), toSet(dependency[1])});
    }
    const IdList start = randomIds(tester.attributeCount, 4);
    const BruteForce::Set derived =
        BruteForce::closure(toSet(start), fds) & ~toSet(start);
    IdList expected;
    for (int id = 0; id < tester.attributeCount; ++id) {
      if (derived >> id & 1) expected.push_back(id);
    }
    ASSERT_EQ(tester.closure(start, dependencies), expected)
        << "round " << round;
  }
}

TEST(DependencyTesterSections, ParseSectionAssertsOnUnknownKind) {
  DependencyTester tester;
  tester.inputText << "A,B\n";
  EXPECT_EXIT(tester.parseSection(2), testing::ExitedWithCode(3),
              "^Assertion failed: 0, file DependencyTester, line [0-9]+\n$");
}

}  // namespace
}  // namespace fdtools
