// The JSON form of an audit: one object that scripts and graders rely on.
// Always "version", "attributes", "tables", "dependencies" and "warnings",
// then one key per part of the command. Keys keep this order; every
// attribute list is in attribute order; names are UTF-8 (see
// NameEncoding.h).
#ifndef CLI_JSONREPORT_H_
#define CLI_JSONREPORT_H_

#include <nlohmann/json.hpp>
#include <string>

#include "cli/Command.h"
#include "cli/Request.h"
#include "design/Audit.h"

namespace fdtools::cli {

constexpr int kJsonVersion = 1;

// `answers` are those of `answer(audit, request)`.
nlohmann::ordered_json buildJson(design::Audit& audit, const Request& request,
                                 const Answers& answers);

// The object as fdtools --json prints it: indented by two, with a final
// line break.
std::string jsonText(design::Audit& audit, const Request& request,
                     const Answers& answers);

}  // namespace fdtools::cli

#endif  // CLI_JSONREPORT_H_
