// A set of attribute ids as a bit set of any width. Sets of one schema share
// its attribute count; the width grows as ids are added, and sets of
// different widths compare as if padded with absent ids.
#ifndef DESIGN_ATTRIBUTESET_H_
#define DESIGN_ATTRIBUTESET_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fdtools::design {

class AttributeSet {
 public:
  AttributeSet() = default;
  // Room for ids below `attributeCount`, none of them in the set.
  explicit AttributeSet(int attributeCount);
  static AttributeSet of(int attributeCount, const std::vector<int>& ids);
  // Every id below `attributeCount`.
  static AttributeSet all(int attributeCount);

  bool contains(int id) const;
  void insert(int id);
  void erase(int id);
  bool empty() const;
  int size() const;
  // The smallest id in the set, or -1.
  int first() const;
  // The smallest id above `id` in the set, or -1.
  int next(int id) const;
  // The ids in ascending order.
  std::vector<int> ids() const;

  bool isSubsetOf(const AttributeSet& other) const;
  bool intersects(const AttributeSet& other) const;
  AttributeSet& operator|=(const AttributeSet& other);
  AttributeSet& operator&=(const AttributeSet& other);
  AttributeSet& operator-=(const AttributeSet& other);
  friend AttributeSet operator|(AttributeSet a, const AttributeSet& b) {
    return a |= b;
  }
  friend AttributeSet operator&(AttributeSet a, const AttributeSet& b) {
    return a &= b;
  }
  friend AttributeSet operator-(AttributeSet a, const AttributeSet& b) {
    return a -= b;
  }
  friend bool operator==(const AttributeSet& a, const AttributeSet& b);
  // By size, then by the ids in ascending order compared element by
  // element: the order in which keys are listed.
  static bool listOrder(const AttributeSet& a, const AttributeSet& b);

  std::size_t hash() const;

 private:
  using Word = std::uint64_t;
  static constexpr int kWordBits = 64;
  void reserveFor(int id);

  std::vector<Word> words;
};

struct AttributeSetHash {
  std::size_t operator()(const AttributeSet& set) const { return set.hash(); }
};

}  // namespace fdtools::design

#endif  // DESIGN_ATTRIBUTESET_H_
