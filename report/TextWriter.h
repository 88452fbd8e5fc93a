// The text form of the answers, for people: one fact per line under headed
// sections, names written as their bytes (the empty name as ''), sets in
// braces with names separated by commas as in the input, tables and
// dependencies numbered from 0 as fdcheck numbers dependencies.
#ifndef REPORT_TEXTWRITER_H_
#define REPORT_TEXTWRITER_H_

#include <ostream>

#include "report/Pipeline.h"

namespace fdtools::report {

void writeText(std::ostream& out, const Answers& answers);

}  // namespace fdtools::report

#endif  // REPORT_TEXTWRITER_H_
