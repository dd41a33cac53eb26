#include "cli/output/report_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace brennock::cli {

namespace {

constexpr const char* kColours[] = {"#4e79a7", "#f28e2b", "#e15759", "#76b7b2",
                                    "#59a14f", "#edc948", "#b07aa1", "#ff9da7"};

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
    }
  }
  return out;
}

std::string Number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", value);
  return buffer;
}

std::string Amount(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  return buffer;
}

}  // namespace

std::string RenderSvgChart(const ChartData& chart) {
  const double label_width = 220, plot_width = 520, bar_height = 14, gap = 10, top = 70;
  const size_t series = std::max<size_t>(chart.series.size(), 1);
  const double group_height = chart.stacked ? bar_height : bar_height * static_cast<double>(series);
  // The scale runs from the most negative to the largest figure (or stacked sum).
  double low = 0, high = 0;
  for (const auto& bar : chart.bars) {
    double positive = 0, negative = 0;
    for (double v : bar.values) {
      if (chart.stacked)
        (v >= 0 ? positive : negative) += v;
      else
        high = std::max(high, v), low = std::min(low, v);
    }
    high = std::max(high, positive);
    low = std::min(low, negative);
  }
  if (high - low < 0.01) high = low + 1;
  auto x = [&](double v) { return label_width + (v - low) / (high - low) * plot_width; };
  const double height =
      top + static_cast<double>(chart.bars.size()) * (group_height + gap) + 40 + 18 * series;
  std::string out;
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
         Number(label_width + plot_width + 40) + "\" height=\"" + Number(height) +
         "\" viewBox=\"0 0 " + Number(label_width + plot_width + 40) + " " + Number(height) +
         "\" font-family=\"sans-serif\" font-size=\"12\">\n";
  out += "<title>" + Escaped(chart.title) + "</title>\n";
  out += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  out += "<text x=\"10\" y=\"24\" font-size=\"18\" font-weight=\"bold\">" + Escaped(chart.title) +
         "</text>\n";
  out += "<text x=\"10\" y=\"44\" fill=\"#555\">" + Escaped(chart.subtitle) + "</text>\n";
  out += "<line x1=\"" + Number(x(0)) + "\" y1=\"" + Number(top - 6) + "\" x2=\"" + Number(x(0)) +
         "\" y2=\"" + Number(height - 40 - 18 * series) + "\" stroke=\"#999\"/>\n";
  double y = top;
  for (const auto& bar : chart.bars) {
    out += "<text x=\"" + Number(label_width - 6) + "\" y=\"" + Number(y + group_height / 2 + 4) +
           "\" text-anchor=\"end\">" + Escaped(bar.label) + "</text>\n";
    double positive = 0, negative = 0;
    for (size_t s = 0; s < bar.values.size(); ++s) {
      const double v = bar.values[s];
      double from = 0, to = v,
             row_y = y + (chart.stacked ? 0 : bar_height * static_cast<double>(s));
      if (chart.stacked) {
        double& base = v >= 0 ? positive : negative;
        from = base;
        to = base + v;
        base = to;
      }
      const double x1 = std::min(x(from), x(to)), x2 = std::max(x(from), x(to));
      out += "<rect x=\"" + Number(x1) + "\" y=\"" + Number(row_y) + "\" width=\"" +
             Number(std::max(x2 - x1, 0.5)) + "\" height=\"" + Number(bar_height - 2) +
             "\" fill=\"" + kColours[s % 8] + "\"><title>" +
             Escaped(bar.label + ", " + (s < chart.series.size() ? chart.series[s] : "") + ": " +
                     Amount(v)) +
             "</title></rect>\n";
    }
    y += group_height + gap;
  }
  y += 20;
  for (size_t s = 0; s < chart.series.size(); ++s, y += 18) {
    out += "<rect x=\"" + Number(label_width) + "\" y=\"" + Number(y - 10) +
           "\" width=\"12\" height=\"12\" fill=\"" + kColours[s % 8] + "\"/>\n";
    out += "<text x=\"" + Number(label_width + 18) + "\" y=\"" + Number(y) + "\">" +
           Escaped(chart.series[s]) + "</text>\n";
  }
  out += "</svg>\n";
  return out;
}

}  // namespace brennock::cli
