// A minimal cover: a set of dependencies equivalent to the given one, with a
// single attribute on each right side, no extraneous left-side attribute
// and no redundant dependency.
#ifndef DESIGN_COVER_H_
#define DESIGN_COVER_H_

#include <vector>

#include "design/Schema.h"

namespace fdtools::design {

// Right sides are split and trivial parts dropped first; then extraneous
// left attributes are removed, lowest id first, and only then redundant
// dependencies, in order: the other order can leave a redundant one behind
// (C->A, AC->D, D->A). The result keeps the input order, each split
// dependency in the order of its right-side attributes. Deterministic.
std::vector<Dependency> minimalCover(
    int attributeCount, const std::vector<Dependency>& dependencies);

// The dependencies with one right-side attribute each, trivial ones
// (right side inside the left) left out.
std::vector<Dependency> splitRightSides(
    int attributeCount, const std::vector<Dependency>& dependencies);

}  // namespace fdtools::design

#endif  // DESIGN_COVER_H_
