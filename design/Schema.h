// The schema model of the design audit: attribute names interned as ids in
// the unsigned byte order of the names, the tables of the decomposition and
// the dependencies (functional, and multivalued ones kept apart), each side
// an attribute set.
#ifndef DESIGN_SCHEMA_H_
#define DESIGN_SCHEMA_H_

#include <string>
#include <vector>

#include "design/AttributeSet.h"

namespace fdtools::design {

struct Dependency {
  AttributeSet left;
  AttributeSet right;
};

// Names as read from an input file: repeated names are allowed and merged.
struct NamedDependency {
  std::vector<std::string> left;
  std::vector<std::string> right;
  // X ->> Y rather than X -> Y.
  bool multivalued = false;
};

class Schema {
 public:
  Schema() = default;
  // Every name of `tables` and `dependencies` becomes an attribute. With no
  // tables, the decomposition is one table holding every attribute.
  // `others`, a second dependency set (another file's, to compare with),
  // adds its names to the attributes but is kept apart. `moreNames` are
  // attributes too (those of a relation that no table or dependency names).
  Schema(const std::vector<std::vector<std::string>>& tables,
         const std::vector<NamedDependency>& dependencies,
         const std::vector<NamedDependency>& others = {},
         const std::vector<std::string>& moreNames = {});

  int attributeCount() const { return static_cast<int>(names_.size()); }
  // Names by id, in unsigned byte order.
  const std::vector<std::string>& names() const { return names_; }
  const std::string& name(int id) const { return names_[id]; }
  // The id of `name`, or -1 when the schema has no such attribute.
  int idOf(const std::string& name) const;
  // The names of `set`, in id order.
  std::vector<std::string> namesOf(const AttributeSet& set) const;

  AttributeSet allAttributes() const;
  // The decomposition: the tables as given, or the one table of every
  // attribute when none was given.
  const std::vector<AttributeSet>& tables() const { return tables_; }
  bool tablesGiven() const { return tablesGiven_; }
  // Attributes that no table holds (none when no tables were given).
  AttributeSet uncoveredAttributes() const;
  // The functional dependencies, in input order.
  const std::vector<Dependency>& dependencies() const { return dependencies_; }
  // The multivalued ones, in input order; most inputs have none.
  const std::vector<Dependency>& multivalued() const { return multivalued_; }
  bool hasMultivalued() const { return !multivalued_.empty(); }
  const std::vector<Dependency>& otherDependencies() const { return others_; }

 private:
  std::vector<std::string> names_;
  std::vector<AttributeSet> tables_;
  bool tablesGiven_ = false;
  std::vector<Dependency> dependencies_;
  std::vector<Dependency> multivalued_;
  std::vector<Dependency> others_;
};

}  // namespace fdtools::design

#endif  // DESIGN_SCHEMA_H_
