// The project's targets and the order in which they may link one another.
#pragma once

#include <string>
#include <vector>

namespace brennock::testing {

struct LinkEdge {
  std::string from;
  std::string to;
};

// The edges of the link graph file the build writes (one "target linked" pair a line).
std::vector<LinkEdge> ReadLinkGraph(const std::string& path);

// Edges from one of the library's targets to a target of the same or a higher rank, or to a
// project target outside the order; each as "from -> to".
std::vector<std::string> UpwardLinks(const std::vector<LinkEdge>& edges);

}  // namespace brennock::testing
