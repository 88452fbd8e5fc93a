// A small table of the join tool: a name, column descriptors and rows of
// cells, all held as text.
#ifndef JOIN_TABLE_H_
#define JOIN_TABLE_H_

#include <string>
#include <vector>

namespace fdtools {

struct Table {
  using Row = std::vector<std::string>;

  // Everything in front of the descriptor line's first "(", untrimmed.
  std::string name;
  // Trimmed descriptors such as "id int": the first word is the join key,
  // the rest travels along.
  std::vector<std::string> columns;
  // Each row has one trimmed cell per column.
  std::vector<Row> rows;
};

// The join key of column `index`: the descriptor's first space-separated
// word, quotes respected. A descriptor with no word has the empty key.
std::string columnKey(const Table& table, std::size_t index);

}  // namespace fdtools

#endif  // JOIN_TABLE_H_
