#include "brennock/session/app_data_folder.h"

#include <cstdlib>

namespace brennock {

std::string CommonAppDataFolder() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') return xdg;
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return std::string(home) + "/.local/share";
  }
  return {};
}

}  // namespace brennock
