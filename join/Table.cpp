#include "join/Table.h"

#include "frame/TextUtil.h"

namespace fdtools {

std::string columnKey(const Table& table, std::size_t index) {
  const std::vector<std::string> words = split(table.columns[index], ' ');
  return words.empty() ? std::string() : words.front();
}

}  // namespace fdtools
