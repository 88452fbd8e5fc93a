#include <gtest/gtest.h>

#include "frame/Fatal.h"

namespace fdtools {
namespace {

TEST(FatalAssertion, EndsWithStatusThreeAndNamesTheSource) {
  const int zero = 0;
  EXPECT_EXIT(FD_ASSERT(zero == 1), testing::ExitedWithCode(3),
              "^Assertion failed: zero == 1, file FatalTest, line [0-9]+\n$");
}

TEST(FatalAssertion, TrueConditionIsEvaluatedOnceAndGoesOn) {
  int evaluations = 0;
  FD_ASSERT(++evaluations == 1);
  EXPECT_EQ(evaluations, 1);
}

}  // namespace
}  // namespace fdtools
