#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace brennock::serve {

// The company files remote sessions may open: the default company, and files inside one folder
// (symbolic links followed, so a link cannot lead out of it).
class CompanyFolder {
 public:
  // root empty: the folder of `company`; both empty: no file but the processor's default.
  CompanyFolder(const std::string& root, std::string company);

  // The path to open for what a session asked: the default company for an empty request, else
  // the file when it lies inside the folder (a relative path is taken from the folder). Nothing
  // when it lies outside.
  std::optional<std::string> Resolve(const std::string& requested) const;

 private:
  std::filesystem::path root_;  // canonical; empty: none
  std::string company_;
};

}  // namespace brennock::serve
