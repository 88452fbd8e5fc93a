// The JSON form of the answers: one object that scripts and graders rely
// on. Always "version", "attributes", "tables", "dependencies" and
// "warnings", then one key per part of the command. Keys keep this order;
// every attribute list is in attribute order; names as NameEncoding.h says.
#ifndef REPORT_JSONWRITER_H_
#define REPORT_JSONWRITER_H_

#include <ostream>

#include "report/Pipeline.h"

namespace fdtools::report {

constexpr int kJsonVersion = 1;

// Indented by two, with a final line break.
void writeJson(std::ostream& out, const Answers& answers);

}  // namespace fdtools::report

#endif  // REPORT_JSONWRITER_H_
