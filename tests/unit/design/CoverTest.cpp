#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/Cover.h"
#include "design/Schema.h"

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

}  // namespace
}  // namespace fdtools::design
