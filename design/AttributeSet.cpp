#include "design/AttributeSet.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace fdtools::design {

AttributeSet::AttributeSet(int attributeCount)
    : words(static_cast<std::size_t>((attributeCount + kWordBits - 1) /
                                     kWordBits)) {}

AttributeSet AttributeSet::of(int attributeCount, const std::vector<int>& ids) {
  AttributeSet set(attributeCount);
  for (const int id : ids) set.insert(id);
  return set;
}

AttributeSet AttributeSet::all(int attributeCount) {
  AttributeSet set(attributeCount);
  for (int id = 0; id < attributeCount; ++id) set.insert(id);
  return set;
}

bool AttributeSet::contains(int id) const {
  const auto word = static_cast<std::size_t>(id / kWordBits);
  return word < words.size() && (words[word] >> (id % kWordBits) & 1) != 0;
}

void AttributeSet::insert(int id) {
  reserveFor(id);
  words[static_cast<std::size_t>(id / kWordBits)] |= Word{1}
                                                     << (id % kWordBits);
}

void AttributeSet::erase(int id) {
  const auto word = static_cast<std::size_t>(id / kWordBits);
  if (word < words.size()) words[word] &= ~(Word{1} << (id % kWordBits));
}

bool AttributeSet::empty() const {
  return std::all_of(words.begin(), words.end(), [](Word w) { return w == 0; });
}

int AttributeSet::size() const {
  int count = 0;
  for (const Word w : words) count += std::popcount(w);
  return count;
}

int AttributeSet::first() const { return next(-1); }

int AttributeSet::next(int id) const {
  int from = id + 1;
  auto word = static_cast<std::size_t>(from / kWordBits);
  if (word >= words.size()) return -1;
  Word bits = words[word] & (~Word{0} << (from % kWordBits));
  while (bits == 0) {
    if (++word >= words.size()) return -1;
    bits = words[word];
  }
  return static_cast<int>(word) * kWordBits + std::countr_zero(bits);
}

std::vector<int> AttributeSet::ids() const {
  std::vector<int> result;
  for (int id = first(); id >= 0; id = next(id)) result.push_back(id);
  return result;
}

bool AttributeSet::isSubsetOf(const AttributeSet& other) const {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const Word theirs = i < other.words.size() ? other.words[i] : 0;
    if ((words[i] & ~theirs) != 0) return false;
  }
  return true;
}

bool AttributeSet::intersects(const AttributeSet& other) const {
  const std::size_t n = std::min(words.size(), other.words.size());
  for (std::size_t i = 0; i < n; ++i) {
    if ((words[i] & other.words[i]) != 0) return true;
  }
  return false;
}

AttributeSet& AttributeSet::operator|=(const AttributeSet& other) {
  if (other.words.size() > words.size()) words.resize(other.words.size());
  for (std::size_t i = 0; i < other.words.size(); ++i)
    words[i] |= other.words[i];
  return *this;
}

AttributeSet& AttributeSet::operator&=(const AttributeSet& other) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    words[i] &= i < other.words.size() ? other.words[i] : 0;
  }
  return *this;
}

AttributeSet& AttributeSet::operator-=(const AttributeSet& other) {
  const std::size_t n = std::min(words.size(), other.words.size());
  for (std::size_t i = 0; i < n; ++i) words[i] &= ~other.words[i];
  return *this;
}

bool operator==(const AttributeSet& a, const AttributeSet& b) {
  return a.isSubsetOf(b) && b.isSubsetOf(a);
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

std::size_t AttributeSet::hash() const {
  // Trailing zero words must not change the hash: equal sets may differ in
  // width.
  std::size_t end = words.size();
  while (end > 0 && words[end - 1] == 0) --end;
  std::size_t h = 0x9E3779B97F4A7C15ull;
  for (std::size_t i = 0; i < end; ++i) {
    h ^= std::hash<Word>()(words[i]) + 0x9E3779B97F4A7C15ull + (h << 6) +
         (h >> 2);
  }
  return h;
}

void AttributeSet::reserveFor(int id) {
  const auto needed = static_cast<std::size_t>(id / kWordBits + 1);
  if (needed > words.size()) words.resize(needed);
}

}  // namespace fdtools::design
