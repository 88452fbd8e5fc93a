#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "report/Pipeline.h"
#include "report/TextWriter.h"

namespace fdtools::report {
namespace {

std::string textOf(Command command, const std::string& input) {
  Options options;
  options.command = command;
  const Outcome outcome = run(input, std::nullopt, options);
  EXPECT_FALSE(outcome.error);
  std::ostringstream out;
  writeText(out, outcome.answers);
  return out.str();
}

TEST(TextWriter, TheEmptyNameIsVisible) {
  const std::string text = textOf(Command::kCover, "A,,B\n\nA->,\n");
  EXPECT_NE(text.find("attributes: {'',A,B}\n"), std::string::npos) << text;
  EXPECT_NE(text.find("cover 0: {A} -> {''}\n"), std::string::npos) << text;
}

TEST(TextWriter, ASmallReportLineByLine) {
  // Also the order of a violation's forms, strongest first.
  EXPECT_EQ(textOf(Command::kNormalForms, "A,B\nB,C\n\nB->C\n"),
            "read as: strict format\n"
            "attributes: {A,B,C}\n"
            "table 0: {A,B}\n"
            "table 1: {B,C}\n"
            "dependency 0: {B} -> {C}\n"
            "\n== normal forms ==\n"
            "schema: {A,B,C}\n"
            "schema form: 1NF\n"
            "schema key 0: {A,B}\n"
            "schema cover 0: {B} -> {C}\n"
            "schema violation: {B} -> {C} breaks BCNF 3NF 2NF\n"
            "table 0: {A,B}\n"
            "table 0 form: BCNF\n"
            "table 0 key 0: {A,B}\n"
            "table 1: {B,C}\n"
            "table 1 form: BCNF\n"
            "table 1 key 0: {B}\n"
            "table 1 cover 0: {B} -> {C}\n");
}

}  // namespace
}  // namespace fdtools::report
