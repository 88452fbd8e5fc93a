// Reads a whole input text into a DependencyTester as fdcheck reads an
// input file: the table section, the dependency section, the numbering.
#ifndef TESTS_UNIT_CHECKERINPUT_H_
#define TESTS_UNIT_CHECKERINPUT_H_

#include <gtest/gtest.h>

#include <string>

#include "checker/DependencyTester.h"

namespace fdtools {

inline ::testing::AssertionResult loadCheckerInput(DependencyTester& tester,
                                                   const std::string& text) {
  tester.inputText << text;
  if (!tester.parseSection(DependencyTester::kTableSection)) {
    return ::testing::AssertionFailure() << "the table section was refused";
  }
  if (!tester.parseSection(DependencyTester::kDependencySection)) {
    return ::testing::AssertionFailure() << "a dependency line was refused";
  }
  if (!tester.convertNamesToIntegers()) {
    return ::testing::AssertionFailure() << "the names were not numbered";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace fdtools

#endif  // TESTS_UNIT_CHECKERINPUT_H_
