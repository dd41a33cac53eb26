#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace brennock::testing {

// The folder of public qbXML schemas and samples: $BRENNOCK_QBXML_DIR, else the path CMake was
// configured with. Empty when the folder is absent (a user's fresh machine has none).
std::optional<std::filesystem::path> QbxmlDir();

// Reads a file below QbxmlDir() whole; throws std::runtime_error when it cannot be read.
std::string ReadQbxmlFile(const std::filesystem::path& relative);

}  // namespace brennock::testing

// Skips the current test, saying why, when the qbXML folder is missing.
#define BRENNOCK_REQUIRE_QBXML_DIR()                                                        \
  do {                                                                                      \
    if (!::brennock::testing::QbxmlDir()) GTEST_SKIP() << "qbXML samples folder not found"; \
  } while (0)
