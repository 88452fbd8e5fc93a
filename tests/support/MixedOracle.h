// The test oracle for functional and multivalued dependencies together: the
// chase, straight from its definition and deliberately naive. A tableau of
// rows of symbols (0 is distinguished); an FD equates the symbols of rows
// that agree on its left side, an MVD adds the row that takes its left and
// right side from one row and the rest from another, until nothing changes.
// It knows nothing of dependency bases, so the engine is checked against
// something independent of its own method.
#ifndef TESTS_SUPPORT_MIXEDORACLE_H_
#define TESTS_SUPPORT_MIXEDORACLE_H_

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/support/Oracle.h"

namespace fdtools::oracle {

using Row = std::vector<int>;

struct MixedSchema {
  int attributes = 0;
  std::vector<MaskFd> fds;
  std::vector<MaskFd> mvds;
};

inline bool agree(const Row& a, const Row& b, Mask on) {
  for (std::size_t c = 0; c < a.size(); ++c) {
    if ((on >> c & 1) && a[c] != b[c]) return false;
  }
  return true;
}

// Chases `rows` to the end under `schema`.
inline std::set<Row> chaseRows(std::set<Row> rows, const MixedSchema& schema) {
  for (bool changed = true; changed;) {
    changed = false;
    for (const MaskFd& fd : schema.fds) {
      for (bool equated = true; equated;) {
        equated = false;
        for (const Row& a : rows) {
          for (const Row& b : rows) {
            if (!agree(a, b, fd.left) || agree(a, b, fd.right)) continue;
            for (int c = 0; c < schema.attributes; ++c) {
              if (!(fd.right >> c & 1) || a[c] == b[c]) continue;
              const int keep = std::min(a[c], b[c]);
              const int drop = std::max(a[c], b[c]);
              std::set<Row> renamed;
              for (Row row : rows) {
                if (row[c] == drop) row[c] = keep;
                renamed.insert(row);
              }
              rows = std::move(renamed);
              equated = changed = true;
              break;
            }
            break;
          }
          if (equated) break;
        }
      }
    }
    for (const MaskFd& mvd : schema.mvds) {
      std::set<Row> added;
      for (const Row& a : rows) {
        for (const Row& b : rows) {
          if (!agree(a, b, mvd.left)) continue;
          Row row = b;
          for (int c = 0; c < schema.attributes; ++c) {
            if ((mvd.left | mvd.right) >> c & 1) row[c] = a[c];
          }
          if (!rows.count(row)) added.insert(row);
        }
      }
      if (!added.empty()) {
        rows.insert(added.begin(), added.end());
        changed = true;
      }
    }
  }
  return rows;
}

// Two rows that agree on X, chased: what every instance must then hold.
inline std::set<Row> chaseFrom(Mask x, const MixedSchema& schema) {
  Row first(schema.attributes, 0);
  Row second(schema.attributes, 0);
  for (int c = 0; c < schema.attributes; ++c) {
    if (!(x >> c & 1)) second[c] = 1;
  }
  return chaseRows({first, second}, schema);
}

// X -> A: all rows end equal on A.
inline Mask mixedClosure(Mask x, const MixedSchema& schema) {
  const std::set<Row> rows = chaseFrom(x, schema);
  Mask closure = 0;
  for (int c = 0; c < schema.attributes; ++c) {
    bool same = true;
    for (const Row& row : rows) same = same && row[c] == rows.begin()->at(c);
    if (same) closure |= 1u << c;
  }
  return closure;
}

// X ->> Y, from the chase of two rows that agree on X: the row of the
// first on X and Y and of the second elsewhere.
inline bool impliesMvdIn(const std::set<Row>& rows, int attributes, Mask x,
                         Mask y) {
  // The second row's symbols end as the largest of each column.
  Row wanted(attributes, 0);
  for (int c = 0; c < attributes; ++c) {
    if ((x | y) >> c & 1) continue;
    for (const Row& row : rows) wanted[c] = std::max(wanted[c], row[c]);
  }
  return rows.count(wanted) > 0;
}

// The join of `tables` is lossless: the chase of one row per table (a
// symbol of its own where the table lacks the attribute) reaches a row of
// distinguished symbols.
inline bool mixedLossless(const std::vector<Mask>& tables,
                          const MixedSchema& schema) {
  std::set<Row> rows;
  int next = 1;
  for (const Mask t : tables) {
    Row row(schema.attributes, 0);
    for (int c = 0; c < schema.attributes; ++c) {
      if (!(t >> c & 1)) row[c] = next++;
    }
    rows.insert(row);
  }
  return chaseRows(rows, schema).count(Row(schema.attributes, 0)) > 0;
}

// Everything D+ says about each X of a small schema, from one chase each.
class MixedDefinitions {
 public:
  explicit MixedDefinitions(const MixedSchema& schema) : schema(schema) {
    const int n = schema.attributes;
    for (Mask x = 0; x <= ((1u << n) - 1); ++x) {
      rows.push_back(oracle::chaseFrom(x, schema));
      closures.push_back(oracle::mixedClosure(x, schema));
    }
  }

  Mask closure(Mask x) const { return closures[x]; }

  // X ->> Y in D+, Y any set of R.
  bool multivalued(Mask x, Mask y) const {
    return impliesMvdIn(rows[x], schema.attributes, x, y);
  }

  // X ->> Y in the restriction to `table`: some Y' of R with Y' & T = Y.
  bool multivaluedIn(Mask table, Mask x, Mask y) const {
    const Mask outside = ((1u << schema.attributes) - 1) & ~table;
    for (Mask s = outside;; s = (s - 1) & outside) {
      if (multivalued(x, y | s)) return true;
      if (s == 0) return false;
    }
  }

  bool superkeyOf(Mask table, Mask x) const {
    return inside(table, closure(x));
  }

  // A nontrivial MVD of the restriction with a left side that is no
  // superkey.
  bool in4nf(Mask table) const {
    for (Mask x = table;; x = (x - 1) & table) {
      const Mask rest = table & ~x;
      if (!superkeyOf(table, x)) {
        for (Mask y = rest; y != 0; y = (y - 1) & rest) {
          if (y != rest && multivaluedIn(table, x, y)) return false;
        }
      }
      if (x == 0) return true;
    }
  }

  // X -> (X+ within T) for every X inside T.
  std::vector<MaskFd> fdsIn(Mask table) const {
    std::vector<MaskFd> fds;
    for (Mask x = table;; x = (x - 1) & table) {
      fds.push_back({x, closure(x) & table});
      if (x == 0) return fds;
    }
  }

  // The normal form of `table` by the definitions.
  std::string form(Mask table) const {
    return in4nf(table) ? "4NF" : bruteForm(table, fdsIn(table));
  }

 private:
  const MixedSchema& schema;
  std::vector<std::set<Row>> rows;
  std::vector<Mask> closures;
};

}  // namespace fdtools::oracle

#endif  // TESTS_SUPPORT_MIXEDORACLE_H_
