#include "design/Schema.h"

#include <algorithm>

namespace fdtools::design {
namespace {

// std::string compares with char_traits<char>::compare, which orders bytes
// as unsigned char, so a sorted vector is in unsigned byte order.
void addNames(std::vector<std::string>& names,
              const std::vector<std::string>& more) {
  names.insert(names.end(), more.begin(), more.end());
}

}  // namespace

Schema::Schema(const std::vector<std::vector<std::string>>& tables,
               const std::vector<NamedDependency>& dependencies,
               const std::vector<NamedDependency>& others,
               const std::vector<std::string>& moreNames) {
  for (const auto& table : tables) addNames(names_, table);
  addNames(names_, moreNames);
  for (const auto* list : {&dependencies, &others}) {
    for (const NamedDependency& dependency : *list) {
      addNames(names_, dependency.left);
      addNames(names_, dependency.right);
    }
  }
  std::sort(names_.begin(), names_.end());
  names_.erase(std::unique(names_.begin(), names_.end()), names_.end());

  const auto toSet = [&](const std::vector<std::string>& list) {
    AttributeSet set(attributeCount());
    for (const std::string& name : list) set.insert(idOf(name));
    return set;
  };
  tablesGiven_ = !tables.empty();
  for (const auto& table : tables) tables_.push_back(toSet(table));
  if (!tablesGiven_) tables_.push_back(allAttributes());
  for (const NamedDependency& dependency : dependencies) {
    (dependency.multivalued ? multivalued_ : dependencies_)
        .push_back({toSet(dependency.left), toSet(dependency.right)});
  }
  // The second set is compared as functional dependencies only.
  for (const NamedDependency& dependency : others) {
    if (dependency.multivalued) continue;
    others_.push_back({toSet(dependency.left), toSet(dependency.right)});
  }
}

int Schema::idOf(const std::string& name) const {
  const auto it = std::lower_bound(names_.begin(), names_.end(), name);
  if (it == names_.end() || *it != name) return -1;
  return static_cast<int>(it - names_.begin());
}

std::vector<std::string> Schema::namesOf(const AttributeSet& set) const {
  std::vector<std::string> result;
  for (int id = set.first(); id >= 0; id = set.next(id)) {
    result.push_back(names_[id]);
  }
  return result;
}

AttributeSet Schema::allAttributes() const {
  return AttributeSet::all(attributeCount());
}

AttributeSet Schema::uncoveredAttributes() const {
  AttributeSet covered(attributeCount());
  for (const AttributeSet& table : tables_) covered |= table;
  return allAttributes() - covered;
}

}  // namespace fdtools::design
