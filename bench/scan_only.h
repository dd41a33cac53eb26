#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "brennock/internal/xml/element_tree.h"
#include "brennock/internal/xml/response_reader.h"

namespace brennock::bench {

// The direct reader alone on a query answer: every record's element scanned into its tree, no
// record made. What a load costs beyond this is making, filling and freeing records.
inline void ScanOnly(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    ResponseReader reader(text);
    ElementTree tree;
    size_t records = 0;
    if (reader.OpenFirstResponse()) {
      while (reader.NextRecord(tree)) ++records;
    }
    benchmark::DoNotOptimize(records);
    if (!reader.Finish()) state.SkipWithError("the reader declined the answer");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

}  // namespace brennock::bench
