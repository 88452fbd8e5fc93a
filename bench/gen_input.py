#!/usr/bin/env python3
"""Writes a checker input in which every dependency is preserved.

usage: gen_input.py ATTRIBUTES DEPENDENCIES TABLES [SEED] > input.txt

Attributes a0..aN-1 are laid out in overlapping windows, one window per
table, so that consecutive attributes always share a table. The dependencies
are, in a shuffled order:
  - a chain a_i -> a_i+1 across the whole schema (each link inside a table),
  - long-range dependencies a_i -> a_j, j > i, which hold only through the
    chain and so need several tables and, with the tables shuffled, several
    passes,
  - local dependencies whose two sides lie in one table.
Every dependency is therefore preserved, and the checker tests all of them.
The same arguments always give the same file.
"""
import random
import sys


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    attributes, dependencies, tables = (int(a) for a in sys.argv[1:4])
    seed = int(sys.argv[4]) if len(sys.argv) == 5 else 1
    if attributes < 2 or tables < 1 or dependencies < attributes - 1:
        sys.exit("need ATTRIBUTES >= 2, TABLES >= 1, DEPENDENCIES >= ATTRIBUTES-1")
    rng = random.Random(seed)
    names = [f"a{i}" for i in range(attributes)]

    step = max(1, (attributes - 1 + tables - 1) // tables)
    windows = []
    for t in range(tables):
        first = min(t * step, attributes - 2)
        windows.append(list(range(first, min(first + step + 1, attributes))))
    if windows[-1][-1] != attributes - 1:
        windows[-1] = list(range(windows[-1][0], attributes))
    rng.shuffle(windows)

    deps = [([i], [i + 1]) for i in range(attributes - 1)]
    remaining = dependencies - len(deps)
    long_range = remaining // 2
    for _ in range(long_range):
        i = rng.randrange(attributes - 1)
        deps.append(([i], [rng.randrange(i + 1, attributes)]))
    for _ in range(remaining - long_range):
        window = rng.choice(windows)
        left = sorted(rng.sample(window, min(2, len(window))))
        deps.append((left, [rng.choice(window)]))
    rng.shuffle(deps)

    out = sys.stdout
    for window in windows:
        out.write(",".join(names[i] for i in window) + "\n")
    out.write("\n")
    for left, right in deps:
        out.write(",".join(names[i] for i in left) + "->" +
                  ",".join(names[i] for i in right) + "\n")


if __name__ == "__main__":
    main()
