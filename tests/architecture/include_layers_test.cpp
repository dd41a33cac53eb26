// The library's folders are layers: a folder includes only itself and the folders below it, and
// the library never includes the simulator, the bridges or the command built on it. The order is
// the README's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/architecture/source_scan.h"
#include "tests/support/build_paths.h"

namespace brennock::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = SourceDir();

struct Include {
  std::string target;  // the path written between the quotes
  int line;
};

std::vector<Include> QuotedIncludes(const std::vector<std::string>& lines) {
  std::vector<Include> out;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view text(lines[i]);
    if (!text.starts_with("#include \"")) continue;
    text.remove_prefix(10);
    out.push_back({std::string(text.substr(0, text.find('"'))), static_cast<int>(i + 1)});
  }
  return out;
}

std::vector<std::string> LinesOf(const fs::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool NamesAHigherTarget(std::string_view include) {
  return include.starts_with("simulator/") || include.starts_with("cli/") ||
         include.starts_with("bridges/");
}

// The layer of an included library header: "brennock/model/x.h" and
// "brennock/internal/model/x.h" are both in "model"; empty for the umbrella and the version.
std::string LayerOf(std::string_view include) {
  include.remove_prefix(9);  // brennock/
  if (include.starts_with("internal/")) include.remove_prefix(9);
  const size_t slash = include.find('/');
  return slash == std::string_view::npos ? std::string() : std::string(include.substr(0, slash));
}

TEST(IncludeLayers, LibraryFoldersIncludeOnlyTheirOwnAndLowerFolders) {
  int checked = 0;
  for (const SourceFile& file : LibrarySources(kRoot)) {
    ASSERT_LT(Rank(file.layer), kLayers.size())
        << "folder missing from the layer order: " << file.path;
    for (const Include& include : QuotedIncludes(file.lines)) {
      ++checked;
      EXPECT_FALSE(NamesAHigherTarget(include.target))
          << file.path << ":" << include.line << " includes " << include.target;
      if (!include.target.starts_with("brennock/")) continue;
      const std::string layer = LayerOf(include.target);
      if (layer.empty()) continue;
      EXPECT_LE(Rank(layer), Rank(file.layer))
          << file.path << ":" << include.line << " includes the higher layer " << include.target;
    }
  }
  EXPECT_GT(checked, 500) << "the library's sources were not found below " << kRoot;
}

// A client that wants the simulator's own API includes it by name; the umbrella brings only the
// library.
TEST(IncludeLayers, TheUmbrellaHeaderIncludesOnlyTheLibrary) {
  const auto lines = LinesOf(kRoot / "brennock" / "brennock.h");
  ASSERT_FALSE(lines.empty());
  for (const Include& include : QuotedIncludes(lines))
    EXPECT_TRUE(include.target.starts_with("brennock/"))
        << "brennock.h:" << include.line << " includes " << include.target;
}

TEST(IncludeLayers, TheSimulatorDoesNotIncludeTheCommand) {
  for (const auto& entry : fs::recursive_directory_iterator(kRoot / "simulator")) {
    if (!entry.is_regular_file()) continue;
    for (const Include& include : QuotedIncludes(LinesOf(entry.path()))) {
      EXPECT_FALSE(include.target.starts_with("cli/"))
          << fs::relative(entry.path(), kRoot).string() << ":" << include.line;
    }
  }
}

}  // namespace
}  // namespace brennock::testing
