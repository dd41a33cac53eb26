// Speed of the qbXML value conversions that every request and response goes through.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "brennock/internal/session/session_state.h"
#include "brennock/values/convert_dtypes.h"

namespace {

using namespace brennock;
using namespace brennock::ModConvertDtypes;

// A spread of values so that no single branch or digit count dominates.
std::vector<Currency> Amounts() {
  std::vector<Currency> values;
  for (int64_t i = 0; i < 1024; ++i)
    values.push_back(Currency::FromScaled(i * 7919 * 1237 - 5000000));
  return values;
}

void BM_AppendAmountText(benchmark::State& state) {
  const auto values = Amounts();
  std::string out;
  size_t i = 0;
  for (auto _ : state) {
    out.clear();
    AppendAmountText(out, values[i++ & 1023]);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_AppendAmountText);

void BM_AmountToText(benchmark::State& state) {
  const auto values = Amounts();
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(AmountToText(values[i++ & 1023]));
}
BENCHMARK(BM_AmountToText);

void BM_AppendPriceText(benchmark::State& state) {
  const auto values = Amounts();
  std::string out;
  size_t i = 0;
  for (auto _ : state) {
    out.clear();
    AppendPriceText(out, values[i++ & 1023]);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_AppendPriceText);

void BM_AppendQuantityTextSingle(benchmark::State& state) {
  std::vector<float> values;
  for (int i = 0; i < 1024; ++i) values.push_back(static_cast<float>(i) * 1.37f - 100.0f);
  std::string out;
  size_t i = 0;
  for (auto _ : state) {
    out.clear();
    AppendQuantityText(out, values[i++ & 1023]);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_AppendQuantityTextSingle);

void BM_AppendDateTimeText(benchmark::State& state) {
  Session().qbxmlVersionNumber = Currency(13);
  std::vector<Date> values;
  for (int i = 0; i < 1024; ++i) values.push_back(Date(38000.0 + i * 3.1415926));
  std::string out;
  size_t i = 0;
  for (auto _ : state) {
    out.clear();
    AppendDateTimeText(out, values[i++ & 1023]);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_AppendDateTimeText);

void BM_AmountInWords(benchmark::State& state) {
  const auto values = Amounts();
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(AmountInWords(values[i++ & 1023]));
}
BENCHMARK(BM_AmountInWords);

void BM_TextToCurrency(benchmark::State& state) {
  std::vector<std::string> texts;
  for (const Currency& c : Amounts()) texts.push_back(AmountToText(c));
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TextToCurrency(texts[i++ & 1023]));
}
BENCHMARK(BM_TextToCurrency);

void BM_TextToSingle(benchmark::State& state) {
  std::vector<std::string> texts;
  for (int i = 0; i < 1024; ++i) texts.push_back(std::to_string(i * 0.37) + "%");
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TextToSingle(texts[i++ & 1023]));
}
BENCHMARK(BM_TextToSingle);

void BM_TextToDateTime(benchmark::State& state) {
  const std::string texts[] = {"2005-03-04T10:11:12-08:00", "2019-12-31T23:59:59",
                               "1999-01-01T00:00:00+01:00", "2024-02-29T12:30:45"};
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TextToDate(texts[i++ & 3]));
}
BENCHMARK(BM_TextToDateTime);

void BM_TextToDate(benchmark::State& state) {
  const std::string texts[] = {"2005-03-04", "2019-12-31", "1999-01-01", "None"};
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TextToDate(texts[i++ & 3]));
}
BENCHMARK(BM_TextToDate);

void BM_TextToBool(benchmark::State& state) {
  const std::string texts[] = {"true", "false", "True", "0"};
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TextToBool(texts[i++ & 3]));
}
BENCHMARK(BM_TextToBool);

}  // namespace
