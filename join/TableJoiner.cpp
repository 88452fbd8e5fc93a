#include "join/TableJoiner.h"

#include <cstdint>
#include <utility>

#include "frame/Console.h"
#include "frame/TextUtil.h"
#include "join/JoinPlan.h"

namespace fdtools {
namespace {

void writeJoined(std::ostream& out, const std::vector<std::string>& items,
                 const char* separator) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out << separator;
    out << items[i];
  }
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
  return finishOutput() ? 0 : 7;
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
      if (!rowsMatch(a, b, plan.conditions)) continue;
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
