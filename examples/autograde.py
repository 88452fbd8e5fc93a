#!/usr/bin/env python3
"""Grades a folder of student answers to one design exercise.

usage: autograde.py EXERCISE ANSWERS CSV [--form 3NF|BCNF]

EXERCISE is an input file whose dependency section is the exercise's set
F. Each file in the folder ANSWERS is one student's answer, in the same
format: its tables are the proposed decomposition, its dependency section
the proposed minimal cover of F. Each property is worth one point:

  equivalent, single-right-side, no-extraneous-attribute,
  no-redundant-dependency   the cover (fdtools check-cover)
  lossless, preserving, 3NF or BCNF   the tables under F
                                      (fdtools check-decomposition)

An answer that cannot be read gets no points and its error in the last
column. The CSV has one row per answer, in file name order.
"""

import argparse
import csv
import sys
from pathlib import Path

import fdtools

COVER = ["equivalent", "single-right-side", "no-extraneous-attribute",
         "no-redundant-dependency"]


def grade(exercise, path, form):
    answer = fdtools.read_file(path)
    cover = fdtools.check_cover(exercise, answer)["checkCover"]
    failed = {f["property"] for f in cover["failures"]}
    # The answer's tables, judged under the exercise's own dependencies.
    decomposition = fdtools.Schema(tables=answer.tables,
                                   dependencies=exercise.dependencies)
    check = fdtools.check_decomposition(decomposition, form)
    failed |= {f["property"] for f in check["checkDecomposition"]["failures"]}
    return {p: int(p not in failed) for p in COVER + ["lossless", "preserving", form]}


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("exercise")
    parser.add_argument("answers")
    parser.add_argument("csv")
    parser.add_argument("--form", choices=["3NF", "BCNF"], default="3NF")
    args = parser.parse_args(argv)
    exercise = fdtools.read_file(args.exercise)
    columns = COVER + ["lossless", "preserving", args.form]
    with open(args.csv, "w", newline="") as out:
        writer = csv.writer(out)
        writer.writerow(["answer"] + columns + ["points", "error"])
        for path in sorted(Path(args.answers).iterdir()):
            if not path.is_file():
                continue
            try:
                points = grade(exercise, path, args.form)
                row = [points[c] for c in columns]
                writer.writerow([path.name] + row + [sum(row), ""])
            except (fdtools.InputError, ValueError) as error:
                writer.writerow([path.name] + [0] * len(columns) + [0, str(error)])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
