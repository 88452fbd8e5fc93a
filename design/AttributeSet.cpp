#include "design/AttributeSet.h"

#include <algorithm>
#include <bit>
#include <iterator>

namespace fdtools::design {
namespace {

// A list costs 32 bits an id, a bit set one bit an attribute.
constexpr long long kBitsPerListedId = 32;

AttributeSet::Form chosenForm = AttributeSet::Form::kBySize;

}  // namespace

AttributeSet::Form AttributeSet::chooseForm(Form form) {
  const Form previous = chosenForm;
  chosenForm = form;
  return previous;
}

AttributeSet::AttributeSet(int attributeCount) : width(attributeCount) {
  densifyIfLarge();
}

AttributeSet AttributeSet::of(int attributeCount, const std::vector<int>& ids) {
  AttributeSet set(attributeCount);
  for (const int id : ids) set.growTo(id);
  // The form is chosen once, for the whole list, and filled in one go.
  if (!set.dense && chosenForm != Form::kList &&
      (chosenForm == Form::kBits ||
       static_cast<long long>(ids.size()) * kBitsPerListedId > set.width)) {
    set.makeDense();
  }
  if (set.dense) {
    for (const int id : ids) {
      set.words[id / kWordBits] |= Word{1} << (id % kWordBits);
    }
    return set;
  }
  set.list = ids;
  std::sort(set.list.begin(), set.list.end());
  set.list.erase(std::unique(set.list.begin(), set.list.end()), set.list.end());
  set.densifyIfLarge();
  return set;
}

AttributeSet AttributeSet::all(int attributeCount) {
  AttributeSet set(attributeCount);
  for (int id = 0; id < attributeCount; ++id) set.insert(id);
  return set;
}

void AttributeSet::growTo(int id) {
  if (id < width) return;
  width = id + 1;
  if (dense)
    words.resize(static_cast<std::size_t>((width + kWordBits - 1) / kWordBits));
}

void AttributeSet::makeDense() {
  if (dense) return;
  dense = true;
  words.assign(static_cast<std::size_t>((width + kWordBits - 1) / kWordBits),
               0);
  for (const int id : list)
    words[id / kWordBits] |= Word{1} << (id % kWordBits);
  list.clear();
  list.shrink_to_fit();
}

void AttributeSet::densifyIfLarge() {
  if (dense || chosenForm == Form::kList) return;
  if (chosenForm == Form::kBits ||
      static_cast<long long>(list.size()) * kBitsPerListedId > width) {
    makeDense();
  }
}

bool AttributeSet::contains(int id) const {
  if (id < 0 || id >= width) return false;
  if (!dense) return std::binary_search(list.begin(), list.end(), id);
  return (words[id / kWordBits] >> (id % kWordBits) & 1) != 0;
}

void AttributeSet::insert(int id) {
  growTo(id);
  if (dense) {
    words[id / kWordBits] |= Word{1} << (id % kWordBits);
    return;
  }
  const auto it = std::lower_bound(list.begin(), list.end(), id);
  if (it != list.end() && *it == id) return;
  list.insert(it, id);
  densifyIfLarge();
}

void AttributeSet::erase(int id) {
  if (id < 0 || id >= width) return;
  if (dense) {
    words[id / kWordBits] &= ~(Word{1} << (id % kWordBits));
    return;
  }
  const auto it = std::lower_bound(list.begin(), list.end(), id);
  if (it != list.end() && *it == id) list.erase(it);
}

bool AttributeSet::empty() const {
  if (!dense) return list.empty();
  return std::all_of(words.begin(), words.end(), [](Word w) { return w == 0; });
}

int AttributeSet::size() const {
  if (!dense) return static_cast<int>(list.size());
  int count = 0;
  for (const Word w : words) count += std::popcount(w);
  return count;
}

int AttributeSet::first() const { return next(-1); }

int AttributeSet::next(int id) const {
  const int from = id + 1;
  if (from >= width) return -1;
  if (!dense) {
    const auto it = std::lower_bound(list.begin(), list.end(), from);
    return it == list.end() ? -1 : *it;
  }
  auto word = static_cast<std::size_t>(from / kWordBits);
  Word bits = words[word] & (~Word{0} << (from % kWordBits));
  while (bits == 0) {
    if (++word >= words.size()) return -1;
    bits = words[word];
  }
  return static_cast<int>(word) * kWordBits + std::countr_zero(bits);
}

std::vector<int> AttributeSet::ids() const {
  if (!dense) return list;
  std::vector<int> result;
  for (int id = first(); id >= 0; id = next(id)) result.push_back(id);
  return result;
}

bool AttributeSet::isSubsetOf(const AttributeSet& other) const {
  if (!dense) {
    return std::all_of(list.begin(), list.end(),
                       [&](int id) { return other.contains(id); });
  }
  if (!other.dense) {
    for (int id = first(); id >= 0; id = next(id)) {
      if (!other.contains(id)) return false;
    }
    return true;
  }
  for (std::size_t i = 0; i < words.size(); ++i) {
    const Word theirs = i < other.words.size() ? other.words[i] : 0;
    if ((words[i] & ~theirs) != 0) return false;
  }
  return true;
}

bool AttributeSet::intersects(const AttributeSet& other) const {
  if (!dense) {
    return std::any_of(list.begin(), list.end(),
                       [&](int id) { return other.contains(id); });
  }
  if (!other.dense) return other.intersects(*this);
  const std::size_t n = std::min(words.size(), other.words.size());
  for (std::size_t i = 0; i < n; ++i) {
    if ((words[i] & other.words[i]) != 0) return true;
  }
  return false;
}

AttributeSet& AttributeSet::operator|=(const AttributeSet& other) {
  if (other.width > width) growTo(other.width - 1);
  if (!other.dense) {
    if (dense) {
      for (const int id : other.list) {
        words[id / kWordBits] |= Word{1} << (id % kWordBits);
      }
      return *this;
    }
    std::vector<int> merged;
    merged.reserve(list.size() + other.list.size());
    std::set_union(list.begin(), list.end(), other.list.begin(),
                   other.list.end(), std::back_inserter(merged));
    list = std::move(merged);
    densifyIfLarge();
    return *this;
  }
  makeDense();
  for (std::size_t i = 0; i < other.words.size(); ++i)
    words[i] |= other.words[i];
  return *this;
}

AttributeSet& AttributeSet::operator&=(const AttributeSet& other) {
  if (!dense) {
    std::erase_if(list, [&](int id) { return !other.contains(id); });
    return *this;
  }
  if (!other.dense) {
    std::vector<int> kept;
    for (const int id : other.list) {
      if (contains(id)) kept.push_back(id);
    }
    dense = false;
    words.clear();
    words.shrink_to_fit();
    list = std::move(kept);
    densifyIfLarge();
    return *this;
  }
  for (std::size_t i = 0; i < words.size(); ++i) {
    words[i] &= i < other.words.size() ? other.words[i] : 0;
  }
  return *this;
}

AttributeSet& AttributeSet::operator-=(const AttributeSet& other) {
  if (!dense) {
    std::erase_if(list, [&](int id) { return other.contains(id); });
    return *this;
  }
  if (!other.dense) {
    for (const int id : other.list) erase(id);
    return *this;
  }
  const std::size_t n = std::min(words.size(), other.words.size());
  for (std::size_t i = 0; i < n; ++i) words[i] &= ~other.words[i];
  return *this;
}

bool operator==(const AttributeSet& a, const AttributeSet& b) {
  return a.size() == b.size() && a.isSubsetOf(b);
}

bool AttributeSet::listOrder(const AttributeSet& a, const AttributeSet& b) {
  const int sizeA = a.size();
  const int sizeB = b.size();
  if (sizeA != sizeB) return sizeA < sizeB;
  for (int x = a.first(), y = b.first(); x >= 0; x = a.next(x), y = b.next(y)) {
    if (x != y) return x < y;
  }
  return false;
}

}  // namespace fdtools::design
