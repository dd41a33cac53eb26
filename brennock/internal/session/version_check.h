#pragma once

#include <cstdint>

namespace brennock {

// For features that need a newer qbXML than some sessions speak: raises vbObjectError + 1005 "The
// version of QuickBooks you are running does not support this feature." (source "Brennock") when
// this thread's session version number is below `minimumVersion`.
void RequireQbxmlVersion(int32_t minimumVersion);

}  // namespace brennock
