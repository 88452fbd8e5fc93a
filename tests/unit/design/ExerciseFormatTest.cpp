#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "design/ExerciseFormat.h"
#include "design/InputFormat.h"
#include "design/Schema.h"

namespace fdtools::design {
namespace {

// A schema in one line per fact, for comparing readings: the relation's
// attributes, each table with its name, each dependency.
std::string describe(const ParsedInput& input) {
  const Schema schema(input.tables, input.dependencies, {},
                      input.relationNames);
  std::string text = "R";
  const auto list = [&](const std::vector<std::string>& names) {
    std::string out = "{";
    for (const std::string& name : names) out += name + ";";
    return out + "}";
  };
  text += list(schema.names());
  for (std::size_t t = 0; t < schema.tables().size(); ++t) {
    text += " " + (t < input.tableNames.size() ? input.tableNames[t] : "") +
            list(schema.namesOf(schema.tables()[t]));
  }
  for (const Dependency& d : schema.dependencies()) {
    text += " " + list(schema.namesOf(d.left)) + ">" +
            list(schema.namesOf(d.right));
  }
  for (const Dependency& d : schema.multivalued()) {
    text += " " + list(schema.namesOf(d.left)) + ">>" +
            list(schema.namesOf(d.right));
  }
  return text;
}

struct Case {
  std::string text;
  // describe() of the reading, or the error's line and message.
  std::string expected;
  bool letters = false;
};

TEST(ExerciseFormat, ReadsTheWaysTextbooksWrite) {
  const std::vector<Case> cases = {
      {"R(A, B, C, D, E)\nAB->C, C->D, D->E\n",
       "R{A;B;C;D;E;} R{A;B;C;D;E;} {A;B;}>{C;} {C;}>{D;} {D;}>{E;}", true},
      {"R = ABCDE\nF = { AB -> C, C -> D; D \xe2\x86\x92 E }\n"
       "R1(A, B, C)   R2 = CDE   # a comment\n",
       "R{A;B;C;D;E;} R1{A;B;C;} R2{C;D;E;} {A;B;}>{C;} {C;}>{D;} {D;}>{E;}",
       true},
      {"Student(Id, Name, Dept)\nId -> Name, Dept\n-- a comment\n",
       "R{Dept;Id;Name;} Student{Dept;Id;Name;} {Id;}>{Dept;Name;}", false},
      // Two dependencies that share a stretch of spaces.
      {"R = ABCD\nAB\xe2\x86\x92"
       "C  C->D\n",
       "R{A;B;C;D;} R{A;B;C;D;} {A;B;}>{C;} {C;}>{D;}", true},
      // R = (...), braces around sides, =>, the empty set.
      {"R = (A, B, C)\nF = {{A,B} => {C}, \xe2\x88\x85 -> A}\n",
       "R{A;B;C;} R{A;B;C;} {A;B;}>{C;} {}>{A;}", true},
      // A set over several lines, a label, a left side before its arrow.
      {"Enrol(Student, Course, Grade)\nF = {\n  Student, Course -> Grade,\n"
       "  FD2: Grade -> Grade\n}\n",
       "", false},
      {"Enrol(Student, Course, Grade)\nF = {\n  Student, Course -> Grade;\n"
       "  Grade -> Grade\n}\n",
       "R{Course;Grade;Student;} Enrol{Course;Grade;Student;} "
       "{Course;Student;}>{Grade;} {Grade;}>{Grade;}",
       false},
      // No R: letters when every word is upper-case A-Z.
      // (Without tables, the one table of every attribute, unnamed.)
      {"AB -> C\nC -> D\n", "R{A;B;C;D;} {A;B;C;D;} {A;B;}>{C;} {C;}>{D;}",
       true},
      {"Id -> Name\n", "R{Id;Name;} {Id;Name;} {Id;}>{Name;}", false},
      // Digits and primes stay with their letter.
      {"R = A1B2C'\nA1 -> B2\n", "R{A1;B2;C';} R{A1;B2;C';} {A1;}>{B2;}", true},
      // "#" starts a comment only at the start or after a space.
      {"LOTS(Lot#, Area)  # Elmasri\nLot# -> Area # FD1\n",
       "R{Area;Lot#;} LOTS{Area;Lot#;} {Lot#;}>{Area;}", false},
      {"EMP(Ssn, Ename)\nFD1: Ssn -> Ename\n",
       "R{Ename;Ssn;} EMP{Ename;Ssn;} {Ssn;}>{Ename;}", false},
      // Multivalued dependencies, by either arrow, among FDs.
      {"R(Course, Teacher, Book)\nCourse ->> Teacher\n",
       "R{Book;Course;Teacher;} R{Book;Course;Teacher;} {Course;}>>{Teacher;}",
       false},
      {"R = ABCD\nF = { A ->> B, C -> D; D \xe2\x86\xa0 A }\n",
       "R{A;B;C;D;} R{A;B;C;D;} {C;}>{D;} {A;}>>{B;} {D;}>>{A;}", true},
      {"R = ABC\nA\xe2\x86\xa0"
       "B  B->C\n",
       "R{A;B;C;} R{A;B;C;} {B;}>{C;} {A;}>>{B;}", true},
  };
  for (const Case& c : cases) {
    ParsedInput input;
    ParseError error;
    const bool read = parseExercise(c.text, LetterMode::kDecide, input, error);
    if (c.expected.empty()) {
      EXPECT_FALSE(read) << c.text;
      continue;
    }
    ASSERT_TRUE(read) << c.text << "\nline " << error.lineNumber << ": "
                      << error.message;
    EXPECT_EQ(describe(input), c.expected) << c.text;
    EXPECT_EQ(input.lettersAsNames, c.letters) << c.text;
  }
}

TEST(ExerciseFormat, ErrorsNameTheLine) {
  const std::vector<std::pair<std::string, std::pair<int, std::string>>> cases =
      {
          {"R(A, B)\nA -> C\n",
           {2, "the attribute C of a dependency is not in R"}},
          {"R(A, B)\nS(A, X)\n", {2, "the attribute X of S is not in R"}},
          {"R(A, B)\nF = { A -> B\n",
           {2, "the set of dependencies is not closed"}},
          {"R(A, B)\nA B\n",
           {2, "neither a relation nor a dependency (no arrow)"}},
          {"R(A, B\n", {0, ""}},
          // Not a set: braces were meant, or nothing.
          {"R(A, B)\nF = A -> B\n", {2, "unexpected \"=\""}},
      };
  for (const auto& [text, where] : cases) {
    ParsedInput input;
    ParseError error;
    if (where.first == 0) {
      // A relation left open reads to the end of its line.
      EXPECT_TRUE(parseExercise(text, LetterMode::kDecide, input, error));
      continue;
    }
    EXPECT_FALSE(parseExercise(text, LetterMode::kDecide, input, error))
        << text;
    EXPECT_EQ(error.lineNumber, where.first) << text;
    EXPECT_EQ(error.message, where.second) << text;
  }
}

TEST(ExerciseFormat, LettersOrWordsAsAsked) {
  ParsedInput input;
  ParseError error;
  ASSERT_TRUE(parseExercise("AB -> C\n", LetterMode::kWords, input, error));
  EXPECT_EQ(describe(input), "R{AB;C;} {AB;C;} {AB;}>{C;}");
  ASSERT_TRUE(parseExercise("R(Id, Name)\nId -> Name\n", LetterMode::kLetters,
                            input, error));
  EXPECT_EQ(input.relationNames,
            (std::vector<std::string>{"I", "d", "N", "a", "m", "e"}));
}

TEST(ExerciseFormat, DetectsItsNotation) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"R(A,B)\n", true},
      {"# a comment\n\nR = AB\n", true},
      {"F = { A -> B }\n", true},
      {"A,B\n\nA\xe2\x86\x92"
       "B\n",
       true},
      {"A,B\n\nA->B\n", false},
      {"AB->C\n", false},
      {"", false},
  };
  for (const auto& [text, exercise] : cases) {
    EXPECT_EQ(looksLikeExercise(text), exercise) << text;
  }
}

// Any schema of word names, written in either notation, reads back as
// itself.
TEST(ExerciseFormat, BothNotationsReadBackTheSameSchema) {
  std::mt19937 random(17);
  const std::vector<std::string> pool = {"A",
                                         "B",
                                         "C",
                                         "D",
                                         "Id",
                                         "Name",
                                         "x1",
                                         "Stra\xc3\x9f"
                                         "e",
                                         "E_2"};
  for (int round = 0; round < 2000; ++round) {
    const auto pick = [&](int most) {
      std::vector<std::string> names;
      for (int n = static_cast<int>(random() % (most + 1)); n > 0; --n) {
        names.push_back(pool[random() % pool.size()]);
      }
      return names;
    };
    std::vector<std::vector<std::string>> tables;
    for (int t = static_cast<int>(random() % 3); t > 0; --t) {
      std::vector<std::string> table = pick(3);
      if (!table.empty()) tables.push_back(table);
    }
    std::vector<NamedDependency> dependencies;
    for (int d = static_cast<int>(random() % 4); d > 0; --d) {
      NamedDependency dependency{pick(2), pick(2)};
      if (dependency.right.empty()) dependency.right.push_back("A");
      dependencies.push_back(dependency);
    }
    const Schema schema(tables, dependencies);
    if (schema.attributeCount() == 0) continue;
    std::string problem;
    const std::string text = writeExercise(schema, {}, problem);
    ASSERT_EQ(problem, "");
    ParsedInput read;
    ParseError error;
    ASSERT_TRUE(parseExercise(text, LetterMode::kDecide, read, error))
        << text << "line " << error.lineNumber << ": " << error.message;
    const Schema again(read.tables, read.dependencies, {}, read.relationNames);
    ASSERT_EQ(again.names(), schema.names()) << text;
    ASSERT_EQ(again.dependencies().size(), schema.dependencies().size());
    for (std::size_t d = 0; d < schema.dependencies().size(); ++d) {
      EXPECT_EQ(again.dependencies()[d].left, schema.dependencies()[d].left);
      EXPECT_EQ(again.dependencies()[d].right, schema.dependencies()[d].right);
    }
    if (schema.tablesGiven()) {
      ASSERT_EQ(again.tables().size(), schema.tables().size()) << text;
      for (std::size_t t = 0; t < schema.tables().size(); ++t) {
        EXPECT_EQ(again.tables()[t], schema.tables()[t]) << text;
      }
    }
    // And through the strict format, as convert writes it.
    const WrittenInput strict =
        writeInput(schema, again.tables(), read.dependencyLines);
    ASSERT_EQ(strict.problem, "");
    ParsedInput back;
    ASSERT_TRUE(parseInput(strict.text, back, error));
    EXPECT_EQ(Schema(back.tables, back.dependencies).names(), schema.names());
  }
}

}  // namespace
}  // namespace fdtools::design
