#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "join/Table.h"
#include "join/TableJoiner.h"

namespace fdtools {
namespace {

using Names = std::vector<std::string>;
using Rows = std::vector<Table::Row>;

TEST(TableJoinerHeader, Lines) {
  struct Case {
    std::string input;
    bool ok;
    Names names;
  };
  const Case cases[] = {
      {"join( A , B )\n", true, {"A", "B"}},
      {"jo in(A,B)", true, {"A", "B"}},
      {"join()", true, {}},
      {"join(A,B))", true, {"A", "B)"}},
      {"join(A)\nB(x)\n", true, {"A"}},
      {"join(A,,A)", true, {"A", "", "A"}},
      {"JOIN(A)", false, {"untouched"}},
      {"join(A", false, {"untouched"}},
      {"join A", false, {"untouched"}},
      {"join(", false, {"untouched"}},
      {"join(\tA)", true, {"\tA"}},
      {"", false, {"untouched"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    TableJoiner joiner;
    joiner.tableNames = {"untouched"};
    joiner.inputText << c.input;
    EXPECT_EQ(joiner.parseHeader(), c.ok);
    EXPECT_EQ(joiner.tableNames, c.names);
  }
}

TEST(TableJoinerDescriptor, Lines) {
  struct Case {
    std::string line;
    bool ok;
    std::string name;
    Names columns;
  };
  const Case cases[] = {
      {"Emp(id int, name text, dept)",
       true,
       "Emp",
       {"id int", "name text", "dept"}},
      {"T (a, b)", true, "T ", {"a", "b"}},
      {"(a, b)", true, "", {"a", "b"}},
      {"T(a(1), b)", true, "T", {"a(1)", "b"}},
      {"T(a, b))", true, "T", {"a", "b)"}},
      {"T()", true, "T", {}},
      {"T( , a)", true, "T", {"", "a"}},
      {"T(a, b", false, "T", {}},
      {"T a, b)", false, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TableJoiner joiner;
    EXPECT_EQ(joiner.parseTableDescriptor(c.line), c.ok);
    // A malformed line still leaves its table behind.
    ASSERT_EQ(joiner.tables.size(), 1u);
    EXPECT_EQ(joiner.tables[0].name, c.name);
    EXPECT_EQ(joiner.tables[0].columns, c.columns);
  }
}

TEST(TableJoinerRows, ReadUntilEmptyLineAndCheckTheCount) {
  struct Case {
    std::string input;
    bool ok;
    Rows rows;
    std::string rest;
  };
  const Case cases[] = {
      {" 1 ,  x y \n2,b\n\nnext", true, {{"1", "x y"}, {"2", "b"}}, "next"},
      {"1,a\n   \nnext", true, {{"1", "a"}}, "next"},
      {"1,a", true, {{"1", "a"}}, ""},
      {"", true, {}, ""},
      {"1,a\n1, 2,3\nnext", false, {{"1", "a"}}, "next"},
      {"'1,2',a\n", true, {{"'1,2'", "a"}}, ""},
      {"U(c, d)\n", true, {{"U(c", "d)"}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    TableJoiner joiner;
    Table table;
    table.columns = {"id", "name"};
    joiner.inputText << c.input;
    EXPECT_EQ(joiner.readTableRows(table), c.ok);
    EXPECT_EQ(table.rows, c.rows);
    std::string rest;
    std::getline(joiner.inputText, rest);
    EXPECT_EQ(rest, c.rest);
  }
}

TEST(TableJoinerFind, FirstOfTheSameNameAndExactBytes) {
  TableJoiner joiner;
  joiner.tables = {{"A", {"x"}, {}}, {"A", {"y"}, {}}, {"B ", {}, {}}};
  ASSERT_NE(joiner.findTable("A"), nullptr);
  EXPECT_EQ(joiner.findTable("A")->columns, Names{"x"});
  EXPECT_EQ(joiner.findTable("B"), nullptr);
  EXPECT_EQ(joiner.findTable("a"), nullptr);
}

TEST(TableJoinerKey, FirstWordWithQuotes) {
  const Table table{
      "T", {"id int", "dept", "it's text", "'first name' text", ""}, {}};
  const Names keys = {"id", "dept", "it's text", "'first name'", ""};
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(columnKey(table, i), keys[i]) << table.columns[i];
  }
}

TEST(TableJoinerNaturalJoin, Cases) {
  const Table emp{"Emp",
                  {"id int", "name text", "dept"},
                  {{"1", "Ann", "10"}, {"2", "Bob", "20"}}};
  const Table dept{"Dept", {"dept", "title"}, {{"10", "Sales"}}};
  struct Case {
    const char* name;
    Table left;
    Table right;
    Names columns;
    Rows rows;
  };
  const Case cases[] = {
      {"employees and their departments",
       emp,
       dept,
       {"id int", "name text", "dept", "title"},
       {{"1", "Ann", "10", "Sales"}}},
      {"no common key gives the Cartesian product",
       {"L", {"a"}, {{"1"}, {"2"}}},
       {"R", {"b", "c"}, {{"x", "y"}, {"z", "w"}}},
       {"a", "b", "c"},
       {{"1", "x", "y"}, {"1", "z", "w"}, {"2", "x", "y"}, {"2", "z", "w"}}},
      {"duplicate keys on both sides",
       {"L", {"k", "v"}, {{"1", "a"}, {"1", "b"}, {"2", "c"}}},
       {"R", {"k", "w"}, {{"1", "x"}, {"1", "y"}}},
       {"k", "v", "w"},
       {{"1", "a", "x"}, {"1", "a", "y"}, {"1", "b", "x"}, {"1", "b", "y"}}},
      {"every right key is a left key",
       {"L", {"k", "v"}, {{"1", "a"}, {"2", "b"}}},
       {"R", {"k"}, {{"2"}, {"2"}}},
       {"k", "v"},
       {{"2", "b"}, {"2", "b"}}},
      {"same first word, different remark",
       {"L", {"id int"}, {{"1"}}},
       {"R", {"id text", "x"}, {{"1", "y"}, {"2", "z"}}},
       {"id int", "x"},
       {{"1", "y"}}},
      {"keys are case-sensitive",
       {"L", {"ID"}, {{"1"}}},
       {"R", {"id"}, {{"2"}}},
       {"ID", "id"},
       {{"1", "2"}}},
      {"left without rows", {"L", {"k"}, {}}, dept, {"k", "dept", "title"}, {}},
      {"right without rows", emp, {"R", {"dept"}, {}}, emp.columns, {}},
      {"later left column with the key wins",
       {"L", {"k a", "k b"}, {{"1", "2"}}},
       {"R", {"k"}, {{"2"}, {"1"}}},
       {"k a", "k b"},
       {{"1", "2"}}},
      {"two right columns on one left key",
       {"L", {"k"}, {{"1"}}},
       {"R",
        {"k x", "k y", "z", "z"},
        {{"1", "1", "a", "b"}, {"1", "2", "c", "d"}}},
       {"k", "z", "z"},
       {{"1", "a", "b"}}},
      {"empty descriptors join on the empty key",
       {"L", {"", "v"}, {{"", "a"}, {"x", "b"}}},
       {"R", {"", "w"}, {{"", "c"}}},
       {"", "v", "w"},
       {{"", "a", "c"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TableJoiner joiner;
    const Table result = joiner.naturalJoin(c.left, c.right);
    EXPECT_EQ(result.name, "");
    EXPECT_EQ(result.columns, c.columns);
    EXPECT_EQ(result.rows, c.rows);
  }
}

TEST(TableJoinerNaturalJoin, TableWithItself) {
  const Table table{"T", {"a", "b"}, {{"1", "x"}, {"2", "y"}, {"1", "x"}}};
  const TableJoiner joiner;
  const Table result = joiner.naturalJoin(table, table);
  EXPECT_EQ(result.columns, table.columns);
  // Each row meets every row equal to it: the duplicate row twice over.
  EXPECT_EQ(result.rows,
            (Rows{{"1", "x"}, {"1", "x"}, {"2", "y"}, {"1", "x"}, {"1", "x"}}));
}

}  // namespace
}  // namespace fdtools
