// Chase against its definition, by brute force on random schemas of up
// to 8 attributes, with attribute sets in every form.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "design/Chase.h"
#include "design/ClosureIndex.h"
#include "tests/support/Oracle.h"
#include "tests/unit/design/PropertyTest.h"

namespace fdtools::design {
namespace {

class ChaseProperties : public SetFormTest {};
FDTOOLS_FOR_EVERY_SET_FORM(ChaseProperties);

// The chase by its definition, one row per table: while two rows agree on
// the left side of a dependency and not on a column of its right side,
// the larger symbol there becomes the smaller throughout the column.
std::vector<std::vector<int>> naiveChase(const SmallSchema& schema) {
  const int n = schema.attributes;
  std::vector<std::vector<int>> rows;
  for (std::size_t r = 0; r < schema.tables.size(); ++r) {
    std::vector<int> row(static_cast<std::size_t>(n));
    for (int a = 0; a < n; ++a) {
      row[a] = (schema.tables[r] >> a & 1) ? 0 : static_cast<int>(r) + 1;
    }
    rows.push_back(row);
  }
  const auto agree = [&](std::size_t r, std::size_t s, Mask on) {
    for (int a = 0; a < n; ++a) {
      if ((on >> a & 1) && rows[r][a] != rows[s][a]) return false;
    }
    return true;
  };
  for (bool changed = true; changed;) {
    changed = false;
    for (const MaskFd& fd : schema.fds) {
      for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t s = 0; s < rows.size(); ++s) {
          if (!agree(r, s, fd.left)) continue;
          for (int a = 0; a < n; ++a) {
            if (!(fd.right >> a & 1) || rows[r][a] == rows[s][a]) continue;
            const int keep = std::min(rows[r][a], rows[s][a]);
            const int drop = std::max(rows[r][a], rows[s][a]);
            for (auto& row : rows) {
              if (row[a] == drop) row[a] = keep;
            }
            changed = true;
          }
        }
      }
    }
  }
  return rows;
}

// The final tableau is unique (each cell ends with the least symbol of its
// class), so the chase with steps, which applies the dependencies one by
// one, the chase without, which applies those of one left side together,
// and the compact tableau of a schema too wide to keep whole all end in
// the naive chase's tableau.
TEST_P(ChaseProperties, EveryWayOfChasingEndsInTheNaiveTableau) {
  RandomSchemas random(9);
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    SCOPED_TRACE(describe(schema));
    std::vector<AttributeSet> tables;
    for (const Mask t : schema.tables) tables.push_back(toSet(n, t));
    const std::vector<std::vector<int>> expected = naiveChase(schema);
    const std::vector<Dependency> fds = toDependencies(n, schema.fds);
    const ChaseResult grouped = chase(n, tables, fds);
    ASSERT_FALSE(grouped.compact);
    ASSERT_EQ(grouped.tableau, expected);
    ChaseSteps steps;
    ASSERT_EQ(chase(n, tables, fds, &steps).tableau, expected);
    if (round % 500 != 0 || tables.empty()) continue;
    // Columns that every table holds, enough to pass the dense limit: they
    // stay distinguished, so the changed cells and the distinguished rows
    // are those of the small tableau.
    const int wide =
        n + static_cast<int>(kMaxDenseTableauCells / tables.size()) + 1;
    std::vector<AttributeSet> widened;
    for (const AttributeSet& table : tables) {
      AttributeSet t = AttributeSet::all(wide);
      for (int a = 0; a < n; ++a) {
        if (!table.contains(a)) t.erase(a);
      }
      widened.push_back(std::move(t));
    }
    std::vector<Dependency> widenedFds;
    for (const MaskFd& fd : schema.fds) {
      widenedFds.push_back({toSet(wide, fd.left), toSet(wide, fd.right)});
    }
    const ChaseResult compact = chase(wide, widened, widenedFds);
    ASSERT_TRUE(compact.compact);
    EXPECT_TRUE(compact.tableau.empty());
    std::vector<std::vector<int>> rebuilt;
    for (std::size_t r = 0; r < tables.size(); ++r) {
      std::vector<int> row(static_cast<std::size_t>(n));
      for (int a = 0; a < n; ++a) {
        row[a] = tables[r].contains(a) ? 0 : static_cast<int>(r) + 1;
      }
      rebuilt.push_back(row);
    }
    std::vector<int> distinguished;
    for (std::size_t r = 0; r < expected.size(); ++r) {
      if (std::all_of(expected[r].begin(), expected[r].end(),
                      [](int s) { return s == 0; })) {
        distinguished.push_back(static_cast<int>(r));
      }
    }
    for (std::size_t i = 0; i < compact.changed.size(); ++i) {
      const ChangedCell& cell = compact.changed[i];
      ASSERT_LT(cell.column, n);
      if (i > 0) {
        const ChangedCell& before = compact.changed[i - 1];
        ASSERT_TRUE(before.row < cell.row ||
                    (before.row == cell.row && before.column < cell.column));
      }
      EXPECT_NE(rebuilt[cell.row][cell.column], cell.symbol);
      rebuilt[cell.row][cell.column] = cell.symbol;
    }
    EXPECT_EQ(rebuilt, expected);
    EXPECT_EQ(compact.distinguishedRows, distinguished);
    EXPECT_EQ(compact.lossless, grouped.lossless);
  }
}

TEST_P(ChaseProperties, ChaseOfTwoTablesMatchesTheIntersectionTest) {
  RandomSchemas random(6);
  int lossless = 0;
  for (int round = 0; round < kRounds; ++round) {
    SmallSchema schema = random.next();
    const int n = schema.attributes;
    // Two tables that cover every attribute: lossless exactly when their
    // intersection determines one of them.
    const Mask first = random.subset(n, 1, n);
    const Mask second = (allOf(n) & ~first) | random.subset(n, 0, 2);
    const ChaseResult result = chase(n, {toSet(n, first), toSet(n, second)},
                                     toDependencies(n, schema.fds));
    const Mask common = closureOf(first & second, schema.fds);
    SCOPED_TRACE(describe(schema) + "; tables " + std::to_string(first) + ", " +
                 std::to_string(second));
    EXPECT_EQ(result.lossless, inside(first, common) || inside(second, common));
    lossless += result.lossless ? 1 : 0;
  }
  EXPECT_GT(lossless, kRounds / 10);
  EXPECT_LT(lossless, kRounds * 9 / 10);
}

TEST_P(ChaseProperties, ChaseEndsInATableauThatSatisfiesEveryDependency) {
  RandomSchemas random(7);
  int quickYes = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SmallSchema schema = random.next();
    const int n = schema.attributes;
    std::vector<AttributeSet> tables;
    for (const Mask t : schema.tables) tables.push_back(toSet(n, t));
    const ChaseResult result = chase(n, tables, toDependencies(n, schema.fds));
    SCOPED_TRACE(describe(schema));
    bool anyDistinguished = false;
    for (std::size_t r = 0; r < result.tableau.size(); ++r) {
      bool all = true;
      for (int a = 0; a < n; ++a) {
        const int symbol = result.tableau[r][a];
        // A table's own columns stay distinguished; other symbols come
        // from a row at or before this one.
        if (schema.tables[r] >> a & 1) {
          ASSERT_EQ(symbol, 0);
        }
        ASSERT_LE(symbol, static_cast<int>(r) + 1);
        all = all && symbol == 0;
      }
      anyDistinguished |= all;
      for (std::size_t s = 0; s < result.tableau.size(); ++s) {
        for (const MaskFd& fd : schema.fds) {
          bool agree = true;
          for (int a = 0; a < n; ++a) {
            if (fd.left >> a & 1) {
              agree &= result.tableau[r][a] == result.tableau[s][a];
            }
          }
          if (!agree) continue;
          for (int a = 0; a < n; ++a) {
            if (fd.right >> a & 1) {
              ASSERT_EQ(result.tableau[r][a], result.tableau[s][a])
                  << "rows " << r << " and " << s << ", attribute " << a;
            }
          }
        }
      }
    }
    EXPECT_EQ(result.lossless, anyDistinguished);
    // The quick test is sound: it never says lossless when the chase
    // does not.
    const bool quick =
        losslessThroughTables(n, tables, toDependencies(n, schema.fds));
    EXPECT_TRUE(!quick || result.lossless);
    quickYes += quick ? 1 : 0;
  }
  EXPECT_GT(quickYes, kRounds / 10);
}

}  // namespace
}  // namespace fdtools::design
