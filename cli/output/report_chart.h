#pragma once

#include <string>
#include <vector>

namespace brennock::cli {

// What a chart shows of a report: one bar group per row, one value per figure column.
struct ChartData {
  std::string title, subtitle;
  std::vector<std::string> series;  // the figure columns' titles
  struct Bar {
    std::string label;
    std::vector<double> values;  // one per series
  };
  std::vector<Bar> bars;
  bool stacked = false;  // aging buckets add up to the row's total
};

// A standalone SVG document: horizontal bars (grouped, or stacked), a legend and the titles.
std::string RenderSvgChart(const ChartData& chart);

}  // namespace brennock::cli
