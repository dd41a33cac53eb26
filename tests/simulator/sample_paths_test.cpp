// The simulator's answers carry what QuickBooks' own answers carry: every element path of the
// customers, accounts and inventory items in the public sample responses is in the sample
// business's records too.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "tests/simulator/simulator_fixture.h"

namespace brennock::testing {
namespace {

using Paths = std::set<std::string>;

void CollectPaths(pugi::xml_node node, const std::string& path, Paths& out) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string below = path + "/" + child.name();
    out.insert(below);
    CollectPaths(child, below, out);
  }
}

void Unescape(std::string& text) {
  for (auto [entity, plain] :
       {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}}) {
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
      text.replace(at, std::string_view(entity).size(), plain);
  }
}

// The paths below every <tag> record of the sample files; SOAP-wrapped answers are unescaped
// first, records that are not well-formed are passed over.
Paths SamplePaths(const std::string& tag) {
  Paths paths;
  const std::string open = "<" + tag + ">", close = "</" + tag + ">";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(*QbxmlDir() / "samples")) {
    if (!entry.is_regular_file()) continue;
    std::ifstream file(entry.path(), std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    std::string text = content.str();
    if (text.find("&lt;" + tag + "&gt;") != std::string::npos) Unescape(text);
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
      size_t end = text.find(close, at);
      if (end == std::string::npos) break;
      pugi::xml_document record;
      if (!record.load_string(text.substr(at, end + close.size() - at).c_str())) continue;
      CollectPaths(record.first_child(), tag, paths);
    }
  }
  return paths;
}

class SamplePathsTest : public SimulatorTest {
 protected:
  Paths SimulatorPaths(const std::string& kind) {
    Paths paths;
    pugi::xml_node rs = First("<" + kind + "QueryRq/>");
    const std::string ret = kind + "Ret";  // the children's iterator keeps the name
    for (pugi::xml_node record : rs.children(ret.c_str())) CollectPaths(record, ret, paths);
    return paths;
  }
};

TEST_F(SamplePathsTest, CustomersAccountsAndInventoryItemsCarryWhatQuickBooksSends) {
  BRENNOCK_REQUIRE_QBXML_DIR();
  for (std::string kind : {"Customer", "Account", "ItemInventory"}) {
    Paths real = SamplePaths(kind + "Ret");
    ASSERT_FALSE(real.empty()) << kind;
    Paths ours = SimulatorPaths(kind);
    for (const std::string& path : real) EXPECT_TRUE(ours.count(path)) << path;
  }
}

}  // namespace
}  // namespace brennock::testing
