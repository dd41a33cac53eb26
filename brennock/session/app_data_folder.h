#pragma once

#include <string>

namespace brennock {

// The folder shared by all users' application data: $XDG_DATA_HOME, else ~/.local/share. Empty when
// neither variable is set. The folder is not created.
std::string CommonAppDataFolder();

}  // namespace brennock
