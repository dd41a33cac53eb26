#pragma once

#include <string>
#include <string_view>

namespace brennock {

// The value of `key` in `[section]` of an INI file, as Windows profile files are read: section and
// key names compare without regard to ASCII case, blanks around names and values are dropped, one
// pair of quotes around a value is removed, and lines starting with ';' or '#' are comments. The
// first matching key wins. Empty when the file cannot be read or
// holds no such key.
std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key);

}  // namespace brennock
