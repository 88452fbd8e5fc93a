#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "design/InputFormat.h"
#include "report/JsonWriter.h"
#include "report/Pipeline.h"
#include "report/TextWriter.h"

namespace fdtools::report {
namespace {

const char kPairs[] = "\nA1->B1\nB1->A1\nA2->B2\nB2->A2\nA3->B3\nB3->A3\n";

Outcome runCommand(Command command, const std::string& text,
                   int maxKeys = design::kDefaultMaxKeys) {
  Options options;
  options.command = command;
  options.maxKeys = maxKeys;
  return run(text, std::nullopt, options);
}

std::string textOf(const Answers& answers) {
  std::ostringstream out;
  writeText(out, answers);
  return out.str();
}

nlohmann::ordered_json jsonOf(const Answers& answers) {
  std::ostringstream out;
  writeJson(out, answers);
  return nlohmann::ordered_json::parse(out.str());
}

TEST(Pipeline, ErrorsNameTheInputAndLine) {
  struct Case {
    std::string text;
    std::optional<std::string> second;
    Command command;
    std::string attributes;
    int input;
    int line;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"A,B\n\nA->B\nA-B\n", std::nullopt, Command::kKeys, "", 0, 4,
       "no \"->\" in dependency line: A-B"},
      {"A,B\n\nA->B\n", std::string("\nB\n"), Command::kEquivalent, "", 1, 2,
       "no \"->\" in dependency line: B"},
      {"A,B\n\nA->B\n", std::nullopt, Command::kClosure, "A,C", 0, 0,
       "attribute not in the schema: C"},
      {"'a\n'b\n\n'a->'b\n", std::nullopt, Command::kSynthesize, "", 0, 0,
       "cannot write the decomposition as an input file: table 0: the names "
       "''a' and ''b' both leave a quote open"},
  };
  for (const Case& c : cases) {
    Options options;
    options.command = c.command;
    options.attributes = c.attributes;
    const Outcome outcome = run(c.text, c.second, options);
    ASSERT_TRUE(outcome.error) << c.text;
    EXPECT_EQ(outcome.error->input, c.input);
    EXPECT_EQ(outcome.error->lineNumber, c.line);
    EXPECT_EQ(outcome.error->message, c.message);
  }
}

TEST(Pipeline, WarningsOfTheAnswersReachBothWriters) {
  const Outcome outcome = runCommand(Command::kKeys, kPairs, 2);
  ASSERT_FALSE(outcome.error);
  const std::string warning =
      "key enumeration stopped by the limit of 2 keys: the keys listed are "
      "not all, nor are the prime attributes";
  EXPECT_NE(textOf(outcome.answers).find("warning: " + warning + "\n"),
            std::string::npos);
  EXPECT_EQ(jsonOf(outcome.answers)["warnings"].back(), warning);
  EXPECT_NE(textOf(outcome.answers).find("(stopped by the limit of 2 keys)"),
            std::string::npos);
}

TEST(Pipeline, OnlyTheAskedPartsAreComputed) {
  const Outcome report = runCommand(Command::kReport, "A,B\nB,C\n\nA->B\n");
  ASSERT_FALSE(report.error);
  const Answers& a = report.answers;
  EXPECT_TRUE(a.keys && a.cover && a.normalForms && a.lossless &&
              a.preservation);
  EXPECT_FALSE(a.closure || a.synthesis || a.equivalent || a.checkCover ||
               a.checkDecomposition);
  const nlohmann::ordered_json json = jsonOf(a);
  std::vector<std::string> keys;
  for (const auto& item : json.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{
                      "version", "input", "attributes", "tables",
                      "dependencies", "warnings", "keys", "cover",
                      "normalForms", "lossless", "preservation"}));
}

TEST(Pipeline, SynthesisOfNothingIsLosslessAndItsFileReadsBack) {
  for (const char* text : {"", "\n->\n"}) {
    const Outcome outcome = runCommand(Command::kSynthesize, text);
    ASSERT_FALSE(outcome.error);
    EXPECT_TRUE(outcome.answers.synthesis->lossless) << text;
    EXPECT_TRUE(outcome.answers.synthesis->tables.empty());
  }
  const Outcome outcome = runCommand(
      Command::kSynthesize, "Student, Name, Dept\n\nStudent-> Name, Dept\n");
  ASSERT_FALSE(outcome.error);
  const std::string& file = outcome.answers.synthesis->file;
  EXPECT_EQ(file, "Student, Dept, Name\n\nStudent-> Name, Dept\n");
  const Outcome again = runCommand(Command::kPreserve, file);
  ASSERT_FALSE(again.error);
  EXPECT_TRUE(again.answers.preservation->at(0).preserved);
  EXPECT_EQ(jsonOf(outcome.answers)["synthesis"]["file"], file);
}

TEST(Pipeline, ChecksSetTheExitStatus) {
  struct Case {
    Command command;
    std::string text;
    std::optional<std::string> second;
    int status;
  };
  const std::vector<Case> cases = {
      {Command::kEquivalent, "\nA->B\n", std::string("\nA->B\nA->B\n"), 0},
      {Command::kEquivalent, "\nA->B\n", std::string("\nB->A\n"), 1},
      {Command::kCheckCover, "\nA->B,C\n", std::string("\nA->B\nA->C\n"), 0},
      {Command::kCheckCover, "\nA->B,C\n", std::string("\nA->B,C\n"), 1},
      {Command::kCheckDecomposition, "A,B\nB,C\n\nB->C\n", std::nullopt, 0},
      {Command::kCheckDecomposition, "A,B\nB,C\n\nA->C\n", std::nullopt, 1},
      // Not a check: a lossy join is an answer, not a failure.
      {Command::kLossless, "A,B\nC\n\n", std::nullopt, 0},
  };
  for (const Case& c : cases) {
    Options options;
    options.command = c.command;
    const Outcome outcome = run(c.text, c.second, options);
    ASSERT_FALSE(outcome.error);
    EXPECT_EQ(outcome.answers.exitStatus(), c.status) << c.text;
  }
}

}  // namespace
}  // namespace fdtools::report
