// The exercise notation: relation schemas and dependencies as textbooks and
// students write them, beside the strict format of fdcheck.
//
//   R(A, B, C, D, E)            R = ABCDE           Student(Id, Name, Dept)
//   F = { AB -> C, C -> D; D → E }   AB→C  C->D     Id -> Name, Dept
//   R1(A, B, C)   R2 = CDE      # a comment         -- a comment
//
// A relation is Name(list) or Name = list, braces allowed around the list;
// a list is names separated by commas or spaces. The first relation is R;
// the others are its decomposition. Dependencies use ->, → (U+2192) or =>,
// one per line or inside Name = { ... }, separated by commas, semicolons or
// line ends; a piece without an arrow continues the right side before it
// (Id -> Name, Dept), or before any arrow the next left side; where two
// arrows share a stretch (AB→C C->D) its last word is the next left side.
// Braces around a side are allowed, and so is an empty left side (-> A,
// ∅ -> A). Spaces never belong to a name.
//
// Names are words (letters, digits, _, any byte from 0x80) or, as in
// textbooks, one letter per attribute (ABCDE, AB -> C), with the digits and
// primes after a letter kept with it (A1B2 is A1 and B2). Which one is
// decided once per input: by R's list when there is R (one run of letters,
// or single letters separated, means letters; longer names separated mean
// words), else letters when every word is upper-case A to Z only.
#ifndef DESIGN_EXERCISEFORMAT_H_
#define DESIGN_EXERCISEFORMAT_H_

#include <string>
#include <vector>

#include "design/InputFormat.h"
#include "design/Schema.h"

namespace fdtools::design {

enum class LetterMode { kDecide, kLetters, kWords };

// Reads `text` into `input` (with `input.exercise` set). False, with
// `error` filled, at the first line it cannot read or at an attribute
// outside R.
bool parseExercise(const std::string& text, LetterMode mode, ParsedInput& input,
                   ParseError& error);

// Whether `text` is in the exercise notation: its first line that is not a
// comment is Name(...), Name = ... or F = {, or it holds the arrow U+2192.
bool looksLikeExercise(const std::string& text);

// `schema` in the exercise notation: R with every attribute, each table
// under its name in `tableNames` (else R1, R2, ...), one dependency a line;
// or "" with `problem` set when a name is not a word.
std::string writeExercise(const Schema& schema,
                          const std::vector<std::string>& tableNames,
                          std::string& problem);

}  // namespace fdtools::design

#endif  // DESIGN_EXERCISEFORMAT_H_
