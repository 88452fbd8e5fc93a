// The entry point of the web page: the same audit as fdtools --json, on
// text instead of files.
#ifndef WEB_ANALYZE_H_
#define WEB_ANALYZE_H_

#include <string>

namespace fdtools::web {

// Runs `command` (a fdtools command name) on `inputText` and returns the
// JSON that fdtools --json prints for the same input, byte for byte.
// `options` is a JSON object: "maxKeys" (number), "bcnf" (synthesize and
// check-decomposition), "threeNf" and "fourNf", "attributes" (closure),
// "second" (the second file's text, for equivalent and check-cover),
// "notation" ("auto", "strict" or "exercise"), "names" ("letters" or
// "words", for the exercise notation), "to" (convert), "brief", "steps"
// (as --steps) and "format": "json" (the default), or "latex" or
// "markdown" for the worked solution as {"document": "..."}. Every failure,
// bad options included, comes back as {"error": "..."}; nothing throws.
std::string analyze(const std::string& command, const std::string& inputText,
                    const std::string& options);

}  // namespace fdtools::web

#endif  // WEB_ANALYZE_H_
