#include "join/TableJoiner.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

#include "frame/Console.h"
#include "frame/TextUtil.h"

namespace fdtools {
namespace {

// (source, column): source 0 is the left table, 1 the right one.
using OutputColumn = std::pair<int, std::size_t>;
// (left column, right column) whose cells must be equal.
using JoinCondition = std::pair<std::size_t, std::size_t>;

// Joins beyond these are refused: the nested loop examines every pair of
// rows, and a product of tables can outgrow time and memory alike. A result
// may always hold 2^22 cells, and up to four times the cells read.
constexpr std::uint64_t kMaxRowPairs = std::uint64_t{1} << 28;
constexpr std::uint64_t kMinCellLimit = std::uint64_t{1} << 22;
constexpr std::uint64_t kCellLimitPerInputCell = 4;

struct JoinPlan {
  std::vector<OutputColumn> outputColumns;
  std::vector<JoinCondition> joinConditions;
};

// Which columns the result has, and which cells must agree.
JoinPlan planJoin(const Table& left, const Table& right) {
  JoinPlan plan;
  std::map<std::string, std::size_t> keyToLeftColumn;
  for (std::size_t i = 0; i < left.columns.size(); ++i) {
    plan.outputColumns.emplace_back(0, i);
    keyToLeftColumn[columnKey(left, i)] = i;
  }
  for (std::size_t j = 0; j < right.columns.size(); ++j) {
    const auto found = keyToLeftColumn.find(columnKey(right, j));
    if (found != keyToLeftColumn.end()) {
      plan.joinConditions.emplace_back(found->second, j);
    } else {
      plan.outputColumns.emplace_back(1, j);
    }
  }
  return plan;
}

bool rowsMatch(const Table::Row& left, const Table::Row& right,
               const std::vector<JoinCondition>& conditions) {
  for (const auto& [l, r] : conditions) {
    if (left[l] != right[r]) return false;
  }
  return true;
}

void writeJoined(std::ostream& out, const std::vector<std::string>& items,
                 const char* separator) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out << separator;
    out << items[i];
  }
}

// Rows count as one cell more, as a row costs about as much as a cell.
std::uint64_t cellLimit(const std::vector<Table>& tables) {
  std::uint64_t cells = 0;
  for (const Table& table : tables) {
    cells += table.rows.size() * (table.columns.size() + 1);
  }
  return std::max(kMinCellLimit, kCellLimitPerInputCell * cells);
}

// Whether joining `left` and `right` stays within the limits. Matches are
// counted only when the row pairs alone could exceed the cell limit.
bool joinFits(const Table& left, const Table& right, std::uint64_t limit) {
  const std::uint64_t pairs =
      std::uint64_t{left.rows.size()} * std::uint64_t{right.rows.size()};
  if (pairs > kMaxRowPairs) return false;
  const JoinPlan plan = planJoin(left, right);
  const std::uint64_t rowCost = plan.outputColumns.size() + 1;
  if (pairs * rowCost <= limit) return true;
  // Stop counting as soon as the answer is known.
  const std::uint64_t maxMatches = limit / rowCost;
  std::uint64_t matches = 0;
  for (const Table::Row& a : left.rows) {
    for (const Table::Row& b : right.rows) {
      if (rowsMatch(a, b, plan.joinConditions) && ++matches > maxMatches) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

int TableJoiner::run(int argc, const char* const argv[]) {
  if (!openFiles(argc, argv, "1k.txt")) return 1;
  if (!parseHeader()) return 2;
  if (const int code = readTables(); code != 0) return code;
  console() << "Parsing the input file complete.\n";
  if (tableNames.empty()) {
    console() << "No tables in to join !\n";
    return 5;
  }
  Table result;
  if (const int code = joinNamedTables(result); code != 0) return code;
  console() << "\nJoin complete.\n";
  result.name = "result";
  writeTable(result);
  if (!outputFile.flush()) {
    console() << "Can't write output file!\n";
    return 7;
  }
  console() << "Output written.";
  return 0;
}

int TableJoiner::readTables() {
  std::string line;
  while (readLine(inputText, line)) {
    trim(line);
    if (isEmptyLine(line)) continue;
    if (!parseTableDescriptor(line)) {
      console() << "Error parsing tableDescriptor: " << line << "\n";
      return 3;
    }
    if (!readTableRows(tables.back())) {
      console() << "Error reading table data from table: " << tables.back().name
                << "\n";
      return 4;
    }
  }
  return 0;
}

int TableJoiner::joinNamedTables(Table& result) const {
  console() << "Joining the tables: ";
  // The first table is read in place rather than copied: with large
  // tables, a copy beside the first join's result doubles the peak.
  const Table* current = findOrReport(tableNames.front());
  if (current == nullptr) return 6;
  const std::uint64_t limit = cellLimit(tables);
  for (std::size_t i = 1; i < tableNames.size(); ++i) {
    const Table* next = findOrReport(tableNames[i]);
    if (next == nullptr) return 6;
    if (!joinFits(*current, *next, limit)) {
      console() << "Join result too large!\n";
      return 8;
    }
    result = naturalJoin(*current, *next);
    current = &result;
    console() << ".";
  }
  if (current != &result) result = *current;
  return 0;
}

const Table* TableJoiner::findOrReport(const std::string& name) const {
  const Table* table = findTable(name);
  if (table == nullptr) console() << "Table " << name << "not found!\n";
  return table;
}

bool TableJoiner::parseHeader() {
  std::string line;
  readLine(inputText, line);
  removeSpaces(line);
  const bool opened = stripPrefix(line, "join(");
  const bool closed = stripSuffix(line, ")");
  if (!opened || !closed) {
    console() << "Incorrect header";
    return false;
  }
  tableNames = split(line, ',');
  return true;
}

bool TableJoiner::parseTableDescriptor(std::string line) {
  Table& table = tables.emplace_back();
  const std::size_t open = line.find('(');
  if (open == std::string::npos) return false;
  table.name = line.substr(0, open);
  line.erase(0, open + 1);
  if (!stripSuffix(line, ")")) return false;
  for (const std::string& column : split(line, ',')) {
    table.columns.push_back(trimmed(column));
  }
  return true;
}

bool TableJoiner::readTableRows(Table& table) {
  std::string line;
  while (readLine(inputText, line)) {
    trim(line);
    if (isEmptyLine(line)) return true;
    Table::Row cells = split(line, ',');
    if (cells.size() != table.columns.size()) {
      for (const std::string& cell : cells) console() << cell << "|";
      console() << "\n"
                << "rszie: " << cells.size()
                << " ; colsize: " << table.columns.size() << "\n"
                << "Wrong number of columns in line: " << line << "\n";
      return false;
    }
    for (std::string& cell : cells) trim(cell);
    table.rows.push_back(std::move(cells));
  }
  return true;
}

const Table* TableJoiner::findTable(const std::string& name) const {
  for (const Table& table : tables) {
    if (table.name == name) return &table;
  }
  return nullptr;
}

Table TableJoiner::naturalJoin(const Table& left, const Table& right) const {
  const JoinPlan plan = planJoin(left, right);
  Table result;
  for (const auto& [source, c] : plan.outputColumns) {
    result.columns.push_back((source == 0 ? left : right).columns[c]);
  }
  for (const Table::Row& a : left.rows) {
    for (const Table::Row& b : right.rows) {
      if (!rowsMatch(a, b, plan.joinConditions)) continue;
      Table::Row& row = result.rows.emplace_back();
      for (const auto& [source, c] : plan.outputColumns) {
        row.push_back(source == 0 ? a[c] : b[c]);
      }
    }
  }
  return result;
}

bool TableJoiner::writeTable(const Table& table) {
  outputFile << "\n\n" << table.name << "(";
  writeJoined(outputFile, table.columns, ", ");
  outputFile << ")\n";
  for (const Table::Row& row : table.rows) {
    writeJoined(outputFile, row, ",");
    outputFile << "\n";
  }
  return true;
}

}  // namespace fdtools
