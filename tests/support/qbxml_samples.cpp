#include "tests/support/qbxml_samples.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/support/build_paths.h"

namespace brennock::testing {

std::optional<std::filesystem::path> QbxmlDir() {
  const char* env = std::getenv("BRENNOCK_QBXML_DIR");
  std::filesystem::path dir = env && *env ? env : QbxmlDirDefault();
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) return std::nullopt;
  return dir;
}

std::string ReadQbxmlFile(const std::filesystem::path& relative) {
  auto dir = QbxmlDir();
  if (!dir) throw std::runtime_error("qbXML samples folder not found");
  std::ifstream in(*dir / relative, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + (*dir / relative).string());
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace brennock::testing
