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

// Past the dense limit the chase comes as its changed cells, in the
// lossless answer and in the check's witness alike; below it as rows.
TEST(JsonWriter, WideTableauxComeAsTheirChangedCells) {
  std::string input;
  // 2,100 rows of 2,101 columns, one more table making row 2100 whole.
  std::string all = "K";
  for (int i = 0; i < 2100; ++i) {
    input += "K,T" + std::to_string(i) + "\n";
    all += ",T" + std::to_string(i);
  }
  const std::string fds = "\nK->T1\nT1->T2\n";
  const auto lossy = jsonOf(Command::kLossless, input + fds)["lossless"];
  EXPECT_FALSE(lossy.contains("tableau"));
  const auto& compact = lossy["compactTableau"];
  EXPECT_EQ(compact["rows"], 2100);
  EXPECT_EQ(compact["columns"], 2101);
  // Row 1 had T1 already; every other row gains T1 and T2.
  ASSERT_EQ(compact["changed"].size(), 2u * 2100 - 2);
  EXPECT_EQ(
      compact["changed"][2],
      nlohmann::ordered_json::parse(R"({"row":1,"column":"T2","symbol":"a"})"));
  EXPECT_EQ(compact["distinguishedRows"], nlohmann::json::array());
  const auto whole =
      jsonOf(Command::kLossless, input + all + "\n" + fds)["lossless"];
  EXPECT_EQ(whole["lossless"], true);
  EXPECT_EQ(whole["compactTableau"]["distinguishedRows"],
            nlohmann::json::parse("[2100]"));
  const auto check =
      jsonOf(Command::kCheckDecomposition, input + fds)["checkDecomposition"];
  ASSERT_FALSE(check["failures"].empty());
  EXPECT_EQ(check["failures"][0]["witness"]["compactTableau"]["changed"],
            compact["changed"]);
  const auto narrow = jsonOf(Command::kLossless, "K,T0\nK,T1\n" + fds);
  EXPECT_FALSE(narrow["lossless"].contains("compactTableau"));
  EXPECT_EQ(narrow["lossless"]["tableau"].size(), 2u);
}

}  // namespace
}  // namespace fdtools::report
