// Benchmarks of the design engine on generated inputs: the preservation
// test, the minimal cover and key enumeration, each without reading the
// file or writing an answer.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "design/Audit.h"
#include "design/InputFormat.h"
#include "design/Multivalued.h"
#include "design/Schema.h"
#include "tests/support/InputGenerator.h"

namespace fdtools {
namespace {

design::Schema schemaOf(const std::string& text) {
  design::ParsedInput input;
  design::ParseError error;
  if (!design::parseInput(text, input, error)) std::abort();
  return design::Schema(input.tables, input.dependencies);
}

design::Schema generated(int attributes, int dependencies, int tables,
                         int chainTables) {
  InputShape shape;
  shape.attributes = attributes;
  shape.dependencies = dependencies;
  shape.tables = tables;
  shape.chainTables = chainTables;
  return schemaOf(generateCheckerInput(shape));
}

// Arguments: attributes, dependencies, tables, tables per chain.
void BM_Preserve(benchmark::State& state) {
  const design::Schema schema = generated(
      static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
      static_cast<int>(state.range(2)), static_cast<int>(state.range(3)));
  for (auto _ : state) {
    design::Audit audit(schema);
    benchmark::DoNotOptimize(audit.preservation());
  }
}
BENCHMARK(BM_Preserve)
    ->Args({1000, 2000, 100, 100})
    ->Args({5000, 10000, 500, 4})
    ->Unit(benchmark::kMillisecond);

void BM_Cover(benchmark::State& state) {
  const design::Schema schema = generated(5000, 10000, 500, 4);
  for (auto _ : state) {
    design::Audit audit(schema);
    benchmark::DoNotOptimize(audit.cover());
  }
}
BENCHMARK(BM_Cover)->Unit(benchmark::kMillisecond);

// A1..An, B1..Bn with Ai->Bi and Bi->Ai: 2^n keys.
void BM_KeysOfPairs(benchmark::State& state) {
  std::string text = "\n";
  for (int i = 1; i <= state.range(0); ++i) {
    const std::string n = std::to_string(i);
    text += "A" + n + "->B" + n + "\nB" + n + "->A" + n + "\n";
  }
  const design::Schema schema = schemaOf(text);
  for (auto _ : state) {
    design::Audit audit(schema);
    benchmark::DoNotOptimize(audit.keys());
  }
}
BENCHMARK(BM_KeysOfPairs)->Arg(10)->Unit(benchmark::kMillisecond);

// A generated input with every dependency read as an MVD. Arguments:
// attributes, MVDs; the basis of the first MVD's left side, and of the
// empty set.
void BM_DependencyBasis(benchmark::State& state) {
  InputShape shape;
  shape.attributes = static_cast<int>(state.range(0));
  shape.dependencies = static_cast<int>(state.range(1));
  shape.tables = 1;
  design::ParsedInput input;
  design::ParseError error;
  if (!design::parseInput(generateCheckerInput(shape), input, error)) {
    std::abort();
  }
  for (design::NamedDependency& dependency : input.dependencies) {
    dependency.multivalued = true;
  }
  const design::Schema schema(input.tables, input.dependencies);
  const design::MixedImplication implication(schema.attributeCount(), {},
                                             schema.multivalued());
  const design::AttributeSet x = schema.multivalued().front().left;
  const design::AttributeSet none(schema.attributeCount());
  for (auto _ : state) {
    benchmark::DoNotOptimize(implication.basis(x));
    benchmark::DoNotOptimize(implication.basis(none));
  }
}
BENCHMARK(BM_DependencyBasis)
    ->Args({200, 400})
    ->Args({2000, 4000})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fdtools

BENCHMARK_MAIN();
