#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "join/JoinPlan.h"

namespace fdtools {
namespace {

constexpr std::uint64_t kNoCellLimit =
    std::numeric_limits<std::uint64_t>::max();

// A table of `rows` rows with no columns: only the row count matters.
Table emptyRows(std::size_t rows) {
  return Table{"T", {}, std::vector<Table::Row>(rows)};
}

// One column `column` whose rows hold "0", "1", ... "rows-1", modulo
// `distinct`.
Table numbered(const std::string& column, int rows, int distinct) {
  Table table{"T", {column}, {}};
  for (int i = 0; i < rows; ++i)
    table.rows.push_back({std::to_string(i % distinct)});
  return table;
}

TEST(JoinPlan, ColumnsAndConditions) {
  const Table left{"L", {"k a", "v", "k b"}, {}};
  const Table right{"R", {"k", "w text", "v x"}, {}};
  const JoinPlan plan = planJoin(left, right);
  EXPECT_EQ(plan.outputColumns, (std::vector<JoinPlan::OutputColumn>{
                                    {0, 0}, {0, 1}, {0, 2}, {1, 1}}));
  // "k" joins on the later left column with that key.
  EXPECT_EQ(plan.conditions,
            (std::vector<JoinPlan::Condition>{{2, 0}, {1, 2}}));
}

TEST(JoinPlan, RowPairLimit) {
  // 2^14 * 2^14 pairs is exactly the limit; one row more is over it.
  struct Case {
    std::size_t leftRows;
    std::size_t rightRows;
    bool fits;
  };
  const Case cases[] = {
      {1u << 14, 1u << 14, true},
      {(1u << 14) + 1, 1u << 14, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.leftRows << " x " << c.rightRows);
    EXPECT_EQ(
        joinFits(emptyRows(c.leftRows), emptyRows(c.rightRows), kNoCellLimit),
        c.fits);
  }
}

TEST(JoinPlan, CellLimitCountsEachRowAsOneCellMore) {
  struct Case {
    std::vector<Table> tables;
    std::uint64_t limit;
  };
  const std::uint64_t floor = kMinCellLimit;
  const Case cases[] = {
      {{}, floor},
      // 2^20 rows of no columns are 2^20 cells, four times that the floor.
      {{emptyRows(1u << 20)}, floor},
      {{emptyRows((1u << 20) + 1)}, floor + 4},
      {{emptyRows(1u << 19), emptyRows((1u << 19) + 2)}, floor + 8},
      // Three rows of two columns are nine cells.
      {{Table{"T", {"a", "b"}, {{"1", "2"}, {"3", "4"}, {"5", "6"}}},
        emptyRows(1u << 20)},
       floor + 4 * 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit - floor);
    EXPECT_EQ(cellLimit(c.tables), c.limit);
  }
}

TEST(JoinPlan, ResultCellLimit) {
  // Ten by ten rows with no common key: 100 result rows of two cells, each
  // costing three with the row itself.
  const Table a = numbered("a", 10, 10);
  const Table b = numbered("b", 10, 10);
  // Joined on "k": each of the 10 left rows meets one right row, so 10
  // result rows of one cell (cost two) out of 100 pairs, which must be
  // counted.
  const Table k10 = numbered("k", 10, 10);
  const Table k5 = numbered("k", 10, 5);
  struct Case {
    const char* name;
    const Table& left;
    const Table& right;
    std::uint64_t limit;
    bool fits;
  };
  const Case cases[] = {
      {"every pair a row, at the limit", a, b, 300, true},
      {"every pair a row, one cell over", a, b, 299, false},
      {"matches counted, at the limit", k5, k10, 20, true},
      {"matches counted, one cell over", k5, k10, 19, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(joinFits(c.left, c.right, c.limit), c.fits);
  }
}

}  // namespace
}  // namespace fdtools
