// Exports analyze() to JavaScript.
#include <emscripten/bind.h>

#include "web/Analyze.h"

EMSCRIPTEN_BINDINGS(fdtools) {
  emscripten::function("analyze", &fdtools::web::analyze);
}
