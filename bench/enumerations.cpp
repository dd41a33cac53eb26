// Cost of building a thread's enumeration tables (paid when the first object is created on a
// thread) and of the lookups request building and response reading do per element.

#include "brennock/enums/enumerations.h"

#include <benchmark/benchmark.h>

#include "brennock/enums/enum_types.h"

namespace {

using namespace brennock;

void BM_BuildAllTables(benchmark::State& state) {
  for (auto _ : state) {
    Enumerations registry;
    BuildEnumerationTables(registry);
    benchmark::DoNotOptimize(registry.Count());
  }
}
BENCHMARK(BM_BuildAllTables);

void BM_ObjectTypeStem(benchmark::State& state) {
  auto types = ThreadEnumerations()->Item(qoeObjectType);
  for (auto _ : state) {
    benchmark::DoNotOptimize(types->ItemByCode(qoObjectTypeBuildAssembly)->CollectionKey());
  }
}
BENCHMARK(BM_ObjectTypeStem);

void BM_CodeToXmlText(benchmark::State& state) {
  ThreadEnumerations();
  for (auto _ : state) {
    benchmark::DoNotOptimize(EnumCodeToXmlText(qoeReportField, qbReportFieldUnitOfMeasureUnit));
  }
}
BENCHMARK(BM_CodeToXmlText);

void BM_TextToCode(benchmark::State& state) {
  ThreadEnumerations();
  for (auto _ : state) {
    benchmark::DoNotOptimize(EnumTextToCode("UnitOfMeasureUnit", qoeReportField));
  }
}
BENCHMARK(BM_TextToCode);

void BM_KeyWithBlanks(benchmark::State& state) {
  auto fields = ThreadEnumerations()->Item(qoeReportField);
  for (auto _ : state) {
    benchmark::DoNotOptimize(fields->Item("Unit Of Measure Unit"));
  }
}
BENCHMARK(BM_KeyWithBlanks);

}  // namespace
