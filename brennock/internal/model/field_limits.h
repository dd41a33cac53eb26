#pragma once

#include <string_view>

namespace brennock {

// True when value has more characters (UTF-8 code points) than the qbXML catalogue allows the
// element in that aggregate ("ToDoAdd", "Notes"). An element the catalogue does not limit is never
// too long.
bool TooLong(std::string_view value, std::string_view aggregate, std::string_view element);

}  // namespace brennock
