// Reading the library's sources as the architecture tests need them: its folders in layer order,
// and the declarations and definitions written at the top level of its files.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace brennock::testing {

// The library's folders from the ground up, as in the README.
inline constexpr std::array<std::string_view, 16> kLayers = {
    "util",  "errors", "values", "xml",          "enums",   "qbxml",    "session", "model",
    "lists", "items",  "events", "transactions", "reports", "registry", "company", "database"};

// Position of a library folder in kLayers; kLayers.size() for a folder the order does not know.
size_t Rank(std::string_view folder);

// A file of the library: its path below brennock/ ("model/qc_base.h"), its layer and its lines.
struct SourceFile {
  std::string path;
  std::string layer;
  std::vector<std::string> lines;
};

// Every .h and .cpp below root/brennock inside a layer folder (the umbrella header and the
// internal folder's layers included: brennock/internal/model/x.h is in layer "model").
std::vector<SourceFile> LibrarySources(const std::filesystem::path& root);

// An upward dependency found in the sources: the file, its line, and the class or function.
struct UpwardUse {
  std::string file;
  int line;
  std::string name;
  std::string what;  // how the dependency is expressed, for the message
  bool operator<(const UpwardUse& other) const;
};

// Classes declared in a lower layer's file while their definition sits in a higher layer's header
// (`class Company;` in session/).
std::vector<UpwardUse> UpwardForwardDeclarations(const std::vector<SourceFile>& files);
// Functions declared in a lower layer's header and defined in a higher layer's source: member
// functions of a class defined low (`void xmlBldr::Insert...` in model/), and free functions that
// only lower headers declare.
std::vector<UpwardUse> DeclaredLowDefinedHigh(const std::vector<SourceFile>& files);

}  // namespace brennock::testing
