// Deciding a table's form without its projection, against the form by the
// definitions on random schemas: whatever the evidence decides is the true
// form, its key is a key and its violations hold and break what they say;
// what it leaves undecided it narrows down correctly.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "design/ClosureIndex.h"
#include "design/Cover.h"
#include "design/FormEvidence.h"
#include "tests/support/Oracle.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

class FormEvidenceProperties : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(FormEvidenceProperties);

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_P(FormEvidenceProperties, DecidesOnlyTheTrueForm) {
  RandomSchemas random(23);
  const Undecided stop{"not projected"};
  int decided[5] = {};
  int narrowed = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    const std::vector<Dependency> cover =
        minimalCover(n, toDependencies(n, schema.fds));
    ClosureIndex index(n, cover);
    for (const Mask table : schema.tables) {
      SCOPED_TRACE(describe(schema) + "; table " + std::to_string(table));
      WorkBudget budget{kRunWorkBudget};
      const NormalFormResult result =
          formByEvidence(toSet(n, table), n, cover, index, stop, budget);
      const std::string truth = bruteForm(table, schema.fds);
      if (result.undecided) {
        const std::string& reason = result.undecided->reason;
        ASSERT_EQ(reason.rfind(stop.reason, 0), 0u) << reason;
        if (endsWith(reason, "not in BCNF, and whether in 3NF is unknown")) {
          ASSERT_NE(truth, "BCNF");
          ++narrowed;
        } else if (endsWith(reason,
                            "not in 3NF, and whether in 2NF is unknown")) {
          ASSERT_TRUE(truth == "2NF" || truth == "1NF") << truth;
          ++narrowed;
        } else {
          ASSERT_EQ(reason, stop.reason);
        }
        continue;
      }
      ASSERT_EQ(formName(result.form), truth);
      ++decided[static_cast<int>(result.form)];
      ASSERT_TRUE(result.coverStopped);
      ASSERT_TRUE(result.cover.empty());
      ASSERT_FALSE(result.keys.complete);
      const std::vector<Mask> keys = bruteKeys(table, schema.fds);
      ASSERT_EQ(result.keys.keys.size(), 1u);
      const Mask key = toMask(result.keys.keys[0]);
      ASSERT_NE(std::find(keys.begin(), keys.end(), key), keys.end());
      Mask prime = 0;
      for (const Mask k : keys) prime |= k;
      for (const Violation& violation : result.violations) {
        const Mask left = toMask(violation.dependency.left);
        const Mask right = toMask(violation.dependency.right);
        ASSERT_TRUE(inside(left | right, table));
        ASSERT_TRUE(inside(right, closureOf(left, schema.fds)));
        ASSERT_FALSE(inside(table, closureOf(left, schema.fds)));
        ASSERT_EQ(right & prime, 0u);
        ASSERT_TRUE(inside(left, key) && left != key);
      }
    }
  }
  // Both kinds of evidence, and the narrowing, do occur.
  EXPECT_GT(decided[static_cast<int>(NormalFormName::kBcnf)], 0);
  EXPECT_GT(decided[static_cast<int>(NormalFormName::k1nf)], 0);
  EXPECT_GT(narrowed, 0);
}

}  // namespace
}  // namespace fdtools::design
