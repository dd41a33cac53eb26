// The library's folders are layers: a folder includes only itself and the folders below it, and
// the library never includes the simulator or the command built on it. The order is the README's.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace brennock::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 16> kLayers = {
    "util",  "errors", "values", "xml",          "enums",   "qbxml",    "session", "model",
    "lists", "items",  "events", "transactions", "reports", "registry", "company", "database"};

// Position of a library folder in kLayers; kLayers.size() for a folder the order does not know.
size_t Rank(std::string_view folder) {
  return static_cast<size_t>(std::find(kLayers.begin(), kLayers.end(), folder) - kLayers.begin());
}

struct Include {
  std::string target;  // the path written between the quotes
  int line;
};

std::vector<Include> QuotedIncludes(const fs::path& file) {
  std::vector<Include> out;
  std::ifstream in(file);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::string_view text(line);
    if (!text.starts_with("#include \"")) continue;
    text.remove_prefix(10);
    out.push_back({std::string(text.substr(0, text.find('"'))), number});
  }
  return out;
}

std::vector<fs::path> SourcesBelow(const fs::path& folder) {
  std::vector<fs::path> out;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const auto ext = entry.path().extension();
    if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp")) out.push_back(entry.path());
  }
  return out;
}

const fs::path kRoot = BRENNOCK_SOURCE_DIR;

TEST(IncludeLayers, LibraryFoldersIncludeOnlyTheirOwnAndLowerFolders) {
  int checked = 0;
  for (const fs::path& file : SourcesBelow(kRoot / "brennock")) {
    const fs::path relative = fs::relative(file, kRoot / "brennock");
    if (std::distance(relative.begin(), relative.end()) < 2) continue;  // umbrella and version
    const std::string folder = relative.begin()->string();
    ASSERT_LT(Rank(folder), kLayers.size()) << "folder missing from the layer order: " << folder;
    for (const Include& include : QuotedIncludes(file)) {
      ++checked;
      const std::string_view target = include.target;
      EXPECT_FALSE(target.starts_with("simulator/") || target.starts_with("cli/") ||
                   target.starts_with("bridges/"))
          << relative.string() << ":" << include.line << " includes " << target;
      if (!target.starts_with("brennock/")) continue;
      const fs::path inside(target.substr(9));
      if (std::distance(inside.begin(), inside.end()) < 2) continue;
      EXPECT_LE(Rank(inside.begin()->string()), Rank(folder))
          << relative.string() << ":" << include.line << " includes the higher layer " << target;
    }
  }
  EXPECT_GT(checked, 500) << "the library's sources were not found below " << kRoot;
}

TEST(IncludeLayers, TheSimulatorDoesNotIncludeTheCommand) {
  for (const fs::path& file : SourcesBelow(kRoot / "simulator")) {
    for (const Include& include : QuotedIncludes(file)) {
      EXPECT_FALSE(include.target.starts_with("cli/"))
          << fs::relative(file, kRoot).string() << ":" << include.line;
    }
  }
}

}  // namespace
}  // namespace brennock::testing
