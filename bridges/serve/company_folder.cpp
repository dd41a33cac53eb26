#include "bridges/serve/company_folder.h"

#include <algorithm>

namespace brennock::serve {
namespace fs = std::filesystem;

namespace {

fs::path Canonical(const fs::path& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  if (ec) return {};
  fs::path canonical = fs::weakly_canonical(absolute, ec);
  return ec ? fs::path() : canonical;
}

}  // namespace

CompanyFolder::CompanyFolder(const std::string& root, std::string company)
    : company_(std::move(company)) {
  if (!root.empty())
    root_ = Canonical(root);
  else if (!company_.empty())
    root_ = Canonical(company_).parent_path();
}

std::optional<std::string> CompanyFolder::Resolve(const std::string& requested) const {
  if (requested.empty()) return company_;
  if (root_.empty()) return std::nullopt;
  fs::path path(requested);
  fs::path file = Canonical(path.is_absolute() ? path : root_ / path);
  if (file.empty()) return std::nullopt;
  // Inside: the folder's parts are a proper prefix of the file's.
  auto [rootEnd, fileAt] = std::mismatch(root_.begin(), root_.end(), file.begin(), file.end());
  if (rootEnd != root_.end() || fileAt == file.end()) return std::nullopt;
  return file.string();
}

}  // namespace brennock::serve
