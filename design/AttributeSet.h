// A set of attribute ids, as a bit set of any width once it is dense and as
// a sorted id list while it is small: a schema with n attributes would
// otherwise spend n bits on every dependency side, and memory would grow
// with the square of the input. Both forms behave alike; the width grows as
// ids are added, and sets of different widths compare as if padded with
// absent ids.
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

  // How sets choose their form: by size (a set turns into a bit set once
  // it holds more than one id in 32 of its width), or always one form, for
  // tests that must reach both forms on small schemas. Returns the
  // previous choice.
  enum class Form { kBySize, kBits, kList };
  static Form chooseForm(Form form);

 private:
  using Word = std::uint64_t;
  static constexpr int kWordBits = 64;

  void makeDense();
  void densifyIfLarge();
  void growTo(int id);

  int width = 0;
  bool dense = false;
  // The list form: ascending, each id once.
  std::vector<int> list;
  // The bit form: `width` bits.
  std::vector<Word> words;
};

}  // namespace fdtools::design

#endif  // DESIGN_ATTRIBUTESET_H_
