#include "tests/support/InputGenerator.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace fdtools {
namespace {

// A fixed generator (splitmix64), so the same shape gives the same bytes
// with every standard library.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state(seed) {}

  int below(int bound) {
    return static_cast<int>(next() % static_cast<std::uint64_t>(bound));
  }

  template <typename T>
  void shuffle(std::vector<T>& items) {
    for (std::size_t i = items.size(); i > 1; --i) {
      std::swap(items[i - 1], items[below(static_cast<int>(i))]);
    }
  }

 private:
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  std::uint64_t state;
};

using Ids = std::vector<int>;
using Dependency = std::pair<Ids, Ids>;

int tableStep(int attributes, int tables);

std::vector<Ids> tableWindows(int attributes, int tables) {
  const int step = tableStep(attributes, tables);
  std::vector<Ids> windows;
  for (int t = 0; t < tables; ++t) {
    const int first = std::min(t * step, attributes - 2);
    const int last = (t == tables - 1) ? attributes - 1
                                       : std::min(first + step, attributes - 1);
    Ids window;
    for (int a = first; a <= last; ++a) window.push_back(a);
    windows.push_back(window);
  }
  return windows;
}

int tableStep(int attributes, int tables) {
  return std::max(1, (attributes - 1 + tables - 1) / tables);
}

std::vector<Dependency> dependenciesFor(const InputShape& shape,
                                        const std::vector<Ids>& windows,
                                        Random& random) {
  const int chainLength =
      std::max(2, std::max(1, shape.chainTables) *
                      tableStep(shape.attributes, shape.tables));
  const auto chainEnd = [&](int a) {
    return std::min(shape.attributes - 1, (a / chainLength + 1) * chainLength);
  };
  std::vector<Dependency> dependencies;
  for (int a = 0; a + 1 < shape.attributes; ++a) {
    if (a + 1 < chainEnd(a) || a + 1 == shape.attributes - 1) {
      dependencies.push_back({{a}, {a + 1}});
    }
  }
  const int remaining =
      std::max(0, shape.dependencies - static_cast<int>(dependencies.size()));
  for (int i = 0; i < remaining; ++i) {
    const int from = random.below(shape.attributes - 1);
    const int reach = chainEnd(from) - 1 - from;
    if (i % 2 == 0 && reach > 0) {
      dependencies.push_back({{from}, {from + 1 + random.below(reach)}});
      continue;
    }
    const Ids& window = windows[random.below(static_cast<int>(windows.size()))];
    const auto pick = [&] {
      return window[random.below(static_cast<int>(window.size()))];
    };
    Ids left = {pick(), pick()};
    std::sort(left.begin(), left.end());
    left.erase(std::unique(left.begin(), left.end()), left.end());
    dependencies.push_back({left, {pick()}});
  }
  return dependencies;
}

void appendNames(std::string& text, const Ids& ids) {
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (i > 0) text += ',';
    text += 'a' + std::to_string(ids[i]);
  }
}

}  // namespace

std::string generateCheckerInput(const InputShape& requested) {
  InputShape shape = requested;
  shape.attributes = std::max(2, shape.attributes);
  shape.tables = std::max(1, shape.tables);
  Random random(shape.seed);
  std::vector<Ids> windows = tableWindows(shape.attributes, shape.tables);
  std::vector<Dependency> dependencies =
      dependenciesFor(shape, windows, random);
  random.shuffle(windows);
  random.shuffle(dependencies);

  std::string text;
  for (const Ids& window : windows) {
    appendNames(text, window);
    text += '\n';
  }
  text += '\n';
  for (const auto& [left, right] : dependencies) {
    appendNames(text, left);
    text += "->";
    appendNames(text, right);
    text += '\n';
  }
  return text;
}

}  // namespace fdtools
