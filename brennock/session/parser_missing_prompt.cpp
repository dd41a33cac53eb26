#include "brennock/internal/session/parser_missing_prompt.h"

#include <cstdio>

namespace brennock {
namespace {

constexpr const char* kExplanation =
    "The installation of the Microsoft XML Parser version 4.0 is either missing or corrupted.  "
    "This application will not function until the parser installation has been corrected.  Click "
    "on the following link to upgrade your installation and then select \"Open\" when prompted.  "
    "After upgrading your parser installation you will need to restart this application.";
constexpr const char* kLinkText = "Upgrade installation of the Microsoft XML 4.0 Parser";
// On this platform the parser is pugixml, installed with the library's packages.
constexpr const char* kDownloadAddress = "https://pugixml.org/";

}  // namespace

void ShowParserMissingPrompt() {
  std::fprintf(stderr, "%s\n%s: %s\n", kExplanation, kLinkText, kDownloadAddress);
  std::fflush(stderr);
}

}  // namespace brennock
