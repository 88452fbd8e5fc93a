// Benchmarks of the checker: closure per dependency-list entry, the
// preservation test, and whole fdcheck runs on generated inputs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "checker/DependencyTester.h"
#include "tests/support/InputGenerator.h"

namespace fdtools {
namespace {

using IdList = DependencyTester::IdList;

// A chain 0 -> 1 -> ... through every attribute, so that closure({0})
// derives everything, plus dependencies with two random left ids.
void fillChainedDependencies(DependencyTester& tester, int dependencies) {
  const int attributes = std::max(2, dependencies / 2);
  tester.attributeCount = attributes;
  tester.dependencyIds.clear();
  for (int a = 0; a + 1 < attributes; ++a) {
    tester.dependencyIds.push_back({IdList{a}, IdList{a + 1}});
  }
  std::uint64_t state = 12345;
  const auto random = [&] {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<int>((state >> 33) % attributes);
  };
  while (static_cast<int>(tester.dependencyIds.size()) < dependencies) {
    IdList left = {random(), random()};
    std::sort(left.begin(), left.end());
    tester.dependencyIds.push_back({left, IdList{random()}});
  }
}

std::int64_t entryCount(const DependencyTester& tester) {
  std::int64_t entries = 0;
  for (const auto& dependency : tester.dependencyIds) {
    entries +=
        static_cast<std::int64_t>(dependency[0].size() + dependency[1].size());
  }
  return entries;
}

void setPerEntry(benchmark::State& state, const DependencyTester& tester) {
  state.counters["per_entry"] =
      benchmark::Counter(static_cast<double>(entryCount(tester)),
                         benchmark::Counter::kIsIterationInvariantRate |
                             benchmark::Counter::kInvert);
}

// The floor for closure: one pass that reads every id of the list.
void BM_DependencyListPass(benchmark::State& state) {
  DependencyTester tester;
  fillChainedDependencies(tester, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (const auto& dependency : tester.dependencyIds) {
      for (const int id : dependency[0]) sum += id;
      for (const int id : dependency[1]) sum += id;
    }
    benchmark::DoNotOptimize(sum);
  }
  setPerEntry(state, tester);
}
BENCHMARK(BM_DependencyListPass)->Arg(1000)->Arg(10000)->Arg(100000);

void BM_Closure(benchmark::State& state) {
  DependencyTester tester;
  fillChainedDependencies(tester, static_cast<int>(state.range(0)));
  const IdList start = {0};
  for (auto _ : state) {
    benchmark::DoNotOptimize(tester.closure(start, tester.dependencyIds));
  }
  state.counters["per_entry"] =
      benchmark::Counter(static_cast<double>(entryCount(tester)),
                         benchmark::Counter::kIsIterationInvariantRate |
                             benchmark::Counter::kInvert);
}
BENCHMARK(BM_Closure)->Arg(1000)->Arg(10000)->Arg(100000);

void loadGenerated(DependencyTester& tester, const InputShape& shape) {
  tester.inputText << generateCheckerInput(shape);
  tester.parseSection(DependencyTester::kTableSection);
  tester.parseSection(DependencyTester::kDependencySection);
  tester.convertNamesToIntegers();
}

void BM_IsPreserved(benchmark::State& state) {
  DependencyTester tester;
  loadGenerated(tester, {static_cast<int>(state.range(0)),
                         static_cast<int>(state.range(1)),
                         static_cast<int>(state.range(2)), 1});
  for (auto _ : state) {
    for (const auto& dependency : tester.dependencyIds) {
      benchmark::DoNotOptimize(tester.isPreserved(dependency));
    }
  }
  state.counters["per_dependency"] =
      benchmark::Counter(static_cast<double>(tester.dependencyIds.size()),
                         benchmark::Counter::kIsIterationInvariantRate |
                             benchmark::Counter::kInvert);
}
BENCHMARK(BM_IsPreserved)
    ->Args({200, 400, 40})
    ->Args({1000, 2000, 100})
    ->Unit(benchmark::kMillisecond);

// The real binary, process start and file I/O included.
void BM_FdcheckRun(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "fdtools_bench";
  std::filesystem::create_directories(folder);
  const std::filesystem::path input = folder / "input.txt";
  std::ofstream(input, std::ios::binary) << generateCheckerInput(
      {static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
       static_cast<int>(state.range(2)), 1});
  const std::string command = std::string(FDCHECK_PATH) + " " + input.string() +
                              " " + (folder / "output.txt").string() +
                              " >/dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("run failed");
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FdcheckRun)
    ->Args({200, 400, 40})
    ->Args({1000, 2000, 100})
    ->Args({5000, 10000, 500})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
}  // namespace fdtools

BENCHMARK_MAIN();
