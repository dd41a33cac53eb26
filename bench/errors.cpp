#include <benchmark/benchmark.h>

#include <string>

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/error_table.h"

namespace {

// One record's validation pass: clear the list, then file a few broken rules.
void BM_ValidateCycle(benchmark::State& state) {
  brennock::qcErrors errors;
  for (auto _ : state) {
    errors.Clear();
    brennock::AddTableError(errors, brennock::errNameTooLong, "Name");
    brennock::AddTableError(errors, brennock::errPhoneTooLong, "Phone");
    brennock::AddTableError(errors, brennock::errEmailTooLong, "Email");
    benchmark::DoNotOptimize(errors.Count());
  }
}
BENCHMARK(BM_ValidateCycle);

void BM_FindError(benchmark::State& state) {
  int32_t n = 1000;
  for (auto _ : state) {
    benchmark::DoNotOptimize(brennock::FindError(n));
    n = n == 2911 ? 1000 : n + 1;
  }
}
BENCHMARK(BM_FindError);

// Keyed lookups in a list of `range` entries filed with AddObject.
void BM_ItemByKey(benchmark::State& state) {
  brennock::qcErrors errors;
  const auto count = static_cast<int32_t>(state.range(0));
  for (int32_t i = 0; i < count; ++i) {
    errors.AddObject(std::make_shared<brennock::qcError>(i, "", "", "Key" + std::to_string(i)));
  }
  const std::string middle = "KEY" + std::to_string(count / 2);
  for (auto _ : state) benchmark::DoNotOptimize(errors.Item(middle));
}
BENCHMARK(BM_ItemByKey)->Arg(16)->Arg(1024);

}  // namespace
