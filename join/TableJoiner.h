// The table join tool: reads a "join(A, B, ...)" header and table blocks,
// natural-joins the named tables from left to right and appends the result
// table to the output file.
//
// A block is a descriptor line "Name(col1 type, col2, ...)" followed by data
// rows of comma-separated cells, and ends at a line that is empty after
// trimming or at the end of the input.
#ifndef JOIN_TABLEJOINER_H_
#define JOIN_TABLEJOINER_H_

#include <string>
#include <vector>

#include "frame/ToolBase.h"
#include "join/Table.h"

namespace fdtools {

class TableJoiner : public ToolBase {
 public:
  // One whole run. Returns 0 when the result was written; 1 when the files
  // could not be set up, 2 for a bad header, 3 for a bad descriptor line, 4
  // for a row with the wrong number of cells, 5 when the header names no
  // table, 6 when a named table is missing, 7 when the output file could not
  // be written, 8 when a join would be too large to compute (hundreds of
  // millions of row pairs, or a result far larger than the input). Every
  // outcome has been reported on the console.
  int run(int argc, const char* const argv[]);

  // Reads the first line as "join(names)", spaces ignored, into
  // `tableNames`. On false it has printed "Incorrect header".
  bool parseHeader();
  // Appends a table named by `line` (already trimmed) to `tables`; the table
  // stays there, empty, when the line is malformed and false is returned.
  // Prints nothing.
  bool parseTableDescriptor(std::string line);
  // Reads data rows into `table` up to an empty line or the end of the
  // input. On false a row had the wrong number of cells; that has been
  // printed, and the rows before it stay.
  bool readTableRows(Table& table);
  // The first table called `name`, or nullptr.
  const Table* findTable(const std::string& name) const;

  // Rows of `left` and `right` whose cells agree on every column key they
  // share; all left columns, then the right columns with a key of their own.
  Table naturalJoin(const Table& left, const Table& right) const;

  // Appends `table` to `outputFile` as "name(col, col)" and one line of
  // comma-separated cells per row. Always true.
  bool writeTable(const Table& table);

  std::vector<std::string> tableNames;
  std::vector<Table> tables;

 private:
  // Reads every table block; returns the run's code, 0 when all were good.
  int readTables();
  // Joins the named tables into `result`; returns the run's code, 0 on
  // success, after printing what went wrong.
  int joinNamedTables(Table& result) const;
  const Table* findOrReport(const std::string& name) const;
};

}  // namespace fdtools

#endif  // JOIN_TABLEJOINER_H_
