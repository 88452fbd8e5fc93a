// The text form of an audit, for people: one fact per line under headed
// sections, names written as their bytes, sets in braces with names
// separated by commas as in the input, tables and dependencies numbered
// from 0 as fdcheck numbers dependencies.
#ifndef CLI_TEXTREPORT_H_
#define CLI_TEXTREPORT_H_

#include <ostream>

#include "cli/Command.h"
#include "cli/Request.h"
#include "design/Audit.h"

namespace fdtools::cli {

// `answers` are those of `answer(audit, request)`.
void writeText(std::ostream& out, design::Audit& audit, const Request& request,
               const Answers& answers);

}  // namespace fdtools::cli

#endif  // CLI_TEXTREPORT_H_
