#include "tests/architecture/link_graph.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

namespace brennock::testing {
namespace {

// From the ground up: a target links only targets of a lower rank (siblings do not link each
// other). Targets not listed (tests, benches, fuzzers) may link anything.
constexpr std::array<std::pair<std::string_view, int>, 7> kTargetRanks = {{
    {"brennock_core", 0},
    {"brennock_simulator", 1},
    {"brennock_remote", 1},
    {"brennock", 2},  // the umbrella a client links
    {"brennock_serve", 3},
    {"brennock_cli_core", 4},
    {"brennock_cli", 5},
}};

std::optional<int> RankOf(std::string_view target) {
  for (const auto& [name, rank] : kTargetRanks)
    if (name == target) return rank;
  return std::nullopt;
}

bool IsProjectTarget(std::string_view target) {
  return target.starts_with("brennock") || target.starts_with("tests_") ||
         target.starts_with("bench_") || target.starts_with("fuzz_");
}

}  // namespace

std::vector<LinkEdge> ReadLinkGraph(const std::string& path) {
  std::vector<LinkEdge> edges;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    LinkEdge edge;
    if (words >> edge.from >> edge.to) edges.push_back(std::move(edge));
  }
  return edges;
}

std::vector<std::string> UpwardLinks(const std::vector<LinkEdge>& edges) {
  std::vector<std::string> out;
  for (const LinkEdge& edge : edges) {
    const auto from = RankOf(edge.from);
    if (!from || !IsProjectTarget(edge.to)) continue;
    const auto to = RankOf(edge.to);
    if (!to || *to >= *from) out.push_back(edge.from + " -> " + edge.to);
  }
  return out;
}

}  // namespace brennock::testing
