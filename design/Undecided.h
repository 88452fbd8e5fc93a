// An answer that the engine could not compute exactly within its limits.
// Results that may be undecided hold an optional one: no value means the
// answer stands; a value says why it does not, in words for people, never
// a guess in its place.
#ifndef DESIGN_UNDECIDED_H_
#define DESIGN_UNDECIDED_H_

#include <string>

namespace fdtools::design {

struct Undecided {
  std::string reason;
};

}  // namespace fdtools::design

#endif  // DESIGN_UNDECIDED_H_
