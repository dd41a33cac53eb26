// A lower layer must not reach a higher one by the back door either: by naming a higher layer's
// class in a forward declaration, or by declaring a class or function whose code a higher layer
// writes. Where a lower layer needs a higher one it declares an interface and the higher layer
// registers the implementation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "tests/architecture/source_scan.h"
#include "tests/support/build_paths.h"

namespace brennock::testing {
namespace {

using ::testing::IsEmpty;

// Upward references that stay, each with its reason; the list only shrinks. The connection and
// the session state are the client's way into the whole object model: QBConnection hands out the
// company, the subscription collections and the export's database connection, and the request
// builder takes records (qcBase). Their headers name those classes without including them.
struct Known {
  std::string_view file;
  std::string_view name;
};
constexpr Known kKnownUpward[] = {
    {"session/qb_connection.h", "Company"},
    {"session/qb_connection.h", "UIExtensionSubscriptions"},
    {"session/qb_connection.h", "UISubscriptions"},
    {"session/qb_connection.h", "DataEventSubcriptions"},
    {"session/qb_connection.h", "SqlConnection"},
    {"session/session_state.h", "Company"},
    {"session/session_state.h", "SqlConnection"},
    {"session/company_loader.h", "Company"},
    {"session/subscription_factory.h", "UIExtensionSubscriptions"},
    {"session/subscription_factory.h", "UISubscriptions"},
    {"session/subscription_factory.h", "DataEventSubcriptions"},
    {"session/xml_bldr.h", "qcBase"},
    {"session/object_request_body.h", "qcBase"},
};

bool IsKnown(const UpwardUse& use) {
  // Files of the internal folder are known by their path without it.
  std::string_view file = use.file;
  if (file.starts_with("internal/")) file.remove_prefix(9);
  return std::any_of(std::begin(kKnownUpward), std::end(kKnownUpward), [&](const Known& known) {
    return known.file == file && known.name == use.name;
  });
}

std::vector<std::string> Unknown(const std::vector<UpwardUse>& uses) {
  std::vector<std::string> out;
  for (const UpwardUse& use : uses)
    if (!IsKnown(use))
      out.push_back(use.file + ":" + std::to_string(use.line) + " " + use.what + ": " + use.name);
  return out;
}

const std::vector<SourceFile>& Library() {
  static const std::vector<SourceFile> files = LibrarySources(SourceDir());
  return files;
}

TEST(UpwardDeclarations, NoLayerDeclaresAHigherLayersClass) {
  ASSERT_GT(Library().size(), 200u);
  EXPECT_THAT(Unknown(UpwardForwardDeclarations(Library())), IsEmpty());
}

TEST(UpwardDeclarations, NoLayerDeclaresWhatAHigherLayerDefines) {
  EXPECT_THAT(Unknown(DeclaredLowDefinedHigh(Library())), IsEmpty());
}

// Every known exception still occurs: one that was fixed leaves the list.
TEST(UpwardDeclarations, TheKnownExceptionsStillExist) {
  std::vector<UpwardUse> all = UpwardForwardDeclarations(Library());
  const auto defined = DeclaredLowDefinedHigh(Library());
  all.insert(all.end(), defined.begin(), defined.end());
  for (const Known& known : kKnownUpward) {
    EXPECT_TRUE(std::any_of(all.begin(), all.end(),
                            [&](const UpwardUse& use) {
                              return use.file.ends_with(known.file) && use.name == known.name;
                            }))
        << known.file << " " << known.name << " no longer reaches up: remove it from the list";
  }
}

SourceFile File(std::string path, std::vector<std::string> lines) {
  std::string layer = path.substr(0, path.find('/'));
  return {std::move(path), std::move(layer), std::move(lines)};
}

std::vector<std::string> Found(const std::vector<UpwardUse>& uses) {
  std::vector<std::string> out;
  for (const UpwardUse& use : uses) out.push_back(use.file + " " + use.name);
  return out;
}

TEST(UpwardDeclarations, TheScansFindEachFormOfUpwardDependency) {
  const std::vector<SourceFile> files = {
      File("session/loader.h",
           {"class Company;", "class XmlNode;", "Company* TheCompany();", "int Lookup(int key);"}),
      File("xml/xml_node.h", {"class XmlNode {", "};"}),
      File("company/company.h", {"class Company final : public qcBase {", "};"}),
      File("model/holder.h", {"class Holder {", " public:", "  void Save();", "};"}),
      File("company/holder.cpp",
           {"void Holder::Save() {", "}", "Company* TheCompany() {", "  return nullptr;", "}"}),
      // The same name in an anonymous namespace is the higher layer's own.
      File("company/helpers.cpp", {"namespace {", "int Lookup(int key) {", "}", "}  // namespace"}),
      // Defining in the own layer is fine.
      File("session/loader.cpp", {"int Lookup(int key) { return key; }"}),
  };
  EXPECT_THAT(Found(UpwardForwardDeclarations(files)),
              ::testing::ElementsAre("session/loader.h Company"));
  EXPECT_THAT(Found(DeclaredLowDefinedHigh(files)),
              ::testing::ElementsAre("company/holder.cpp Holder", "company/holder.cpp TheCompany"));
}

}  // namespace
}  // namespace brennock::testing
