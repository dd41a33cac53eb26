#pragma once

#include "brennock/values/currency.h"

namespace brennock {

// Where SessionQbxmlVersion (convert_dtypes.h) reads this thread's session version from. The
// session layer registers it when the program starts; without one the version is 0, as it is
// before a session opens.
using QbxmlVersionSource = Currency (*)();
void RegisterQbxmlVersionSource(QbxmlVersionSource source) noexcept;

}  // namespace brennock
