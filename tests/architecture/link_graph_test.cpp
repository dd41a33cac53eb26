// The build's targets link one way: the library, the processors on it, the umbrella a client
// links, then the server and the command. A cycle or an upward link fails here.
#include "tests/architecture/link_graph.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/support/build_paths.h"

namespace brennock::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(LinkGraph, TheBuildsTargetsLinkOnlyDownwards) {
  const std::string graph = std::string(BuildDir()) + "/link_graph.txt";
  const auto edges = ReadLinkGraph(graph);
  ASSERT_FALSE(edges.empty()) << "no link graph at " << graph;
  EXPECT_THAT(UpwardLinks(edges), IsEmpty());
  // The umbrella brings the default request processor and the remote one along.
  auto links = [&](std::string_view from, std::string_view to) {
    for (const LinkEdge& edge : edges)
      if (edge.from == from && edge.to == to) return true;
    return false;
  };
  EXPECT_TRUE(links("brennock", "brennock_simulator"));
  EXPECT_TRUE(links("brennock", "brennock_remote"));
  EXPECT_TRUE(links("brennock_simulator", "brennock_core"));
}

TEST(LinkGraph, UpwardSidewaysAndUnorderedLinksAreReported) {
  const std::vector<LinkEdge> edges = {
      {"brennock_simulator", "brennock_core"},         // fine
      {"brennock_core", "brennock_simulator"},         // the library reaching its processor
      {"brennock_core", "brennock"},                   // ... or the umbrella
      {"brennock_remote", "brennock_simulator"},       // siblings
      {"brennock_cli_core", "brennock_test_support"},  // a target outside the order
      {"brennock_core", "pugixml::pugixml"},           // third party: not ours to order
      {"tests_model", "brennock_cli_core"},            // tests may link anything
  };
  EXPECT_THAT(UpwardLinks(edges),
              ElementsAre("brennock_core -> brennock_simulator", "brennock_core -> brennock",
                          "brennock_remote -> brennock_simulator",
                          "brennock_cli_core -> brennock_test_support"));
}

}  // namespace
}  // namespace brennock::testing
