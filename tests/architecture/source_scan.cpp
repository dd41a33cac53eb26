#include "tests/architecture/source_scan.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <tuple>

namespace brennock::testing {
namespace {

namespace fs = std::filesystem;

bool IsTopLevelCode(const std::string& line) {
  if (line.empty()) return false;
  const char first = line.front();
  return first != ' ' && first != '\t' && first != '/' && first != '#' && first != '}' &&
         first != '*';
}

// The class or struct names defined at the top level of the headers, with their layers.
std::map<std::string, std::set<size_t>> DefinedClasses(const std::vector<SourceFile>& files) {
  static const std::regex kDefinition(R"(^(?:class|struct)\s+(?:\[\[[^\]]*\]\]\s*)?(\w+)[^;]*$)");
  std::map<std::string, std::set<size_t>> out;
  for (const SourceFile& file : files) {
    if (!file.path.ends_with(".h")) continue;
    for (const std::string& line : file.lines) {
      std::smatch match;
      if (std::regex_match(line, match, kDefinition)) out[match[1]].insert(Rank(file.layer));
    }
  }
  return out;
}

// Whether every layer of `layers` is below `rank`.
bool AllBelow(const std::set<size_t>& layers, size_t rank) {
  return !layers.empty() && *layers.rbegin() < rank;
}

}  // namespace

size_t Rank(std::string_view folder) {
  return static_cast<size_t>(std::find(kLayers.begin(), kLayers.end(), folder) - kLayers.begin());
}

bool UpwardUse::operator<(const UpwardUse& other) const {
  return std::tie(file, line, name) < std::tie(other.file, other.line, other.name);
}

std::vector<SourceFile> LibrarySources(const fs::path& root) {
  std::vector<SourceFile> out;
  const fs::path library = root / "brennock";
  for (const auto& entry : fs::recursive_directory_iterator(library)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    const fs::path relative = fs::relative(entry.path(), library);
    std::vector<std::string> parts;
    for (const auto& part : relative) parts.push_back(part.string());
    if (parts.size() < 2) continue;  // the umbrella header and the version
    const std::string& layer = parts[0] == "internal" && parts.size() > 2 ? parts[1] : parts[0];
    SourceFile file{relative.generic_string(), layer, {}};
    std::ifstream in(entry.path());
    for (std::string line; std::getline(in, line);) file.lines.push_back(line);
    out.push_back(std::move(file));
  }
  std::sort(out.begin(), out.end(),
            [](const SourceFile& a, const SourceFile& b) { return a.path < b.path; });
  return out;
}

std::vector<UpwardUse> UpwardForwardDeclarations(const std::vector<SourceFile>& files) {
  static const std::regex kForward(R"(^(?:class|struct)\s+(\w+);.*$)");
  const auto defined = DefinedClasses(files);
  std::vector<UpwardUse> out;
  for (const SourceFile& file : files) {
    for (size_t i = 0; i < file.lines.size(); ++i) {
      std::smatch match;
      if (!std::regex_match(file.lines[i], match, kForward)) continue;
      const auto found = defined.find(match[1]);
      if (found == defined.end() || *found->second.begin() <= Rank(file.layer)) continue;
      out.push_back(
          {file.path, static_cast<int>(i + 1), match[1], "declares a class of a higher layer"});
    }
  }
  return out;
}

std::vector<UpwardUse> DeclaredLowDefinedHigh(const std::vector<SourceFile>& files) {
  // `Type Class::Member(` or `Type Function(` at the top level, the name right before the "(".
  static const std::regex kMember(R"(^[^(=;]*?\b(?:brennock::)?(\w+)::~?\w+\s*\(.*$)");
  static const std::regex kFunction(
      R"(^(?!return\b|using\b|namespace\b|template\b|static\b|extern\b)[\w:<>,*& ]+?\b(\w+)\(.*$)");
  const auto defined = DefinedClasses(files);
  std::map<std::string, std::set<size_t>> declaredFunctions;
  for (const SourceFile& file : files) {
    if (!file.path.ends_with(".h")) continue;
    for (const std::string& line : file.lines) {
      std::smatch match;
      if (IsTopLevelCode(line) && !std::regex_match(line, kMember) &&
          std::regex_match(line, match, kFunction)) {
        declaredFunctions[match[1]].insert(Rank(file.layer));
      }
    }
  }
  std::vector<UpwardUse> out;
  for (const SourceFile& file : files) {
    if (!file.path.ends_with(".cpp")) continue;
    const size_t rank = Rank(file.layer);
    bool anonymous = false;
    for (size_t i = 0; i < file.lines.size(); ++i) {
      const std::string& line = file.lines[i];
      if (line == "namespace {") anonymous = true;
      if (anonymous && line.starts_with("}  // namespace")) anonymous = false;
      if (anonymous || !IsTopLevelCode(line)) continue;
      std::smatch match;
      if (std::regex_match(line, match, kMember)) {
        const auto owner = defined.find(match[1]);
        if (owner != defined.end() && AllBelow(owner->second, rank))
          out.push_back({file.path, static_cast<int>(i + 1), match[1],
                         "defines a member of a class of a lower layer"});
      } else if (std::regex_match(line, match, kFunction)) {
        const auto declared = declaredFunctions.find(match[1]);
        if (declared != declaredFunctions.end() && AllBelow(declared->second, rank))
          out.push_back({file.path, static_cast<int>(i + 1), match[1],
                         "defines a function only a lower layer declares"});
      }
    }
  }
  return out;
}

}  // namespace brennock::testing
