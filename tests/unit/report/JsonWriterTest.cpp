#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "report/JsonWriter.h"
#include "report/Pipeline.h"

namespace fdtools::report {
namespace {

nlohmann::ordered_json jsonOf(Command command, const std::string& input,
                              const std::optional<std::string>& second = {}) {
  Options options;
  options.command = command;
  const Outcome outcome = run(input, second, options);
  EXPECT_FALSE(outcome.error);
  std::ostringstream out;
  writeJson(out, outcome.answers);
  EXPECT_EQ(out.str().back(), '\n');
  return nlohmann::ordered_json::parse(out.str());
}

std::vector<std::string> keysOf(const nlohmann::ordered_json& object) {
  std::vector<std::string> keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

TEST(JsonWriter, ReportKeysInTheirOrder) {
  const auto json = jsonOf(Command::kReport, "A,B\nB,C\n\nA->B\n");
  EXPECT_EQ(keysOf(json), (std::vector<std::string>{
                              "version", "input", "attributes", "tables",
                              "dependencies", "warnings", "keys", "cover",
                              "normalForms", "lossless", "preservation"}));
  EXPECT_EQ(json["version"], kJsonVersion);
  // The chase's cells: "a" distinguished, "bN" the symbol of row N.
  EXPECT_EQ(json["lossless"]["tableau"],
            nlohmann::json::parse(R"([["a","a","b0"],["b1","a","a"]])"));
  EXPECT_EQ(keysOf(json["normalForms"]["schema"]),
            (std::vector<std::string>{"attributes", "decided", "form", "keys",
                                      "cover", "violations"}));
}

TEST(JsonWriter, CoverWitnessesNameTheirSideOrTheirIndex) {
  const auto json = jsonOf(Command::kCheckCover, "\nA->B\nB->C\n",
                           std::string("\nA->B\nA,B->C\nA->C\n"));
  const auto& failures = json["checkCover"]["failures"];
  // B->C is not implied; in A,B->C the B is extraneous; A,B->C and A->C
  // are each redundant beside the other.
  ASSERT_EQ(failures.size(), 4u);
  EXPECT_EQ(failures[0]["property"], "equivalent");
  EXPECT_EQ(failures[0]["witness"]["from"], 1);
  EXPECT_EQ(failures[1]["property"], "no-extraneous-attribute");
  EXPECT_EQ(failures[1]["witness"]["index"], 1);
  EXPECT_EQ(failures[1]["witness"]["attribute"], "B");
  EXPECT_EQ(failures[2]["property"], "no-redundant-dependency");
  EXPECT_EQ(failures[3]["witness"]["index"], 2);
  EXPECT_FALSE(failures[3]["witness"].contains("from"));
}

}  // namespace
}  // namespace fdtools::report
